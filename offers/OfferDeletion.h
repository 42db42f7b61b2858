#pragma once

#include <QString>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::offers {

// Deletes an offer with its items, its linked documents' rows and its history in one unit of
// work, so that no half-deleted offer is left behind. The files in the offer's shared document
// folder stay. False (after the error message, nothing deleted) when a statement fails.
bool deleteOfferRecords(core::Database& db, qint64 offerId, core::UserInteraction& ui);

QString lockedOfferDeleteMessage(); // "Uzamčený doklad není možné smazat."

} // namespace orvento::offers
