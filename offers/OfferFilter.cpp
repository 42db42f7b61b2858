#include "offers/OfferFilter.h"

#include "services/OfferPrefilter.h"

namespace orvento::offers {

namespace {

QString emptyTextWarning(const QString& caption) {
    return QStringLiteral("Vyplňte políčko \"%1\" nebo tuto položku vypněte.").arg(caption);
}

void addContains(SqlCondition& condition, const QString& column, const QString& name,
                 const QString& text) {
    condition.add(QStringLiteral("CZECH_FIND(") + column + QStringLiteral(", :") + name +
                      QStringLiteral(") > 0"),
                  {{name, text}});
}

// A stored date carries its time: the upper bound is the start of the following day.
void addRange(SqlCondition& condition, const QString& column, const DateRange& range) {
    if (!range.enabled)
        return;
    if (range.from.isValid())
        condition.add(column + QStringLiteral(" >= :") + column + QStringLiteral("Od"),
                      {{column + QStringLiteral("Od"), range.from}});
    if (range.to.isValid())
        condition.add(column + QStringLiteral(" < :") + column + QStringLiteral("Do"),
                      {{column + QStringLiteral("Do"), range.to.addDays(1)}});
}

} // namespace

std::optional<QString> OfferFilter::problem() const {
    if (byFirmText && firmText.isEmpty())
        return emptyTextWarning(QStringLiteral("s názvem firmy obsahující text"));
    if (byDescription && descriptionText.isEmpty())
        return emptyTextWarning(QStringLiteral("s popisem obsahující text"));
    if (byAuthor && authorText.isEmpty())
        return emptyTextWarning(QStringLiteral("se jménem \"Vystavil\" (i část)"));
    return std::nullopt;
}

SqlCondition filterCondition(const OfferFilter& filter) {
    SqlCondition c;
    if (!filter.active)
        return c;
    if (filter.byState)
        c.add(QStringLiteral("IDStav = :IDStav"), {{QStringLiteral("IDStav"), filter.state}});
    if (filter.unsettled)
        c.add(QStringLiteral("DatVyrizeni IS NULL"));
    if (filter.byFirm)
        c.add(QStringLiteral("AdrCislo = :AdrCislo"),
              {{QStringLiteral("AdrCislo"), filter.firmId}});
    if (filter.byFirmText)
        addContains(c, QStringLiteral("AdrNazev"), QStringLiteral("AdrNazevText"), filter.firmText);
    addRange(c, QStringLiteral("DatVystaveni"), filter.issued);
    addRange(c, QStringLiteral("DatPlatnosti"), filter.valid);
    addRange(c, QStringLiteral("DatVyrizeni"), filter.settled);
    if (filter.byDescription)
        addContains(c, QStringLiteral("Popis"), QStringLiteral("PopisText"),
                    filter.descriptionText);
    if (filter.byTotal) {
        const QString column =
            filter.totalWithVat ? QStringLiteral("Celkem") : QStringLiteral("CelkemBDPH");
        c.add(column + QStringLiteral(" >= :CelkemOd AND ") + column +
                  QStringLiteral(" <= :CelkemDo"),
              {{QStringLiteral("CelkemOd"), filter.totalFrom},
               {QStringLiteral("CelkemDo"), filter.totalTo}});
    }
    if (filter.byAuthor)
        addContains(c, QStringLiteral("Vytvoril"), QStringLiteral("VytvorilText"),
                    filter.authorText);
    return c;
}

SqlCondition visibilityCondition(bool seesAll, const QString& prefilterList) {
    SqlCondition c;
    if (seesAll)
        return c;
    const std::vector<int> numbers = services::prefilterNumbers(prefilterList);
    if (numbers.empty()) {
        c.add(QStringLiteral("0 = 1"));
        return c;
    }
    QString names;
    core::SqlParams params;
    for (size_t i = 0; i < numbers.size(); ++i) {
        const QString name = QStringLiteral("Vytvor%1").arg(i);
        names += (i ? QStringLiteral(", :") : QStringLiteral(":")) + name;
        params.emplace_back(name, numbers[i]);
    }
    c.add(QStringLiteral("VytvorID IN (") + names + QLatin1Char(')'), params);
    return c;
}

} // namespace orvento::offers
