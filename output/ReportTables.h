#pragma once

#include "output/ReportTable.h"

namespace orvento::output {

// The tables the report runner reads, each with its columns, types, sizes and captions; the
// templates bind to these names.

// The one-row table of the system data file: what the runner is to do.
ReportTable infoTable();

// One offer (`report_kind::Offer`): header, printed items, identifier breakdown.
ReportTable offerHeaderTable(); // mtHlavickaNab
ReportTable offerItemsTable();  // mtPolozkyNab
ReportTable identifierTable();  // mtRozpisIdentif
// The offer list (`report_kind::OfferList`): its header and one row per offer.
ReportTable offerListHeaderTable(); // mtHlavNab
ReportTable offerListTable();       // mtSeznamNab
// The address book (`print_type::AddressBook`) and a desktop note (`print_type::Note`).
ReportTable addressListTable(); // mtSeznamAdres
ReportTable noteTable();        // mtPoznTisk
// The price list (`print_type::CatalogueWithGroups` and the other three): its header, the
// sheets, the groups (with groups only) and the items.
ReportTable priceListHeaderTable(); // mtTiskHlavicka
ReportTable priceListSheetsTable(); // mtTiskSklady
ReportTable priceListGroupsTable(); // mtTiskSkupiny
ReportTable priceListItemsTable();  // mtTiskZasoby

} // namespace orvento::output
