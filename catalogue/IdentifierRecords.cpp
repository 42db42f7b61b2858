#include "catalogue/IdentifierRecords.h"

#include "catalogue/IdentifierCodes.h"
#include "catalogue/PriceLevelCard.h"
#include "core/Database.h"
#include "core/UserInteraction.h"
#include "services/AccessRights.h"
#include "services/RecordLock.h"

namespace orvento::catalogue {

namespace {

const QString kTable = QStringLiteral("SezIdentif");

} // namespace

const core::RecordMapping<Identifier>& identifierMapping() {
    static const core::RecordMapping<Identifier> mapping = [] {
        core::RecordMapping<Identifier> m(kTable);
        m.member("Zkratka", &Identifier::Zkratka)
            .member("Popis", &Identifier::Popis)
            .member("Nepouzivat", &Identifier::Nepouzivat);
        return m;
    }();
    return mapping;
}

std::optional<std::vector<Identifier>> readIdentifiers(core::Database& db) {
    QSqlQuery q = db.select(QStringLiteral("SELECT * FROM SezIdentif ORDER BY Zkratka, ID"));
    if (!q.isActive())
        return std::nullopt;
    std::vector<Identifier> rows;
    while (q.next()) {
        Identifier r = identifierMapping().read(q.record());
        r.ID = q.value(QStringLiteral("ID")).toLongLong();
        rows.push_back(std::move(r));
    }
    return rows;
}

std::optional<Identifier> identifierById(core::Database& db, qint64 id) {
    QSqlQuery q = db.select(QStringLiteral("SELECT * FROM SezIdentif WHERE ID = :ID"),
                            {{QStringLiteral("ID"), id}});
    if (!q.next())
        return std::nullopt;
    Identifier r = identifierMapping().read(q.record());
    r.ID = id;
    return r;
}

QString identifierDeleteQuestion(const QString& code) {
    return QStringLiteral("Opravdu chcete smazat identifikátor %1?").arg(code);
}

QString identifierHasUnderscoreMessage() {
    return QStringLiteral("Zkratka nesmí obsahovat znak \"_\".");
}

IdentifierList::IdentifierList(core::Database& agenda, core::UserInteraction& ui)
    : CodedRowList<Identifier>([&agenda] { return readIdentifiers(agenda); }, ui)
    , m_db(agenda)
    , m_ui(ui) {}

bool IdentifierList::removeCurrent() {
    if (!refreshAndRelocate())
        return false;
    const Identifier* shown = current();
    if (!shown)
        return false;
    const Identifier row = *shown;
    if (!services::mayDeleteRecord(kTable, row.ID, m_ui) ||
        !m_ui.question(identifierDeleteQuestion(row.Zkratka)))
        return false;
    const qint64 neighbour = neighbourId();
    const bool ok = m_db.execute(QStringLiteral("DELETE FROM SezIdentif WHERE ID = :ID"),
                                 {{QStringLiteral("ID"), row.ID}});
    if (!ok)
        m_ui.error(core::saveFailedMessage());
    reloadAt(neighbour);
    return ok;
}

IdentifierCard::IdentifierCard(core::Database& agenda, core::UserInteraction& ui)
    : m_db(agenda)
    , m_ui(ui) {}

bool IdentifierCard::startNew() {
    if (!services::checkModule(services::Module::Cenik, services::ModuleAction::Create, m_ui))
        return false;
    m_identifier = Identifier{};
    m_editable = true;
    m_lock.release();
    return true;
}

bool IdentifierCard::startExisting(qint64 id) {
    const auto stored = identifierById(m_db, id);
    if (!stored) {
        m_ui.warning(services::recordGoneMessage());
        return false;
    }
    CardAccess access = openCatalogueRecord(kTable, id, m_ui);
    if (!access.opens)
        return false;
    m_identifier = *stored;
    m_editable = access.editable;
    m_lock = std::move(access.lock);
    return true;
}

// The code is looked up and written under the same write lock, so two workstations cannot both
// add it; an existing row must still be there, else the update would change nothing.
IdentifierCard::WriteResult IdentifierCard::write(Identifier& record) {
    core::Transaction tx(m_db);
    QSqlQuery others = m_db.select(QStringLiteral("SELECT ID, Zkratka FROM SezIdentif"));
    if (!others.isActive())
        return WriteResult::Failed;
    bool present = false;
    while (others.next()) {
        const qint64 id = others.value(0).toLongLong();
        if (id == record.ID)
            present = true;
        else if (sameIdentifier(others.value(1).toString(), record.Zkratka))
            return WriteResult::CodeTaken;
    }
    if (record.ID < 0) {
        if (!identifierMapping().insert(m_db, record))
            return WriteResult::Failed;
        const qint64 newId = m_db.newRowId();
        if (!tx.commit())
            return WriteResult::Failed;
        record.ID = newId;
        return WriteResult::Written;
    }
    if (!present || !identifierMapping().update(m_db, record, record.ID) || !tx.commit())
        return WriteResult::Failed;
    return WriteResult::Written;
}

CardOutcome IdentifierCard::confirm() {
    if (!m_editable)
        return CardOutcome::StayOpen;
    Identifier record = m_identifier;
    record.Zkratka = record.Zkratka.trimmed().toUpper().left(kIdentifierCodeLength);
    record.Popis = record.Popis.left(kIdentifierNameLength);
    m_identifier.Zkratka = record.Zkratka;
    if (record.Zkratka.isEmpty()) {
        m_ui.information(codeMissingMessage());
        return CardOutcome::StayOpen;
    }
    if (record.Zkratka.contains(kIdentifierSeparator)) {
        m_ui.information(identifierHasUnderscoreMessage());
        return CardOutcome::StayOpen;
    }
    if (!m_lock.stillHeldForSave(m_ui)) {
        m_editable = false;
        return CardOutcome::StayOpen;
    }
    switch (write(record)) {
    case WriteResult::CodeTaken:
        m_ui.information(codeExistsMessage(record.Zkratka));
        return CardOutcome::StayOpen;
    case WriteResult::Failed:
        m_ui.error(core::saveFailedMessage());
        return CardOutcome::SaveFailed;
    case WriteResult::Written:
        break;
    }
    m_identifier = record;
    return CardOutcome::Saved;
}

} // namespace orvento::catalogue
