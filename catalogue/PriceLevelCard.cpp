#include "catalogue/PriceLevelCard.h"

#include "catalogue/CodeReferences.h"
#include "core/Database.h"
#include "core/ProgressScope.h"
#include "core/UserInteraction.h"
#include "services/RecordRefresh.h"

#include <optional>

namespace orvento::catalogue {

QString codeExistsMessage(const QString& code) {
    return QStringLiteral("Zkratka \"%1\" již v seznamu existuje, zadejte jinou.").arg(code);
}

QString codeMissingMessage() {
    return QStringLiteral("Musíte zadat zkratku.");
}

bool rippleLevelChange(core::Database& db, const QString& oldCode, const PriceLevel& level) {
    const QString newCode = level.Zkratka;
    const LevelParameters& v = level.values;
    if (!runForEachSpelling(db, QStringLiteral("CenSkupPol"), QStringLiteral("Zkratka"), oldCode,
                            QStringLiteral("UPDATE CenSkupPol SET Zkratka = :Zkratka "
                                           "WHERE Zkratka = :Code"),
                            {{QStringLiteral("Zkratka"), newCode}}))
        return false;
    if (!runForEachSpelling(
            db, QStringLiteral("CenSkupPol"), QStringLiteral("Zkratka"), newCode,
            QStringLiteral("UPDATE CenSkupPol SET Hodnota = :Hodnota, TypHodnoty = :TypHodnoty, "
                           "VychCena = :VychCena, Zaok = :Zaok, Prepocitat = :Prepocitat, "
                           "SDPH = :SDPH WHERE (Zkratka = :Code) AND (Prevzato = :Prevzato)"),
            {{QStringLiteral("Hodnota"), v.Hodnota},
             {QStringLiteral("TypHodnoty"), v.TypHodnoty},
             {QStringLiteral("VychCena"), v.VychCena},
             {QStringLiteral("Zaok"), v.Zaok},
             {QStringLiteral("Prepocitat"), v.Prepocitat},
             {QStringLiteral("SDPH"), v.SDPH},
             {QStringLiteral("Prevzato"), true}}))
        return false;
    if (oldCode == newCode)
        return true;
    for (const char* slot : {"CenHlad1", "CenHlad2", "CenHlad3"}) {
        const QString column = QString::fromLatin1(slot);
        if (!runForEachSpelling(
                db, QStringLiteral("Zasoby"), column, oldCode,
                QStringLiteral("UPDATE Zasoby SET %1 = :%1 WHERE %1 = :Code").arg(column),
                {{column, newCode}}))
            return false;
    }
    return true;
}

PriceLevelCard::PriceLevelCard(core::Database& agenda, core::UserInteraction& ui)
    : m_db(agenda)
    , m_ui(ui) {}

bool PriceLevelCard::startNew() {
    if (!services::checkModule(services::Module::Cenik, services::ModuleAction::Create, m_ui))
        return false;
    m_level = PriceLevel{};
    m_storedCode.clear();
    m_editable = true;
    m_lock.release();
    return true;
}

bool PriceLevelCard::startExisting(qint64 id) {
    const auto stored = levelById(m_db, id);
    if (!stored) {
        m_ui.warning(services::recordGoneMessage());
        return false;
    }
    CardAccess access = openCatalogueRecord(QStringLiteral("CenHlad"), id, m_ui);
    if (!access.opens)
        return false;
    m_level = *stored;
    m_storedCode = stored->Zkratka;
    m_editable = access.editable;
    m_lock = std::move(access.lock);
    return true;
}

bool PriceLevelCard::codeTakenByAnother(const QString& code) {
    const auto levels = readLevels(m_db);
    if (!levels)
        return false;
    for (const PriceLevel& other : *levels)
        if (other.ID != m_level.ID && sameCode(other.Zkratka, code))
            return true;
    return false;
}

bool PriceLevelCard::write(const QString& oldCode) {
    core::Transaction tx(m_db);
    if (isNew()) {
        if (!priceLevelMapping().insert(m_db, m_level))
            return false;
        const qint64 newId = m_db.newRowId();
        if (!tx.commit())
            return false;
        m_level.ID = newId;
        return true;
    }
    return priceLevelMapping().update(m_db, m_level, m_level.ID) &&
           rippleLevelChange(m_db, oldCode, m_level) && tx.commit();
}

void PriceLevelCard::renameInFirms(const QString& oldCode) {
    if (!m_ui.question(QStringLiteral(
            "Chcete změnit zkratku cenové hladiny i v adesáři firem (doporučeno) ?")))
        return;
    if (!runForEachSpelling(m_db, QStringLiteral("Adresar"), QStringLiteral("CenHladina"), oldCode,
                            QStringLiteral("UPDATE Adresar SET CenHladina = :CenHladina "
                                           "WHERE CenHladina = :Code"),
                            {{QStringLiteral("CenHladina"), m_level.Zkratka}}))
        m_ui.error(core::saveFailedMessage(QStringLiteral("Adresar")));
}

CardOutcome PriceLevelCard::confirm() {
    if (!m_editable)
        return CardOutcome::StayOpen;
    m_level.Zkratka = normalizedCode(m_level.Zkratka);
    m_level.Popis = m_level.Popis.left(kLevelNameLength);
    if (m_level.Zkratka.isEmpty()) {
        m_ui.information(codeMissingMessage());
        return CardOutcome::StayOpen;
    }
    // Codes match ignoring letter case, so a code only written in other letters is no rename:
    // no question, and the references keep matching.
    const bool renamed = !isNew() && !sameCode(m_level.Zkratka, m_storedCode);
    if (renamed &&
        !m_ui.question(QStringLiteral(
            "Změnu zkratky musí program promítnout i do souvisejících databází (cenové skupiny, "
            "ceník, ...), což může při větším počtu záznamů chvilku trvat. Opravdu chcete změnit "
            "zkratku této cenové hladiny ?")))
        return CardOutcome::StayOpen;
    if ((isNew() || renamed) && codeTakenByAnother(m_level.Zkratka)) {
        m_ui.warning(codeExistsMessage(m_level.Zkratka));
        return CardOutcome::StayOpen;
    }
    if (!m_lock.stillHeldForSave(m_ui)) {
        m_editable = false;
        return CardOutcome::StayOpen;
    }
    // The wait window stands while the references follow a changed level.
    const bool written = [&] {
        std::optional<core::ProgressScope> wait;
        if (!isNew())
            wait.emplace(m_ui, QStringLiteral("Prosím čekejte..."), 0, false);
        return write(m_storedCode);
    }();
    if (!written) {
        // Told after the rollback; the card stays open with what the person entered.
        m_ui.error(core::saveFailedMessage());
        return CardOutcome::StayOpen;
    }
    if (renamed)
        renameInFirms(m_storedCode);
    m_storedCode = m_level.Zkratka;
    return CardOutcome::Saved;
}

} // namespace orvento::catalogue
