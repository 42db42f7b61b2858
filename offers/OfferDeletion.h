#pragma once

#include <QString>

namespace orvento::core {
class Database;
} // namespace orvento::core

namespace orvento::offers {

// Deletes an offer with its items, its linked documents' rows and its history, inside the
// caller's unit of work, which keeps the offer whole: the caller rolls the unit back when this
// fails, so no half-deleted offer is left behind. The files in the offer's shared document folder
// stay. Empty on success, else the table whose statement failed.
QString deleteOfferRows(core::Database& db, qint64 offerId);

QString lockedOfferDeleteMessage(); // "Uzamčený doklad není možné smazat."

} // namespace orvento::offers
