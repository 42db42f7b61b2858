#include "catalogue/ItemRecord.h"

#include "core/Database.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

#include <algorithm>

namespace orvento::catalogue {

namespace {

using Mapping = core::RecordMapping<ItemRecord>;

template <class T> void priceMember(Mapping& m, const char* column, T ItemPriceFields::*member) {
    m.custom(
        column, [member](const ItemRecord& r) { return QVariant::fromValue(r.price.*member); },
        [member](ItemRecord& r, const QVariant& v) {
            if constexpr (std::is_same_v<T, bool>)
                r.price.*member = v.toInt() != 0;
            else if constexpr (std::is_same_v<T, int>)
                r.price.*member = v.toInt();
            else
                r.price.*member = v.toDouble();
        });
}

template <class T>
void slotMember(Mapping& m, const QString& column, size_t slot, T FixedSlot::*member) {
    m.custom(
        column.toLatin1().constData(),
        [slot, member](const ItemRecord& r) {
            return QVariant::fromValue(r.fixedSlots[slot].*member);
        },
        [slot, member](ItemRecord& r, const QVariant& v) {
            if constexpr (std::is_same_v<T, bool>)
                r.fixedSlots[slot].*member = v.toInt() != 0;
            else if constexpr (std::is_same_v<T, QString>)
                r.fixedSlots[slot].*member = v.toString();
            else
                r.fixedSlots[slot].*member = v.toDouble();
        });
}

// The price columns in the order the silent update names them.
void addPriceColumns(Mapping& m) {
    priceMember(m, "NakCena", &ItemPriceFields::NakCena);
    priceMember(m, "PrCenaSDPH", &ItemPriceFields::PrCenaSDPH);
    priceMember(m, "PrCenaBDPH", &ItemPriceFields::PrCenaBDPH);
    priceMember(m, "SDPH", &ItemPriceFields::SDPH);
    priceMember(m, "SazbaDPH", &ItemPriceFields::SazbaDPH);
    m.member("Nakladova", &ItemRecord::Nakladova);
    priceMember(m, "Zaok", &ItemPriceFields::Zaok);
    priceMember(m, "Marze", &ItemPriceFields::Marze);
    priceMember(m, "Rabat", &ItemPriceFields::Rabat);
    m.member("CenSkupina", &ItemRecord::CenSkupina);
    priceMember(m, "Prepocitat", &ItemPriceFields::Prepocitat);
    m.member("Chyba", &ItemRecord::Chyba);
    for (size_t slot = 0; slot < 3; ++slot) {
        const QString n = QString::number(slot + 1);
        slotMember(m, QStringLiteral("PrCenaSDPH") + n, slot, &FixedSlot::PrCenaSDPH);
        slotMember(m, QStringLiteral("PrCenaBDPH") + n, slot, &FixedSlot::PrCenaBDPH);
        slotMember(m, QStringLiteral("SDPH") + n, slot, &FixedSlot::SDPH);
        slotMember(m, QStringLiteral("CenHlad") + n, slot, &FixedSlot::CenHlad);
    }
    priceMember(m, "TypHodnoty", &ItemPriceFields::TypHodnoty);
}

Mapping cardMapping(bool withPlace) {
    Mapping m(QStringLiteral("Zasoby"));
    if (withPlace)
        m.member("Sklad", &ItemRecord::Sklad).member("Skupina", &ItemRecord::Skupina);
    m.member("Popis", &ItemRecord::Popis)
        .member("Katalog", &ItemRecord::Katalog)
        .member("BarCode", &ItemRecord::BarCode)
        .member("Poznamka", &ItemRecord::Poznamka)
        .member("TextMJ", &ItemRecord::TextMJ)
        .member("PLU", &ItemRecord::PLU)
        .member("Zkratka", &ItemRecord::Zkratka)
        .member("Identif", &ItemRecord::Identif)
        .member("Dostupnost", &ItemRecord::Dostupnost)
        .member("Obrazek", &ItemRecord::Obrazek);
    addPriceColumns(m);
    return m;
}

} // namespace

const Mapping& zasobyMapping() {
    static const Mapping mapping = cardMapping(true);
    return mapping;
}

const Mapping& zasobyCardUpdateMapping() {
    static const Mapping mapping = cardMapping(false);
    return mapping;
}

const Mapping& zasobyPriceMapping() {
    static const Mapping mapping = [] {
        Mapping m(QStringLiteral("Zasoby"));
        addPriceColumns(m);
        return m;
    }();
    return mapping;
}

std::optional<ItemRecord> readItem(core::Database& db, qint64 id) {
    QSqlQuery q = db.select(QStringLiteral("SELECT * FROM Zasoby WHERE ID = :ID"),
                            {{QStringLiteral("ID"), id}});
    if (!q.next())
        return std::nullopt;
    ItemRecord item = zasobyMapping().read(q.record());
    item.ID = id;
    return item;
}

std::map<qint64, ItemRecord> readCatalogueRows(core::Database& db, const std::vector<qint64>& ids) {
    constexpr std::size_t kChunk = 200;
    std::map<qint64, ItemRecord> rows;
    for (std::size_t from = 0; from < ids.size(); from += kChunk) {
        QStringList names;
        core::SqlParams params;
        for (std::size_t i = from; i < std::min(ids.size(), from + kChunk); ++i) {
            const QString name = QStringLiteral("ID%1").arg(i - from);
            names << QLatin1Char(':') + name;
            params.emplace_back(name, ids[i]);
        }
        QSqlQuery q = db.select(
            QStringLiteral("SELECT * FROM Zasoby WHERE ID IN (%1)").arg(names.join(u',')), params);
        while (q.next()) {
            ItemRecord row = zasobyMapping().read(q.record());
            row.ID = q.value(QStringLiteral("ID")).toLongLong();
            rows.emplace(row.ID, std::move(row));
        }
    }
    return rows;
}

void clipTexts(ItemRecord& item) {
    item.Popis.truncate(ItemWidth::Popis);
    item.Katalog.truncate(ItemWidth::Katalog);
    item.BarCode.truncate(ItemWidth::BarCode);
    item.PLU.truncate(ItemWidth::PLU);
    item.Zkratka.truncate(ItemWidth::Zkratka);
    item.TextMJ.truncate(ItemWidth::TextMJ);
    item.Identif.truncate(ItemWidth::Identif);
    item.Obrazek.truncate(ItemWidth::Obrazek);
    item.Dostupnost.truncate(1);
}

} // namespace orvento::catalogue
