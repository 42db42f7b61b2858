#pragma once

#include "core/SqlCondition.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace orvento::catalogue {

inline constexpr int kFilterDescriptionLength = 50;
inline constexpr int kFilterCatalogueLength = 20;

// The entries of the catalogue filter (frmZasobyFiltr), each condition with its switch. The
// catalogue window keeps them while it stays open.
struct ItemFilter {
    bool active = false; // "filtr aktivní"

    bool byDescription = false; // "s popisem položky"
    QString description;
    bool descriptionPart = false; // "jen část"
    bool byCatalogue = false;     // "s katalogem"
    QString catalogueNumber;
    bool cataloguePart = false;
    bool byPriceGroup = false; // "s cen. skupinou"
    QString priceGroup;
    bool byAvailability = false; // "s dostupností"
    int availability = 0;        // index into availabilityChoices()
    bool byIdentifiers = false;  // "s identifikátory"
    QString identifiers;         // an identifier list

    // The warning for "jen část" over an empty text while the filter is on, or nothing.
    std::optional<QString> problem() const;
};

// "<neuvedeno>", "S - skladem", ...: the choices of "s dostupností" and the stored letter of each
// ("" for the first).
QStringList availabilityChoices();
QString availabilityLetterAt(int index);

// The filter as a condition on `Zasoby`: nothing while it is off. Texts match ignoring letter
// case in every alphabet, every typed character standing for itself; an equal text is one found
// at its start with the same length. The identifiers keep the items carrying any of the chosen
// codes anywhere in their list, together with every other condition; an empty list keeps the
// items without identifiers.
core::SqlCondition itemFilterCondition(const ItemFilter& filter);

QString filterPartEmptyMessage();
using core::filterCannotApplyMessage;

} // namespace orvento::catalogue
