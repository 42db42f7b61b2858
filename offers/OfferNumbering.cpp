#include "offers/OfferNumbering.h"

#include "core/Database.h"
#include "core/OfferSeries.h"

#include <QSqlQuery>

namespace orvento::offers {

QString formatOfferNumber(const QString& prefix, int digits, qint64 number) {
    const QString s = QString::number(number);
    const qsizetype padding = std::max<qsizetype>(0, std::min<qsizetype>(digits - s.size(), 5));
    return prefix + QString(padding, QLatin1Char('0')) + s;
}

bool takeNextNumber(core::Database& db, NextNumber& out) {
    out = {};
    core::Transaction unit(db);
    if (!unit.isActive())
        return false;
    QSqlQuery row = db.select(QStringLiteral("SELECT ID, PrefixOzn, Cislo, PocetMist FROM CisRady "
                                             "WHERE ModulOzn = :ModulOzn ORDER BY ID"),
                              {{QStringLiteral("ModulOzn"), core::kOfferSeriesMark}});
    if (!row.isActive())
        return false;
    if (!row.next())
        return unit.commit();
    const qint64 id = row.value(0).toLongLong();
    const QString prefix = row.value(1).toString();
    const qint64 number = row.value(2).toLongLong();
    const int digits = row.value(3).toInt();
    row.finish();
    if (!db.execute(QStringLiteral("UPDATE CisRady SET Cislo = :Cislo WHERE ID = :ID"),
                    {{QStringLiteral("Cislo"), number + 1}, {QStringLiteral("ID"), id}}) ||
        !unit.commit())
        return false;
    out = {formatOfferNumber(prefix, digits, number), prefix, number};
    return true;
}

} // namespace orvento::offers
