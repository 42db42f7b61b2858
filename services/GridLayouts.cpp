#include "services/GridLayouts.h"

#include "services/MemTableText.h"
#include "services/ProfileValues.h"

#include <algorithm>
#include <map>

namespace orvento::services {

namespace {

using C = ColumnColour;

GridColumn col(const char* field, const char* title, int width, bool sortable,
               ColumnColour colour = C::None, bool footerSum = false) {
    return {QString::fromLatin1(field),
            QString::fromUtf8(title),
            width,
            sortable,
            colour,
            footerSum,
            false};
}

GridColumn fixedCol(const char* field, const char* title) {
    GridColumn c = col(field, title, 16, false);
    c.fixed = true;
    return c;
}

std::map<GridId, GridDefinition> buildDefinitions() {
    std::map<GridId, GridDefinition> d;
    d[GridId::OfferList] = {
        GridId::OfferList,
        {},
        {col("Doklad", "Doklad", 77, true), col("AdrNazev", "Název firmy", 190, true),
         col("Popis", "Popis", 190, false), col("DatVystaveni", "Vystaveno", 77, true),
         col("DatPlatnosti", "Platnost do", 77, true),
         col("CelkemBDPH", "Celkem bez DPH", 116, true),
         col("Celkem", "Celkem s DPH", 116, true, C::LightGrey), col("Zisk", "Zisk", 116, true),
         col("Zamek", "Z", 16, false), col("Vytvoril", "Vystavil", 150, false)},
        profile::value::OfferListSort,
        QStringLiteral("DOKLAD")};
    d[GridId::AddressBook] = {GridId::AddressBook,
                              {},
                              {col("Nazev", "Název", 205, true), col("Ulice", "Ulice", 170, true),
                               col("Misto", "Místo", 140, true), col("Psc", "PSČ", 70, true),
                               col("Stat", "Stát", 119, false), col("ICO", "IČ", 128, true),
                               col("Telefon", "Telefon", 114, false), col("Fax", "Fax", 114, false),
                               col("Email", "E-mail", 134, true), col("WWW", "Internet", 98, false),
                               col("EANKod", "EAN kód", 114, true)},
                              profile::value::AddressBookSort,
                              QStringLiteral("NAZEV")};
    d[GridId::OfferItems] = {
        GridId::OfferItems,
        {fixedCol("Empty1", "C"), fixedCol("Empty2", "N"), fixedCol("Empty3", "I")},
        {col("Popis", "Popis", 261, true), col("Katalog", "Katalog", 124, true),
         col("PCBDPHMJ", "Za m.j. bez DPH", 112, false),
         col("PCSDPHMJ", "Za m.j. s DPH", 112, false, C::Grey), col("PocetMJ", "Počet", 80, false),
         col("MJ", "m.j.", 64, false),
         col("PCBDPHPOL", "Celkem bez DPH", 112, false, C::None, true),
         col("PCSDPHPOL", "Celkem s DPH", 112, false, C::LightGrey, true),
         col("SazbaDPH", "DPH %", 48, false), col("Sleva", "Sleva %", 53, false),
         col("Marze", "Marže %", 64, false), col("Rabat", "Rabat %", 64, false),
         col("NakCena", "Nák. cena za m.j.", 112, false, C::LightYellow),
         col("NakCenaPol", "Celkem nák. cena", 112, false, C::LightOrange, true),
         col("ZiskMJ", "Zisk za m.j.", 90, false),
         col("ZiskPol", "Celkem zisk", 90, false, C::LightGreen, true),
         col("CenHladina", "Hladina", 90, false), col("Identif", "Identifikátory", 124, false),
         col("Poradi", "# Pořadí", 69, true)},
        0,
        QString()};
    d[GridId::CatalogueGroups] = {GridId::CatalogueGroups,
                                  {},
                                  {col("Nazev", "Název", 120, true), col("Kod", "Kód", 64, true)},
                                  profile::value::CatalogueGroupsSort,
                                  QStringLiteral("NAZEV")};
    d[GridId::CatalogueItems] = {
        GridId::CatalogueItems,
        {},
        {col("Popis", "Popis", 301, true), col("Katalog", "Katalog", 122, true),
         col("PrCenaBDPH", "Cena bez DPH", 100, true),
         col("PrCenaSDPH", "Cena s DPH", 100, true, C::LightGrey),
         col("Zkratka", "Zkratka", 124, true), col("PLU", "PLU", 45, true),
         col("TextMJ", "Měrná jedn.", 75, false),
         col("NakCena", "Nákupní cena", 100, false, C::LightOrange),
         col("SazbaDPH", "% DPH", 45, false), col("BarCode", "Čárový kód", 122, true),
         col("Dostupnost", "D", 15, false)},
        profile::value::CatalogueItemsSort,
        QStringLiteral("POPIS")};
    return d;
}

const QString kFieldName = QStringLiteral("FieldName");
const QString kWidth = QStringLiteral("Width");

// The saved rows of a layout text; nothing readable gives no rows.
std::vector<SavedColumn> readSaved(const QString& text) {
    std::vector<SavedColumn> saved;
    const auto table = readMemTable(text);
    if (!table)
        return saved;
    const int field = table->fieldIndex(kFieldName);
    const int width = table->fieldIndex(kWidth);
    if (field < 0)
        return saved;
    for (const auto& row : table->rows) {
        SavedColumn c;
        c.field = row[static_cast<size_t>(field)].toString();
        bool ok = false;
        c.width = width < 0 ? 0 : row[static_cast<size_t>(width)].toString().toInt(&ok);
        if (!ok || c.width <= 0)
            c.width = 0; // the column's default
        saved.push_back(c);
    }
    return saved;
}

} // namespace

const GridDefinition& gridDefinition(GridId id) {
    static const std::map<GridId, GridDefinition> definitions = buildDefinitions();
    return definitions.at(id);
}

int GridLayout::indexOf(const QString& field) const {
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i].field.compare(field, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

GridLayout buildGridLayout(GridId id, const QString& savedLayout, const QString& sortField) {
    const GridDefinition& def = gridDefinition(id);
    GridLayout layout;
    layout.columns = def.fixedColumns;
    std::vector<GridColumn> remaining = def.available;
    for (const SavedColumn& saved : readSaved(savedLayout)) {
        const auto it = std::find_if(remaining.begin(), remaining.end(), [&](const GridColumn& c) {
            return c.field.compare(saved.field, Qt::CaseInsensitive) == 0;
        });
        if (it == remaining.end())
            continue; // no longer available, or already placed
        GridColumn c = *it;
        if (saved.width > 0)
            c.width = saved.width;
        layout.columns.push_back(c);
        remaining.erase(it);
    }
    layout.columns.insert(layout.columns.end(), remaining.begin(), remaining.end());

    const QString wanted = sortField.trimmed().toUpper();
    for (size_t i = 0; !wanted.isEmpty() && i < layout.columns.size(); ++i) {
        if (layout.columns[i].field.toUpper() == wanted) {
            layout.sortColumn = static_cast<int>(i);
            layout.sortField = sortField.trimmed();
            break;
        }
    }
    return layout;
}

QString layoutText(GridId id, const std::vector<SavedColumn>& columns) {
    const GridDefinition& def = gridDefinition(id);
    const auto isFixed = [&](const QString& field) {
        return std::any_of(def.fixedColumns.begin(), def.fixedColumns.end(),
                           [&](const GridColumn& c) { return c.field == field; });
    };
    MemTable table;
    table.addField(kFieldName, MemFieldType::String, 50);
    table.addField(kWidth, MemFieldType::Integer);
    if (!def.fixedColumns.empty()) {
        const GridColumn& last = def.fixedColumns.back();
        int width = last.width;
        for (const SavedColumn& c : columns)
            if (c.field == last.field && c.width > 0)
                width = c.width;
        table.appendRow() = {last.field, width};
    }
    for (const SavedColumn& c : columns)
        if (!isFixed(c.field))
            table.appendRow() = {c.field, c.width};
    return writeMemTable(table, false);
}

std::vector<SavedColumn> savedColumns(const GridLayout& layout) {
    std::vector<SavedColumn> saved;
    for (const GridColumn& c : layout.columns)
        saved.push_back({c.field, c.width});
    return saved;
}

} // namespace orvento::services
