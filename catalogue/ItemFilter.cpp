#include "catalogue/ItemFilter.h"

#include "catalogue/IdentifierCodes.h"
#include "catalogue/ItemCard.h"

namespace orvento::catalogue {

namespace {

// NULL in older data counts as the empty text, as the grid shows it.
QString stored(const QString& column) {
    return QStringLiteral("COALESCE(") + column + QStringLiteral(", '')");
}

void addEquals(core::SqlCondition& c, const QString& column, const QString& value) {
    if (value.isEmpty()) {
        c.add(stored(column) + QStringLiteral(" = ''"));
        return;
    }
    const QString name = column + QStringLiteral("Text");
    const QString length = column + QStringLiteral("Delka");
    c.add(QStringLiteral("CZECH_FIND(") + column + QStringLiteral(", :") + name +
              QStringLiteral(") = 1 AND LENGTH(") + column + QStringLiteral(") = :") + length,
          {{name, value}, {length, static_cast<int>(value.size())}});
}

void addContains(core::SqlCondition& c, const QString& column, const QString& value) {
    const QString name = column + QStringLiteral("Text");
    c.add(QStringLiteral("CZECH_FIND(") + column + QStringLiteral(", :") + name +
              QStringLiteral(") > 0"),
          {{name, value}});
}

void addText(core::SqlCondition& c, const QString& column, const QString& value, bool part) {
    if (part)
        addContains(c, column, value);
    else
        addEquals(c, column, value);
}

void addIdentifiers(core::SqlCondition& c, const QString& list) {
    const QStringList codes = splitIdentifiers(list);
    if (codes.isEmpty()) {
        c.add(stored(QStringLiteral("Identif")) + QStringLiteral(" = ''"));
        return;
    }
    QString any;
    core::SqlParams params;
    for (qsizetype i = 0; i < codes.size(); ++i) {
        const QString name = QStringLiteral("Identif%1").arg(i);
        if (i > 0)
            any += QStringLiteral(" OR ");
        any += QStringLiteral("CZECH_FIND(Identif, :") + name + QStringLiteral(") > 0");
        params.emplace_back(name, joinIdentifiers({codes[i]}));
    }
    c.add(QLatin1Char('(') + any + QLatin1Char(')'), params);
}

} // namespace

std::optional<QString> ItemFilter::problem() const {
    if (!active)
        return std::nullopt;
    if ((byDescription && descriptionPart && description.isEmpty()) ||
        (byCatalogue && cataloguePart && catalogueNumber.isEmpty()))
        return filterPartEmptyMessage();
    return std::nullopt;
}

QStringList availabilityChoices() {
    return ItemCard::availabilityCaptions();
}

QString availabilityLetterAt(int index) {
    const QStringList choices = availabilityChoices();
    if (index <= 0 || index >= choices.size())
        return {};
    return choices[index].left(1);
}

core::SqlCondition itemFilterCondition(const ItemFilter& filter) {
    core::SqlCondition c;
    if (!filter.active)
        return c;
    if (filter.byDescription)
        addText(c, QStringLiteral("Popis"), filter.description, filter.descriptionPart);
    if (filter.byCatalogue)
        addText(c, QStringLiteral("Katalog"), filter.catalogueNumber, filter.cataloguePart);
    if (filter.byPriceGroup)
        addEquals(c, QStringLiteral("CenSkupina"), filter.priceGroup);
    if (filter.byAvailability)
        addEquals(c, QStringLiteral("Dostupnost"), availabilityLetterAt(filter.availability));
    if (filter.byIdentifiers)
        addIdentifiers(c, filter.identifiers);
    return c;
}

QString filterPartEmptyMessage() {
    return QStringLiteral(
        "Pokud je zaškrtnutá volba \"jen část\", filtrovací řetězec nesmí být prázdný.");
}

} // namespace orvento::catalogue
