#include "import/PreparedItems.h"

#include "core/Database.h"
#include "core/RowBatch.h"
#include "core/Schema.h"

#include <QStringList>

#include <algorithm>
#include <array>

namespace orvento::import {

namespace {

using catalogue::ItemRecord;
using core::ColumnType;

struct ColumnSpec {
    ItemColumn column;
    const char* name;
    ColumnType type;
    QVariant (*value)(const ItemRecord&);
};

// Every written column with its type and where its value comes from.
const std::array<ColumnSpec, 20> kColumns{{
    {ItemColumn::Popis, "Popis", ColumnType::Text,
     [](const ItemRecord& r) -> QVariant {
         return r.Popis;
     }},
    {ItemColumn::Katalog, "Katalog", ColumnType::Text,
     [](const ItemRecord& r) -> QVariant {
         return r.Katalog;
     }},
    {ItemColumn::BarCode, "BarCode", ColumnType::Text,
     [](const ItemRecord& r) -> QVariant {
         return r.BarCode;
     }},
    {ItemColumn::Poznamka, "Poznamka", ColumnType::Memo,
     [](const ItemRecord& r) -> QVariant {
         return r.Poznamka;
     }},
    {ItemColumn::SazbaDPH, "SazbaDPH", ColumnType::Double,
     [](const ItemRecord& r) -> QVariant {
         return r.price.SazbaDPH;
     }},
    {ItemColumn::TextMJ, "TextMJ", ColumnType::Text,
     [](const ItemRecord& r) -> QVariant {
         return r.TextMJ;
     }},
    {ItemColumn::Obrazek, "Obrazek", ColumnType::Text,
     [](const ItemRecord& r) -> QVariant {
         return r.Obrazek;
     }},
    {ItemColumn::PLU, "PLU", ColumnType::Text,
     [](const ItemRecord& r) -> QVariant {
         return r.PLU;
     }},
    {ItemColumn::Zkratka, "Zkratka", ColumnType::Text,
     [](const ItemRecord& r) -> QVariant {
         return r.Zkratka;
     }},
    {ItemColumn::NakCena, "NakCena", ColumnType::Double,
     [](const ItemRecord& r) -> QVariant {
         return r.price.NakCena;
     }},
    {ItemColumn::Marze, "Marze", ColumnType::Double,
     [](const ItemRecord& r) -> QVariant {
         return r.price.Marze;
     }},
    {ItemColumn::Rabat, "Rabat", ColumnType::Double,
     [](const ItemRecord& r) -> QVariant {
         return r.price.Rabat;
     }},
    {ItemColumn::PrCenaBDPH, "PrCenaBDPH", ColumnType::Double,
     [](const ItemRecord& r) -> QVariant {
         return r.price.PrCenaBDPH;
     }},
    {ItemColumn::PrCenaSDPH, "PrCenaSDPH", ColumnType::Double,
     [](const ItemRecord& r) -> QVariant {
         return r.price.PrCenaSDPH;
     }},
    {ItemColumn::CenSkupina, "CenSkupina", ColumnType::Text,
     [](const ItemRecord& r) -> QVariant {
         return r.CenSkupina;
     }},
    {ItemColumn::Identif, "Identif", ColumnType::Text,
     [](const ItemRecord& r) -> QVariant {
         return r.Identif;
     }},
    {ItemColumn::Zaok, "Zaok", ColumnType::Integer,
     [](const ItemRecord& r) -> QVariant {
         return r.price.Zaok;
     }},
    {ItemColumn::SDPH, "SDPH", ColumnType::Bit,
     [](const ItemRecord& r) -> QVariant {
         return r.price.SDPH;
     }},
    {ItemColumn::Prepocitat, "Prepocitat", ColumnType::Bit,
     [](const ItemRecord& r) -> QVariant {
         return r.price.Prepocitat;
     }},
    {ItemColumn::TypHodnoty, "TypHodnoty", ColumnType::Integer,
     [](const ItemRecord& r) -> QVariant {
         return r.price.TypHodnoty;
     }},
}};

const QString kTarget = QStringLiteral("IDZaznamu");
const QString kOrder = QStringLiteral("Poradi");

QString nameOf(ItemColumn column) {
    return QString::fromLatin1(kColumns[static_cast<std::size_t>(column)].name);
}

QStringList writtenNames() {
    QStringList names;
    for (const ColumnSpec& spec : kColumns)
        names << QString::fromLatin1(spec.name);
    return names;
}

// What a new item holds in the columns the run never writes.
const QString kNewItemRest = QStringLiteral(
    "Nakladova, Dostupnost, PrCenaSDPH1, PrCenaSDPH2, PrCenaSDPH3, PrCenaBDPH1, PrCenaBDPH2, "
    "PrCenaBDPH3, SDPH1, SDPH2, SDPH3, CenHlad1, CenHlad2, CenHlad3");
const QString kNewItemRestValues = QStringLiteral("0, '', 0, 0, 0, 0, 0, 0, 0, 0, 0, '', '', ''");

} // namespace

PreparedItemsTable::~PreparedItemsTable() {
    if (m_created)
        m_db.executeDdl(QStringLiteral("DROP TABLE IF EXISTS ") + tableName());
}

bool PreparedItemsTable::fill(const std::vector<PreparedItem>& rows,
                              const std::function<void()>& between) {
    if (!m_db.executeDdl(QStringLiteral("DROP TABLE IF EXISTS ") + tableName()))
        return false;
    QStringList definitions{
        core::columnSql({kOrder, ColumnType::Integer, 0}, m_db.dialect()),
        core::columnSql({kTarget, ColumnType::Integer, 0}, m_db.dialect()),
    };
    for (const ColumnSpec& spec : kColumns)
        definitions << core::columnSql({QString::fromLatin1(spec.name), spec.type, 0},
                                       m_db.dialect());
    if (!m_db.executeDdl(QStringLiteral("CREATE TEMP TABLE %1 (%2)")
                             .arg(tableName(), definitions.join(QStringLiteral(", ")))))
        return false;
    m_created = true;

    QStringList names{kOrder, kTarget};
    names << writtenNames();
    core::RowBatchWriter writer(m_db, tableName(), names, core::RowBatchWriter::Mode::Insert);
    std::vector<core::RowValues> batch;
    for (std::size_t first = 0; first < rows.size(); first += core::kRowsPerBatch) {
        const std::size_t count = std::min(core::kRowsPerBatch, rows.size() - first);
        batch.clear();
        for (std::size_t r = first; r < first + count; ++r) {
            const catalogue::ItemRecord& item = rows[r].item;
            core::RowValues& values = batch.emplace_back();
            values.reserve(static_cast<std::size_t>(names.size()));
            values.emplace_back(rows[r].sourceRow);
            values.emplace_back(item.ID);
            for (const ColumnSpec& spec : kColumns)
                values.push_back(spec.value(item));
        }
        if (!writer.write(batch))
            return false;
        if (between)
            between();
    }
    // The update finds each row's item by its ID, the insert takes the new ones in order.
    return m_db.executeDdl(
        QStringLiteral("CREATE INDEX %1Cil ON %1 (%2, %3)").arg(tableName(), kTarget, kOrder));
}

bool PreparedItemsTable::insertNew(qint64 sheet, qint64 group, const QDateTime& mark) {
    const QString written = writtenNames().join(QStringLiteral(", "));
    const QString sql =
        QStringLiteral("INSERT INTO Zasoby (Sklad, Skupina, %1, Chyba, Znacka, %2) "
                       "SELECT :Sklad, :Skupina, %1, :Chyba, :Znacka, %3 FROM %4 "
                       "WHERE %5 = :Nova ORDER BY %6")
            .arg(written, kNewItemRest, kNewItemRestValues, tableName(), kTarget, kOrder);
    return m_db.execute(sql, {{QStringLiteral("Sklad"), sheet},
                              {QStringLiteral("Skupina"), group},
                              {QStringLiteral("Chyba"), true},
                              {QStringLiteral("Znacka"), mark},
                              {QStringLiteral("Nova"), PreparedItem::kNewItem}});
}

bool PreparedItemsTable::updateFound(const std::vector<ItemColumn>& columns,
                                     const QDateTime& mark) {
    QStringList assignments{QStringLiteral("Chyba = :Chyba"), QStringLiteral("Znacka = :Znacka")};
    for (ItemColumn column : columns)
        assignments << QStringLiteral("%1 = i.%1").arg(nameOf(column));
    const QString sql = QStringLiteral("UPDATE Zasoby SET %1 FROM %2 AS i "
                                       "WHERE Zasoby.ID = i.%3 AND i.%3 <> :Nova")
                            .arg(assignments.join(QStringLiteral(", ")), tableName(), kTarget);
    return m_db.execute(sql, {{QStringLiteral("Chyba"), true},
                              {QStringLiteral("Znacka"), mark},
                              {QStringLiteral("Nova"), PreparedItem::kNewItem}});
}

} // namespace orvento::import
