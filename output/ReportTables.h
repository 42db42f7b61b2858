#pragma once

#include "output/ReportTable.h"

namespace orvento::output {

// The tables the report runner reads, each with its columns, types, sizes and captions; the
// templates bind to these names.

// The one-row table of the system data file: what the runner is to do.
ReportTable infoTable();

// An offer (print type 1, report kind 1): header, printed items, identifier breakdown.
ReportTable offerHeaderTable(); // mtHlavickaNab
ReportTable offerItemsTable();  // mtPolozkyNab
ReportTable identifierTable();  // mtRozpisIdentif
// The offer list (print type 1, report kind 2): its header and one row per offer.
ReportTable offerListHeaderTable(); // mtHlavNab
ReportTable offerListTable();       // mtSeznamNab
// The address book (print type 4) and a desktop note (print type 5).
ReportTable addressListTable(); // mtSeznamAdres
ReportTable noteTable();        // mtPoznTisk

} // namespace orvento::output
