#include "catalogue/PriceGroupCard.h"

#include "catalogue/CodeReferences.h"
#include "catalogue/PriceLevelCard.h"
#include "core/Database.h"
#include "core/ProgressScope.h"
#include "core/UserInteraction.h"
#include "services/RecordRefresh.h"

#include <algorithm>

namespace orvento::catalogue {

PriceGroupCard::PriceGroupCard(core::Database& agenda, core::UserInteraction& ui)
    : m_db(agenda)
    , m_ui(ui) {}

bool PriceGroupCard::startNew() {
    if (!services::checkModule(services::Module::Cenik, services::ModuleAction::Create, m_ui))
        return false;
    m_group = PriceGroup{};
    m_rows.clear();
    m_storedRowIds.clear();
    m_storedCode.clear();
    m_editable = true;
    m_lock.release();
    return true;
}

bool PriceGroupCard::startExisting(qint64 id) {
    const auto stored = groupById(m_db, id);
    const auto rows = loadGroupLevels(m_db, id);
    if (!stored || !rows) {
        m_ui.warning(services::recordGoneMessage());
        return false;
    }
    CardAccess access = openCatalogueRecord(QStringLiteral("CenSkup"), id, m_ui);
    if (!access.opens)
        return false;
    m_group = *stored;
    m_rows = *rows;
    m_storedRowIds.clear();
    for (const GroupLevelRow& row : m_rows)
        m_storedRowIds.push_back(row.ID);
    m_storedCode = stored->Zkratka;
    m_editable = access.editable;
    m_lock = std::move(access.lock);
    return true;
}

bool PriceGroupCard::addLevel(const PriceLevel& level) {
    if (std::any_of(m_rows.begin(), m_rows.end(),
                    [&](const GroupLevelRow& r) { return sameCode(r.Zkratka, level.Zkratka); })) {
        m_ui.information(QStringLiteral("Tato cenová hladina již v seznamu existuje."));
        return false;
    }
    GroupLevelRow row;
    row.IDCenSkup = m_group.ID;
    row.Zkratka = level.Zkratka;
    row.values = level.values;
    row.Prevzato = true;
    m_rows.push_back(row);
    return true;
}

bool PriceGroupCard::mayEditRow(size_t index) {
    if (index >= m_rows.size())
        return false;
    if (!levelByCode(m_db, m_rows[index].Zkratka)) {
        m_ui.warning(QStringLiteral("Tato cenová hladina již neexistuje!"));
        return false;
    }
    return true;
}

PriceLevel PriceGroupCard::levelShownFor(size_t index) const {
    PriceLevel shown;
    if (index >= m_rows.size())
        return shown;
    const GroupLevelRow& row = m_rows[index];
    shown.Zkratka = row.Zkratka;
    if (const auto level = levelByCode(m_db, row.Zkratka))
        shown.Popis = level->Popis;
    shown.values = row.values;
    return shown;
}

void PriceGroupCard::applyRowEdit(size_t index, const LevelParameters& values, bool prevzato) {
    if (index >= m_rows.size())
        return;
    m_rows[index].values = values;
    m_rows[index].Prevzato = prevzato;
    if (prevzato)
        refreshRowFromLevel(index);
}

qint64 PriceGroupCard::levelToEditFor(size_t index) {
    if (index >= m_rows.size())
        return -1;
    if (!m_ui.question(QStringLiteral(
            "Změna původní cenové hladiny se promítne i do případných ostatních cenových skupin, "
            "ve kterých je tato hladina použita. Pokračovat ?")))
        return -1;
    const auto level = levelByCode(m_db, m_rows[index].Zkratka);
    if (!level) {
        m_ui.error(QStringLiteral("Chyba: tato cenová hladina již neexistuje!"));
        return -1;
    }
    return level->ID;
}

void PriceGroupCard::afterLevelEdited(size_t index, qint64 levelId) {
    if (index >= m_rows.size())
        return;
    const auto level = levelById(m_db, levelId);
    if (!level)
        return;
    m_rows[index].Zkratka = level->Zkratka;
    if (m_rows[index].Prevzato)
        m_rows[index].values = level->values;
}

bool PriceGroupCard::refreshRowFromLevel(size_t index) {
    if (index >= m_rows.size())
        return false;
    const auto level = levelByCode(m_db, m_rows[index].Zkratka);
    if (!level) {
        m_ui.error(QStringLiteral(
            "Chyba: původní cenová hladina již neexistuje v seznamu cenových hladin!"));
        return false;
    }
    m_rows[index].values = level->values;
    m_rows[index].Prevzato = true;
    return true;
}

void PriceGroupCard::removeRow(size_t index) {
    if (index < m_rows.size())
        m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(index));
}

int PriceGroupCard::fixedRowCount() const {
    return static_cast<int>(std::count_if(m_rows.begin(), m_rows.end(),
                                          [](const auto& r) { return !r.values.Prepocitat; }));
}

// Another workstation may have renamed, changed or deleted a level since the rows were read.
bool PriceGroupCard::rowsStillMatchLevels() {
    const auto levels = readLevels(m_db);
    if (!levels)
        return true;
    bool changed = false;
    for (auto row = m_rows.begin(); row != m_rows.end();) {
        const auto level = std::find_if(levels->begin(), levels->end(), [&](const PriceLevel& l) {
            return sameCode(l.Zkratka, row->Zkratka);
        });
        if (level == levels->end()) {
            row = m_rows.erase(row);
            changed = true;
            continue;
        }
        if (row->Prevzato && !(row->values == level->values)) {
            row->values = level->values;
            changed = true;
        }
        ++row;
    }
    return !changed;
}

