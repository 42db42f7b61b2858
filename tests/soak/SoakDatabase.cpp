#include "SoakDatabase.h"

#include "core/Database.h"
#include "offers/OfferStore.h"
#include "offers/OfferTotals.h"

#include <QSqlQuery>

#include <cmath>
#include <vector>

namespace orvento::soak {
namespace {

// Stored amounts carry two decimals; a difference below half a hundredth is none.
constexpr double kAmountTolerance = 0.005;

} // namespace

StoredRecords readStoredRecords(core::Database& agenda) {
    StoredRecords out;
    QSqlQuery offers = agenda.select(
        QStringLiteral("SELECT n.ID, n.Poznamka, n.Celkem, (SELECT COUNT(*) FROM NabPolozky p "
                       "WHERE p.CisloNab = n.ID) FROM Nabidky n"));
    while (offers.next()) {
        StoredRecord& record = out[recordKey(kOffers, offers.value(0).toLongLong())];
        record.token = offers.value(1).toString();
        record.values.insert(kOfferTotal, amountValue(offers.value(2).toDouble()));
        record.values.insert(kOfferItemCount, offers.value(3).toString());
    }
    offers.finish();
    QSqlQuery firms = agenda.select(
        QStringLiteral("SELECT a.ID, a.Poznamka, a.Telefon, (SELECT COUNT(*) FROM Kontakty k "
                       "WHERE k.CisloAdr = a.ID) FROM Adresar a"));
    while (firms.next()) {
        StoredRecord& record = out[recordKey(kFirms, firms.value(0).toLongLong())];
        record.token = firms.value(1).toString();
        record.values.insert(kFirmPhone, firms.value(2).toString());
        record.values.insert(kFirmContactCount, firms.value(3).toString());
    }
    firms.finish();
    QSqlQuery items = agenda.select(QStringLiteral("SELECT ID, Poznamka, NakCena FROM Zasoby"));
    while (items.next()) {
        StoredRecord& record = out[recordKey(kItems, items.value(0).toLongLong())];
        record.token = items.value(1).toString();
        record.values.insert(kItemPurchasePrice, amountValue(items.value(2).toDouble()));
    }
    return out;
}

int countInconsistentOffers(core::Database& agenda, QStringList& details) {
    struct Stored {
        qint64 id;
        double celkem, celkemBDPH, zisk, celkemNC;
    };
    std::vector<Stored> stored;
    QSqlQuery q = agenda.select(
        QStringLiteral("SELECT ID, Celkem, CelkemBDPH, Zisk, CelkemNC FROM Nabidky ORDER BY ID"));
    while (q.next())
        stored.push_back({q.value(0).toLongLong(), q.value(1).toDouble(), q.value(2).toDouble(),
                          q.value(3).toDouble(), q.value(4).toDouble()});
    q.finish();
    offers::OfferStore store(agenda);
    int count = 0;
    for (const Stored& offer : stored) {
        offers::OfferWorkingCopy copy(offers::OfferMode::Existing);
        if (!store.load(offer.id, copy)) {
            ++count;
            details << QStringLiteral("offer %1 cannot be read").arg(offer.id);
            continue;
        }
        const offers::OfferTotals totals = offers::computeTotals(copy.items(), copy.rates());
        const bool same = std::abs(totals.celkem - offer.celkem) < kAmountTolerance &&
                          std::abs(totals.celkemBDPH - offer.celkemBDPH) < kAmountTolerance &&
                          std::abs(totals.zisk - offer.zisk) < kAmountTolerance &&
                          std::abs(totals.celkemNC - offer.celkemNC) < kAmountTolerance;
        if (!same) {
            ++count;
            details << QStringLiteral("offer %1 stores %2 with VAT, its %3 items make %4")
                           .arg(offer.id)
                           .arg(amountValue(offer.celkem))
                           .arg(copy.items().size())
                           .arg(amountValue(totals.celkem));
        }
    }
    return count;
}

int countDuplicateNumbers(core::Database& agenda, QStringList& details) {
    QSqlQuery q = agenda.select(
        QStringLiteral("SELECT Doklad, COUNT(*) FROM Nabidky GROUP BY Doklad HAVING COUNT(*) > 1"));
    int count = 0;
    while (q.next()) {
        ++count;
        details << QStringLiteral("offer number %1 taken %2 times")
                       .arg(q.value(0).toString(), q.value(1).toString());
    }
    return count;
}

} // namespace orvento::soak
