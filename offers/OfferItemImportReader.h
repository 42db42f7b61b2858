#pragma once

#include "offers/OfferItemImportSettings.h"

#include <QString>

#include <optional>
#include <vector>

namespace orvento::offers {

// One record of the source: the key to look up and the quantity to put on the added item,
// numbered from 1 in the order read.
struct ParsedRecord {
    int number = 0;
    QString key;
    double quantity = 1.0;
};

// Reads the source the settings name (the clipboard's text is given by the caller) into its
// records. Nothing, with the Czech message in `error`, when the source cannot be read or a
// quantity is no number: then nothing may be added.
std::optional<std::vector<ParsedRecord>> readItemImportRecords(const ItemImportSettings& settings,
                                                               const QString& clipboardText,
                                                               QString& error);

} // namespace orvento::offers
