#include "core/OfferSeries.h"

#include "core/Database.h"
#include "core/RecordMapping.h"

#include <QSqlQuery>

#include <algorithm>

namespace orvento::core {

OfferSeries OfferSeries::normalised() const {
    OfferSeries s;
    s.prefixOzn = prefixOzn.trimmed().toUpper().left(kPrefixWidth);
    s.cislo = std::clamp(cislo, kMinNumber, kMaxNumber);
    s.pocetMist = std::clamp(pocetMist, kMinDigits, kMaxDigits);
    return s;
}

std::optional<OfferSeries> loadOfferSeries(Database& db) {
    QSqlQuery row = db.select(QStringLiteral("SELECT PrefixOzn, Cislo, PocetMist FROM CisRady "
                                             "WHERE ModulOzn = :ModulOzn ORDER BY ID"),
                              {{QStringLiteral("ModulOzn"), kOfferSeriesMark}});
    if (!row.next())
        return std::nullopt;
    return OfferSeries{row.value(0).toString(), row.value(1).toInt(), row.value(2).toInt()};
}

bool saveOfferSeries(Database& db, const OfferSeries& series) {
    return saveKeyedRow(db, QStringLiteral("CisRady"),
                        {{QStringLiteral("ModulOzn"), kOfferSeriesMark}},
                        {{QStringLiteral("PrefixOzn"), series.prefixOzn},
                         {QStringLiteral("Cislo"), series.cislo},
                         {QStringLiteral("PocetMist"), series.pocetMist}});
}

} // namespace orvento::core
