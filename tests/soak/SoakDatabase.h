#pragma once

// What the soak reads back from the data it soaked: the records its journals speak of, the
// offers whose stored totals disagree with their items, and offer numbers taken twice.

#include "SoakChecks.h"

#include <QString>
#include <QStringList>

namespace orvento::core {
class Database;
}

namespace orvento::soak {

// The tables the workstations write, and the values they write besides the token.
inline const QString kOffers = QStringLiteral("Nabidky");
inline const QString kFirms = QStringLiteral("Adresar");
inline const QString kItems = QStringLiteral("Zasoby");
inline const QString kOfferItemCount = QStringLiteral("items");
inline const QString kOfferTotal = QStringLiteral("celkem");
inline const QString kFirmPhone = QStringLiteral("telefon");
inline const QString kFirmContactCount = QStringLiteral("kontakty");
inline const QString kItemPurchasePrice = QStringLiteral("nakcena");

// An amount as the journals and the checks write it.
inline QString amountValue(double amount) {
    return QString::number(amount, 'f', 2);
}

// Every offer, firm and catalogue item: the token in its `Poznamka` and the values above.
StoredRecords readStoredRecords(core::Database& agenda);

// The offers whose stored totals differ from the totals of their stored items, computed by the
// program's own pricing of an offer; one line each in `details`.
int countInconsistentOffers(core::Database& agenda, QStringList& details);

// Offer numbers (`Doklad`) that more than one offer carries.
int countDuplicateNumbers(core::Database& agenda, QStringList& details);

} // namespace orvento::soak
