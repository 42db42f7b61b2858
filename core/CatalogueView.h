#pragma once

#include "core/SqlCondition.h"

#include <QString>

namespace orvento::core {

// What the catalogue window shows at a moment, for the windows that print or export it as it
// is: the current sheet, whether groups are shown, both sort fields (grid fields, never SQL) and
// the item filter's condition (empty while filtering is off).
struct CatalogueView {
    qint64 sheetId = 0;
    bool groupsShown = true;
    QString groupSort = QStringLiteral("NAZEV");
    QString itemSort = QStringLiteral("POPIS");
    SqlCondition itemFilter;

    bool filtered() const { return !itemFilter.empty(); }
};

} // namespace orvento::core
