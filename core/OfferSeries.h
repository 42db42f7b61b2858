#pragma once

#include <QString>

#include <optional>

namespace orvento::core {

class Database;

// The numbering series of offers: the `CisRady` row with `ModulOzn` "NB".
struct OfferSeries {
    QString prefixOzn;
    int cislo = 1;     // the next number given
    int pocetMist = 4; // digits, padded with zeros

    // The limits of the settings dialog's fields.
    static constexpr int kPrefixWidth = 5;
    static constexpr int kMinNumber = 1;
    static constexpr int kMaxNumber = 999999999;
    static constexpr int kMinDigits = 3;
    static constexpr int kMaxDigits = 5;

    // The series every new agenda starts with.
    static OfferSeries forNewAgenda() { return {QStringLiteral("NB"), 1, 5}; }
    // Upper-case prefix of at most five characters, number and digits within their limits.
    OfferSeries normalised() const;
};

inline const QString kOfferSeriesMark = QStringLiteral("NB");

// The series of the agenda; nothing when the agenda has no such row (or it cannot be read).
std::optional<OfferSeries> loadOfferSeries(Database& db);
// Updates the first "NB" row or inserts one. False when that failed; the caller reports it
// (saveFailedMessage of `CisRady`) outside its unit of work.
bool saveOfferSeries(Database& db, const OfferSeries& series);

} // namespace orvento::core
