#include "addressbook/FirmCard.h"

#include "addressbook/AresClient.h"
#include "addressbook/PostCodeList.h"
#include "catalogue/LockedRecords.h"
#include "core/Database.h"
#include "core/ProgressScope.h"
#include "core/UserInteraction.h"
#include "services/AccessRights.h"
#include "services/RecordRefresh.h"
#include "services/SharedDocuments.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>

#include <set>

namespace orvento::addressbook {

namespace {

using catalogue::CardOutcome;
using services::Module;
using services::ModuleAction;
using services::RecordAccess;

const QString kFirms = QStringLiteral("Adresar");
const QString kAresWait = QStringLiteral("Načítání adresy z registru ARES\nprosím čekejte...");

QString registerFailedMessage(const AresRecord& record) {
    return QStringLiteral("Adresu z internetu nelze načíst: %1").arg(record.error);
}

// Writes a firm's detail rows: the stored ones dropped from the working copy are deleted,
// rows without an ID (below 1) inserted and given theirs, the others updated.
template <class Row>
bool writeDetailRows(core::Database& db, bool existing, qint64 firmId, std::vector<Row>& rows,
                     const core::RecordMapping<Row>& mapping, qint64 Row::*rowId) {
    const core::SqlParams owner = {{QStringLiteral("CisloAdr"), firmId}};
    if (existing) {
        std::set<qint64> kept;
        for (const Row& row : rows)
            if (row.*rowId >= 1)
                kept.insert(row.*rowId);
        QSqlQuery stored = db.select(QStringLiteral("SELECT ID FROM ") + mapping.table() +
                                         QStringLiteral(" WHERE CisloAdr = :CisloAdr"),
                                     owner);
        if (!stored.isActive())
            return false;
        std::vector<qint64> dropped;
        while (stored.next())
            if (!kept.contains(stored.value(0).toLongLong()))
                dropped.push_back(stored.value(0).toLongLong());
        stored.finish();
        for (const qint64 id : dropped)
            if (!db.execute(QStringLiteral("DELETE FROM ") + mapping.table() +
                                QStringLiteral(" WHERE ID = :ID"),
                            {{QStringLiteral("ID"), id}}))
                return false;
    }
    const QString insertSql = insertWithOwnerSql(mapping);
    for (Row& row : rows) {
        clipTexts(row);
        bool ok = false;
        if (row.*rowId < 1) {
            core::SqlParams params = mapping.params(row);
            params.emplace_back(QStringLiteral("CisloAdr"), firmId);
            ok = db.execute(insertSql, params);
            row.*rowId = db.newRowId();
        } else {
            ok = mapping.update(db, row, row.*rowId);
        }
        if (!ok)
            return false;
    }
    return true;
}

bool firmExists(core::Database& db, qint64 id) {
    return db
        .scalar(QStringLiteral("SELECT ID FROM Adresar WHERE ID = :ID"),
                {{QStringLiteral("ID"), id}})
        .has_value();
}

} // namespace

FirmCard::FirmCard(core::Database& agenda, core::Database& global, core::UserInteraction& ui)
    : m_db(agenda)
    , m_global(global)
    , m_ui(ui) {}

QStringList FirmCard::titlesBefore() {
    return {QStringLiteral("Doc."),  QStringLiteral("Dr."),    QStringLiteral("Ing."),
            QStringLiteral("JUDr."), QStringLiteral("Mgr."),   QStringLiteral("MUDr."),
            QStringLiteral("MVDr."), QStringLiteral("PaeDr."), QStringLiteral("PhMr."),
            QStringLiteral("Prof."), QStringLiteral("PhDr."),  QStringLiteral("RNDr."),
            QStringLiteral("RSDr.")};
}

QStringList FirmCard::titlesAfter() {
    return {QStringLiteral("CSc."), QStringLiteral("DrSc.")};
}

bool FirmCard::open(FirmCardMode mode, qint64 firmId) {
    m_mode = mode;
    m_firm = Firm{};
    m_contacts.clear();
    m_documents.clear();
    m_lock.release();
    m_editable = true;
    m_readOnlyRights = false;
    if (mode == FirmCardMode::New || mode == FirmCardMode::Copy) {
        if (!services::checkModule(Module::Adresar, ModuleAction::Create, m_ui))
            return false;
    } else {
        const RecordAccess access = services::openRecord(Module::Adresar, m_ui);
        if (access == RecordAccess::Denied)
            return false;
        m_readOnlyRights = access == RecordAccess::ReadOnly;
        m_editable = !m_readOnlyRights && mode == FirmCardMode::Edit;
    }
    if (mode == FirmCardMode::New)
        return true;

    // The lock before the firm: another workstation that held it may commit while this one
    // waits for it, and the card must edit what it committed.
    if (mode == FirmCardMode::Edit && m_editable) {
        const auto lockedElsewhere =
            catalogue::lockForCard(kFirms, firmId, RecordAccess::Editable, m_ui, m_lock);
        if (!lockedElsewhere)
            return false;
        m_editable = !*lockedElsewhere;
    }
    core::ProgressScope wait(m_ui, QStringLiteral("Načítám adresu\nprosím čekejte..."), 0, false);
    const std::optional<Firm> stored = readFirm(m_db, firmId);
    if (!stored) {
        wait.end();
        m_lock.release();
        if (mode == FirmCardMode::View)
            m_ui.warning(
                QStringLiteral("Detail nelze zobrazit - adresa již byla smazána z adresáře."));
        else
            m_ui.warning(services::recordGoneMessage());
        return false;
    }
    const bool asNew = mode == FirmCardMode::Copy;
    auto contacts = readContacts(m_db, firmId, asNew);
    auto documents = readDocuments(m_db, firmId, asNew);
    if (!contacts || !documents) {
        m_ui.warning(services::recordGoneMessage());
        return false;
    }
    m_firm = *stored;
    m_contacts = std::move(*contacts);
    m_documents = std::move(*documents);
    if (asNew) {
        // The new firm gets its own copies of the files in the source firm's shared folder.
        m_firm.ID = -1;
        for (FirmDocument& document : m_documents) {
            if (services::isSharedLink(document.File)) {
                document.File = resolveLink(document.File, firmId);
                document.CopyFile = true;
            }
        }
    }
    return true;
}

QString FirmCard::caption() const {
    const QString base = QStringLiteral("Karta adresy");
    return viewOnly() ? base + QStringLiteral(" - prohlížení") : base;
}

void FirmCard::completePlace(const QString& psc, QString& misto) const {
    if (psc.trimmed().isEmpty() || !misto.trimmed().isEmpty())
        return;
    misto = placeOfPostCode(m_global, psc);
}

bool FirmCard::takePostCode(qint64 mistaId, QString& psc, QString& misto) const {
    QSqlQuery q = m_global.select(QStringLiteral("SELECT PSC, Misto FROM Mista WHERE ID = :ID"),
                                  {{QStringLiteral("ID"), mistaId}});
    if (!q.next())
        return false;
    psc = q.value(0).toString();
    misto = q.value(1).toString();
    return true;
}

AresRecord FirmCard::queryRegister(const QString& ico) {
    core::ProgressScope wait(m_ui, kAresWait, 0, false);
    return queryAres(AresService::configured(), ico, wait);
}

bool FirmCard::registerCommand(const AresConfirmation& confirm) {
    if (!m_editable)
        return false;
    if (m_firm.ICO.trimmed().isEmpty()) {
        m_ui.information(QStringLiteral("Chcete-li načíst/ověřit adresu z internetového registru "
                                        "ARES, zadejte nejprve IČ."));
        return false;
    }
    if (m_firm.Nazev.trimmed().isEmpty())
        return loadFromRegister(m_firm.ICO);
    return verifyWithRegister(confirm);
}

bool FirmCard::loadFromRegister(const QString& ico) {
    if (!m_editable)
        return false;
    const AresRecord found = queryRegister(ico);
    if (!found.found()) {
        m_ui.warning(registerFailedMessage(found));
        m_firm.ICO = icoWithoutBlanks(ico);
        clipTexts(m_firm);
        return false;
    }
    m_firm.Nazev = found.name;
    m_firm.Ulice = found.street;
    m_firm.Psc = found.psc;
    m_firm.Misto = found.place;
    m_firm.ICO = found.ico;
    return true;
}

bool FirmCard::verifyWithRegister(const AresConfirmation& confirm) {
    const QString ico = m_firm.ICO.trimmed();
    AresRecord onCard;
    onCard.name = m_firm.Nazev;
    onCard.street = m_firm.Ulice;
    onCard.psc = m_firm.Psc;
    onCard.place = m_firm.Misto;
    onCard.ico = ico;
    const AresRecord found = queryRegister(ico);
    if (!found.found()) {
        m_ui.warning(registerFailedMessage(found));
        return false;
    }
    AresVerification verification(ico, onCard, found);
    if (!verification.anyDifference()) {
        m_ui.information(QStringLiteral("Adresní údaje na kartě odpovídají registru ARES."));
        return false;
    }
    if (!confirm || !confirm(verification))
        return false;
    verification.takeRegister();
    // The IČO stays as typed.
    m_firm.Nazev = verification.card().name;
    m_firm.Ulice = verification.card().street;
    m_firm.Psc = verification.card().psc;
    m_firm.Misto = verification.card().place;
    return true;
}

Contact FirmCard::newContact() const {
    Contact contact;
    contact.Zobrazit = m_contacts.empty();
    return contact;
}

bool FirmCard::storeContact(std::optional<size_t> index, Contact contact) {
    if (!m_editable)
        return false;
    if (contact.Prijmeni.trimmed().isEmpty()) {
        m_ui.information(QStringLiteral("Musíte vyplnit alespoň Příjmení."));
        return false;
    }
    clipTexts(contact);
    size_t at = m_contacts.size();
    if (index && *index < m_contacts.size()) {
        at = *index;
        m_contacts[at] = contact;
    } else {
        m_contacts.push_back(contact);
    }
    // Only one contact stays primary: the one just confirmed.
    if (contact.Zobrazit)
        for (size_t i = 0; i < m_contacts.size(); ++i)
            if (i != at)
                m_contacts[i].Zobrazit = false;
    sortContacts(m_contacts);
    return true;
}

bool FirmCard::removeContact(size_t index) {
    if (!m_editable || index >= m_contacts.size() ||
        !m_ui.question(QStringLiteral("Opravdu chcete vyjmout označený kontakt ?")))
        return false;
    m_contacts.erase(m_contacts.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

QString FirmCard::sharedFolder() const {
    return sharedFolderOf(m_firm.ID);
}

QString FirmCard::pathOf(const FirmDocument& document) const {
    return resolveLink(document.File, m_firm.ID);
}

bool FirmCard::acceptLink(const QString& link, bool copy) const {
    return services::acceptDocumentLink(link, resolveLink(link.trimmed(), m_firm.ID), copy, m_ui);
}

bool FirmCard::storeDocument(std::optional<size_t> index, FirmDocument document) {
    if (!m_editable)
        return false;
    document.File = document.File.trimmed();
    clipTexts(document);
    if (index && *index < m_documents.size())
        m_documents[*index] = document;
    else
        m_documents.push_back(document);
    sortDocuments(m_documents);
    return true;
}

bool FirmCard::removeDocument(size_t index) {
    if (!m_editable || index >= m_documents.size() ||
        !m_ui.question(QStringLiteral("Opravdu chcete vyjmout označený odkaz ?")))
        return false;
    m_documents.erase(m_documents.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

std::optional<QString> FirmCard::write(Firm& firm, std::vector<Contact>& contacts,
                                       std::vector<FirmDocument>& documents) {
    const bool existing = m_mode == FirmCardMode::Edit;
    if (existing) {
        // A firm deleted elsewhere meanwhile is not written back as an empty update.
        if (!firmExists(m_db, firm.ID) || !firmMapping().update(m_db, firm, firm.ID))
            return core::saveFailedMessage();
    } else {
        if (!firmMapping().insert(m_db, firm))
            return core::saveFailedMessage();
        firm.ID = m_db.newRowId();
        if (!firmExists(m_db, firm.ID))
            return core::newRowNotFoundMessage();
    }
    if (!writeDetailRows(m_db, existing, firm.ID, documents, documentMapping(), &FirmDocument::ID))
        return core::saveFailedMessage(QStringLiteral("Dokumenty"));
    if (!writeDetailRows(m_db, existing, firm.ID, contacts, contactMapping(), &Contact::LockID))
        return core::saveFailedMessage(QStringLiteral("Kontakty"));
    return std::nullopt;
}

CardOutcome FirmCard::confirm() {
    if (!m_editable)
        return CardOutcome::StayOpen;
    if (m_firm.Nazev.trimmed().isEmpty()) {
        m_ui.information(QStringLiteral("Musíte vyplnit název adresy."));
        return CardOutcome::StayOpen;
    }
    if (!m_lock.stillHeldForSave(m_ui)) {
        m_editable = false;
        return CardOutcome::StayOpen;
    }
    core::ProgressScope wait(
        m_ui,
        QStringLiteral("Prosím čekejte... probíhá ukládání adresy, případně kopírování "
                       "dokumentů do sdílené složky (to může nějaký čas trvat)"),
        0, false);
    // The save works on copies: a failed save leaves the card as it was, to be saved again.
    Firm firm = m_firm;
    clipTexts(firm);
    std::vector<Contact> contacts = m_contacts;
    std::vector<FirmDocument> documents = m_documents;
    // Nothing waits for the person while the unit holds the write lock: a failure is reported
    // once it has been rolled back.
    const std::optional<QString> failure = [&]() -> std::optional<QString> {
        core::Transaction unit(m_db);
        if (!unit.isActive())
            return core::saveFailedMessage();
        if (auto failed = write(firm, contacts, documents))
            return failed;
        if (!unit.commit())
            return core::saveFailedMessage();
        return std::nullopt;
    }();
    if (failure) {
        // The card keeps every edit for another try.
        wait.end();
        m_ui.error(*failure);
        return CardOutcome::SaveFailed;
    }
    // The files follow once the firm is stored and has its ID, outside any unit of work: the copy
    // may ask whether to overwrite a file and may take its time.
    std::vector<services::PendingCopy> copies;
    for (FirmDocument& document : documents) {
        if (!document.CopyFile)
            continue;
        document.CopyFile = false;
        copies.push_back({document.ID, &document.File});
    }
    services::copyLinkedFiles(m_db, QStringLiteral("Dokumenty"), copies, sharedFolderOf(firm.ID),
                              m_ui);
    m_firm = std::move(firm);
    m_contacts = std::move(contacts);
    m_documents = std::move(documents);
    m_lock.release();
    return CardOutcome::Saved;
}

} // namespace orvento::addressbook
