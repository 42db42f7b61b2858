#pragma once

#include <QStringList>

#include <array>

namespace orvento::output {

// The print types: the number the print window is opened with. It is stored with every user
// report (`Sestavy.IDModulu`) and written into report templates and profiles, so a number keeps
// its meaning for good: never renumber one, never give one a second meaning.
namespace print_type {
inline constexpr int Offers = 1;                         // an offer, or the list of offers
inline constexpr int CatalogueWithGroups = 2;            // the price list sheet by sheet, by groups
inline constexpr int CatalogueWithoutGroups = 3;         // the price list sheet by sheet
inline constexpr int AddressBook = 4;                    // firms of the address book
inline constexpr int Note = 5;                           // a desktop note
inline constexpr int CatalogueWithGroupsExport = 102;    // the price list by groups, to a sheet
inline constexpr int CatalogueWithoutGroupsExport = 103; // the price list, to a spreadsheet
} // namespace print_type

// Report kinds (`Sestavy.TypSest`), stored with the user reports as well.
namespace report_kind {
inline constexpr int Offer = 1;     // one offer (print type Offers)
inline constexpr int OfferList = 2; // the offers of the list (print type Offers)
inline constexpr int Standard = 1;  // the one kind of every other print type
} // namespace report_kind

// Print types above this one fill a spreadsheet template instead of printing.
inline constexpr int kLastPrintingType = 100;
constexpr bool isExportType(int printType) {
    return printType > kLastPrintingType;
}

// The price list's print types, printed or exported, with or without groups.
constexpr bool isPriceListType(int printType) {
    return printType == print_type::CatalogueWithGroups ||
           printType == print_type::CatalogueWithoutGroups ||
           printType == print_type::CatalogueWithGroupsExport ||
           printType == print_type::CatalogueWithoutGroupsExport;
}

// A report of one offer: its print may mark the offer as sent, and it may go by e-mail.
constexpr bool isOfferReport(int printType, int kind) {
    return printType == print_type::Offers && kind == report_kind::Offer;
}

// A print type with the names of its report kinds, kind 1 first, as the properties dialog
// offers them.
struct PrintTypeEntry {
    int number;
    std::array<const char*, 2> kinds; // nullptr after the last
};

inline constexpr std::array<PrintTypeEntry, 7> kPrintTypes = {{
    {print_type::Offers, {"Nabídka", "Seznam nabídek"}},
    {print_type::CatalogueWithGroups, {"Ceník se skupinami", nullptr}},
    {print_type::CatalogueWithoutGroups, {"Ceník bez skupin", nullptr}},
    {print_type::AddressBook, {"Seznam adresáře", nullptr}},
    {print_type::Note, {"Poznámka", nullptr}},
    {print_type::CatalogueWithGroupsExport, {"Ceník se skupinami", nullptr}},
    {print_type::CatalogueWithoutGroupsExport, {"Ceník bez skupin", nullptr}},
}};

// The entry of a print type; nullptr for a number that is none.
const PrintTypeEntry* printTypeEntry(int printType);

// The report kinds of a print type, as the properties dialog offers them (TypSest 1, 2, ...).
QStringList reportKinds(int printType);

} // namespace orvento::output
