#include "offers/OfferTemplateRecords.h"

#include "core/Database.h"
#include "offers/OfferRecords.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace orvento::offers {

const core::RecordMapping<OfferTemplate>& templateMapping() {
    static const core::RecordMapping<OfferTemplate> mapping = [] {
        core::RecordMapping<OfferTemplate> m(QStringLiteral("NabSablony"));
        m.member("Zkratka", &OfferTemplate::Zkratka)
            .member("Nazev", &OfferTemplate::Nazev)
            .member("TextPred", &OfferTemplate::TextPred)
            .member("TextZa", &OfferTemplate::TextZa)
            .member("Nadpis", &OfferTemplate::Nadpis);
        return m;
    }();
    return mapping;
}

bool sameTemplateCode(const QString& a, const QString& b) {
    return a.trimmed().toUpper() == b.trimmed().toUpper();
}

QString trimmedTemplateCode(const QString& typed) {
    return typed.trimmed().left(kTemplateCodeLength);
}

std::optional<std::vector<OfferTemplate>> readTemplates(core::Database& db) {
    QSqlQuery q = db.select(QStringLiteral("SELECT * FROM NabSablony ORDER BY Zkratka, ID"));
    if (!q.isActive())
        return std::nullopt;
    std::vector<OfferTemplate> rows;
    while (q.next()) {
        const QSqlRecord record = q.record();
        OfferTemplate row = templateMapping().read(record);
        row.ID = record.value(QStringLiteral("ID")).toLongLong();
        rows.push_back(std::move(row));
    }
    return rows;
}

std::optional<OfferTemplate> templateById(core::Database& db, qint64 id) {
    QSqlQuery q = db.select(QStringLiteral("SELECT * FROM NabSablony WHERE ID = :ID"),
                            {{QStringLiteral("ID"), id}});
    if (!q.next())
        return std::nullopt;
    OfferTemplate row = templateMapping().read(q.record());
    row.ID = id;
    return row;
}

std::optional<OfferTemplate> templateByCode(core::Database& db, const QString& code) {
    if (code.trimmed().isEmpty())
        return std::nullopt;
    const auto rows = readTemplates(db);
    if (!rows)
        return std::nullopt;
    for (const OfferTemplate& row : *rows)
        if (sameTemplateCode(row.Zkratka, code))
            return row;
    return std::nullopt;
}

void applyTemplate(const OfferTemplate& from, OfferHeader& to) {
    to.TextPred = from.TextPred;
    to.TextZa = from.TextZa;
    to.Nadpis = from.Nadpis;
}

} // namespace orvento::offers
