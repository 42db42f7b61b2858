#include "catalogue/CataloguePositions.h"

#include "services/MemTableText.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"

namespace orvento::catalogue {

namespace {

const QString kSheet = QStringLiteral("IDSkladu");
const QString kItem = QStringLiteral("IDZasoby");
const QString kGroup = QStringLiteral("IDSkupiny");

qint64 idIn(const std::vector<QVariant>& row, int field) {
    return field < 0 ? 0 : row[static_cast<size_t>(field)].toLongLong();
}

} // namespace

void CataloguePositions::load() {
    readTexts(services::profile::loadMemo(services::profile::memo::SheetPositions),
              services::profile::loadMemo(services::profile::memo::GroupPositions));
}

void CataloguePositions::save() const {
    services::profile::saveMemo(services::profile::memo::SheetPositions, sheetsText());
    services::profile::saveMemo(services::profile::memo::GroupPositions, groupsText());
}

void CataloguePositions::readTexts(const QString& sheets, const QString& groups) {
    m_sheets.clear();
    m_groups.clear();
    // A damaged memo only loses the remembered places.
    if (const auto table = services::readMemTable(sheets)) {
        const int s = table->fieldIndex(kSheet);
        const int i = table->fieldIndex(kItem);
        const int g = table->fieldIndex(kGroup);
        for (const auto& row : table->rows)
            if (s >= 0)
                m_sheets[idIn(row, s)] = {idIn(row, g), idIn(row, i)};
    }
    if (const auto table = services::readMemTable(groups)) {
        const int i = table->fieldIndex(kItem);
        const int g = table->fieldIndex(kGroup);
        for (const auto& row : table->rows)
            if (g >= 0)
                m_groups[idIn(row, g)] = idIn(row, i);
    }
}

QString CataloguePositions::sheetsText() const {
    services::MemTable table;
    table.addField(kSheet, services::MemFieldType::Integer);
    table.addField(kItem, services::MemFieldType::Integer);
    table.addField(kGroup, services::MemFieldType::Integer);
    for (const auto& [sheet, place] : m_sheets)
        table.appendRow() = {sheet, place.item, place.group};
    return services::writeMemTable(table, true);
}

QString CataloguePositions::groupsText() const {
    services::MemTable table;
    table.addField(kItem, services::MemFieldType::Integer);
    table.addField(kGroup, services::MemFieldType::Integer);
    for (const auto& [group, item] : m_groups)
        table.appendRow() = {item, group};
    return services::writeMemTable(table, true);
}

void CataloguePositions::rememberSheet(qint64 sheet, qint64 group, qint64 item) {
    m_sheets[sheet] = {group, item};
}

void CataloguePositions::rememberGroup(qint64 group, qint64 item) {
    m_groups[group] = item;
}

CataloguePositions::SheetPlace CataloguePositions::sheet(qint64 sheet) const {
    const auto it = m_sheets.find(sheet);
    return it == m_sheets.end() ? SheetPlace{} : it->second;
}

qint64 CataloguePositions::itemOfGroup(qint64 group) const {
    const auto it = m_groups.find(group);
    return it == m_groups.end() ? 0 : it->second;
}

} // namespace orvento::catalogue
