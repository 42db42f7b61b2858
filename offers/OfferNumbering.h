#pragma once

#include <QString>

namespace orvento::core {
class Database;
}

namespace orvento::offers {

// The prefix, then the number padded with zeros to `digits` (never more than five zeros, and
// none when the number already has that many digits): ("NB", 5, 1) → "NB00001".
QString formatOfferNumber(const QString& prefix, int digits, qint64 number);

struct NextNumber {
    QString formatted; // empty when the agenda has no series
    QString prefix;
    qint64 number = 0;
};

// Reads the offers' series and advances it, as one unit of work (inside the caller's unit when
// there is one, so the number is used up only when the offer that took it is saved). False when a
// statement failed; a missing series is no failure and gives an empty number.
bool takeNextNumber(core::Database& db, NextNumber& out);

} // namespace orvento::offers
