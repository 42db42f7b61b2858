#pragma once

#include "core/CatalogueView.h"
#include "output/PriceListSettings.h"
#include "output/ReportData.h"
#include "output/ReportTable.h"

#include <memory>
#include <optional>

namespace orvento::core {
class UserInteraction;
}

namespace orvento::output {

class DataSetWriter;

// The four tables of a price list, filled for one print or export.
struct PriceListTables {
    bool withGroups = true; // with `groups` and the items under them
    ReportTable header;     // mtTiskHlavicka, one row
    ReportTable sheets;     // mtTiskSklady
    ReportTable groups;     // mtTiskSkupiny (empty without groups)
    ReportTable items;      // mtTiskZasoby

    PriceListTables();
};

// The print type a price list goes to: with or without groups, printed or exported.
int priceListPrintType(bool withGroups, bool exportToSpreadsheet);

// Fills the tables with the part of the catalogue the settings choose, as the catalogue shows it
// (its current sheet, groups shown or not, its sorts and its item filter), under the wait window
// with "<zrušit>". Cost items are left out; purchase prices only for a user who may see them.
// Nothing when the person cancelled or a reading failed (after the database layer's message).
std::optional<PriceListTables> fillPriceListTables(const ReportContext& context,
                                                   const core::CatalogueView& view,
                                                   const PriceListSettings& settings,
                                                   core::UserInteraction& ui);

// Hands the tables to the report data file with their relations: sheets to groups to items,
// or sheets to items.
void addPriceListTables(DataSetWriter& writer, const PriceListTables& tables);
// The same without copying the tables: the writer shares them.
void addPriceListTables(DataSetWriter& writer,
                        const std::shared_ptr<const PriceListTables>& tables);

} // namespace orvento::output