bool PriceGroupCard::codeTakenByAnother(const QString& code) {
    const auto groups = readGroups(m_db);
    if (!groups)
        return false;
    return std::any_of(groups->begin(), groups->end(), [&](const PriceGroup& g) {
        return g.ID != m_group.ID && sameCode(g.Zkratka, code);
    });
}

bool PriceGroupCard::writeRows(qint64 groupId, std::vector<GroupLevelRow>& rows) {
    const auto& mapping = groupLevelRowMapping();
    for (const qint64 storedId : m_storedRowIds) {
        const bool kept = std::any_of(rows.begin(), rows.end(),
                                      [&](const GroupLevelRow& r) { return r.ID == storedId; });
        if (!kept && !m_db.execute(QStringLiteral("DELETE FROM CenSkupPol WHERE ID = :ID"),
                                   {{QStringLiteral("ID"), storedId}}))
            return false;
    }
    for (GroupLevelRow& row : rows) {
        row.IDCenSkup = groupId;
        if (row.ID < 0) {
            if (!mapping.insert(m_db, row))
                return false;
        } else if (!mapping.update(m_db, row, row.ID)) {
            return false;
        }
    }
    return true;
}

// The group and its rows are written from copies and taken into the card only after the commit;
// a failure is told after the unit of work has rolled back, and the card keeps what the person
// entered.
std::optional<QString> PriceGroupCard::write() {
    PriceGroup group = m_group;
    std::vector<GroupLevelRow> rows = m_rows;
    core::Transaction tx(m_db);
    if (isNew()) {
        if (!priceGroupMapping().insert(m_db, group))
            return core::saveFailedMessage();
        group.ID = m_db.newRowId();
    } else if (!priceGroupMapping().update(m_db, group, group.ID)) {
        return core::saveFailedMessage();
    }
    if (!writeRows(group.ID, rows))
        return core::saveFailedMessage(QStringLiteral("CenSkupPol"));
    if (!isNew() && group.Zkratka != m_storedCode &&
        !runForEachSpelling(m_db, QStringLiteral("Zasoby"), QStringLiteral("CenSkupina"),
                            m_storedCode,
                            QStringLiteral("UPDATE Zasoby SET CenSkupina = :CenSkupina "
                                           "WHERE CenSkupina = :Code"),
                            {{QStringLiteral("CenSkupina"), group.Zkratka}}))
        return core::saveFailedMessage(QStringLiteral("Zasoby"));
    if (!tx.commit())
        return core::saveFailedMessage();
    m_group = group;
    m_rows = rows;
    return std::nullopt;
}

CardOutcome PriceGroupCard::confirm() {
    if (!m_editable)
        return CardOutcome::StayOpen;
    m_group.Zkratka = normalizedCode(m_group.Zkratka);
    m_group.Popis = m_group.Popis.left(kLevelNameLength);
    if (m_group.Zkratka.isEmpty()) {
        m_ui.information(codeMissingMessage());
        return CardOutcome::StayOpen;
    }
    if (!rowsStillMatchLevels()) {
        m_ui.warning(QStringLiteral(
            "Upozornění: u některých cenových hladin došlo mezitím ke změně zkratky nebo "
            "některých hodnot, případně byla původní cenová hladina smazána. Zkontrolujte nyní "
            "upravenou definici cenové skupiny a znovu kartu uložte tlačítkem OK."));
        return CardOutcome::StayOpen;
    }
    if (fixedRowCount() > kMaxFixedRows) {
        m_ui.warning(QStringLiteral("Skupina může obsahovat maximálně 3 fixní hladiny."));
        return CardOutcome::StayOpen;
    }
    // Codes match ignoring letter case, so a code only written in other letters is no rename.
    const bool renamed = !isNew() && !sameCode(m_group.Zkratka, m_storedCode);
    if (renamed &&
        !m_ui.question(QStringLiteral(
            "Změnu zkratky musí program promítnout i do souvisejících databází (ceník, ...), což "
            "může při větším počtu záznamů chvilku trvat. Opravdu chcete změnit zkratku této "
            "cenové skupiny ?")))
        return CardOutcome::StayOpen;
    if ((isNew() || renamed) && codeTakenByAnother(m_group.Zkratka)) {
        m_ui.warning(codeExistsMessage(m_group.Zkratka));
        return CardOutcome::StayOpen;
    }
    if (!m_lock.stillHeldForSave(m_ui)) {
        m_editable = false;
        return CardOutcome::StayOpen;
    }
    const bool wasNew = isNew();
    const std::optional<QString> failure = [&] {
        const core::ProgressScope wait(m_ui, QStringLiteral("Prosím čekejte..."), 0, false);
        return write();
    }();
    if (failure) {
        m_ui.error(*failure);
        return CardOutcome::StayOpen;
    }
    // Rows inserted just now carry their new IDs only after a reload.
    if (const auto rows = loadGroupLevels(m_db, m_group.ID)) {
        m_rows = *rows;
        m_storedRowIds.clear();
        for (const GroupLevelRow& row : m_rows)
            m_storedRowIds.push_back(row.ID);
    }
    m_storedCode = m_group.Zkratka;
    if (!wasNew)
        m_ui.information(QStringLiteral(
            "Pokud byly změněny údaje vztažené k základní prodejní ceně, změny na položkách v "
            "ceníku se projeví až po provedení přepočtu cen (funkci můžete spustit z hlavní plochy "
            "volbou Ostatní >> Operace s ceníkem >> Přecenění nákupních a prodejních cen nebo "
            "přímo ze seznamu ceníku)."));
    return CardOutcome::Saved;
}

} // namespace orvento::catalogue
