#pragma once

#include "core/Database.h"
#include "core/SqlCondition.h"

#include <QDate>
#include <QString>

#include <optional>

namespace orvento::offers {

// An inclusive range of dates; an unset bound leaves that side open.
struct DateRange {
    bool enabled = false;
    QDate from;
    QDate to;
};

// The conditions of the offer list's filter dialog (frmNabFiltr), each with its switch. The
// dialog keeps these values while the list is open.
struct OfferFilter {
    bool active = false; // "filtr aktivní"

    bool byState = false;
    int state = 0;
    bool unsettled = false; // "nevyřízené": no settlement date
    bool byFirm = false;
    qint64 firmId = 0; // `Adresar.ID`; 0 while none was chosen
    QString firmName;  // what the field shows for the chosen firm
    bool byFirmText = false;
    QString firmText;
    DateRange issued;  // `DatVystaveni`
    DateRange valid;   // `DatPlatnosti`
    DateRange settled; // `DatVyrizeni`
    bool byDescription = false;
    QString descriptionText;
    bool byTotal = false;
    double totalFrom = 0.0;
    double totalTo = 0.0;
    bool totalWithVat = true; // `Celkem`, else `CelkemBDPH`
    bool byAuthor = false;
    QString authorText;

    // The warning for a checked text condition left empty, or nothing when the filter can be
    // applied.
    std::optional<QString> problem() const;
};

// The offer list's conditions are the project's bound conditions.
using core::SqlCondition;

// The filter as a condition: the checked conditions joined with AND. A text condition holds where
// the column contains the typed text anywhere, letters of any case matching (Czech ones too), and
// every typed character standing for itself. Date bounds are whole days, both included.
SqlCondition filterCondition(const OfferFilter& filter);

// Which offers a user may see at all: every offer with the right "zobrazovat všechny nabídky",
// else only those created by the users of the pre-filter list (user numbers separated by ";").
// A list without a single number shows nothing.
SqlCondition visibilityCondition(bool seesAll, const QString& prefilterList);

using core::filterCannotApplyMessage;

} // namespace orvento::offers
