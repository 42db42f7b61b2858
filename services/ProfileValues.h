#pragma once

#include <array>
#include <string_view>

namespace orvento::services::profile {

// The numbers under which a profile keeps its values, each with the fixed description written
// beside it. The numbers are stored in every agenda and shared by every workstation: never
// renumber one, and never give one number a second meaning.
struct NumberedValue {
    int number;
    const char* description;
};

// Short values (the agenda's `Uzivatelske`).
namespace value {
inline constexpr int PrintAfterNewOffer = 1;   // the print window right after a new offer
inline constexpr int DefaultTemplate = 2;      // template code for new offers, empty = none
inline constexpr int OfferReport = 3;          // default offer report
inline constexpr int OfferPrinter = 4;         // default printer for offers
inline constexpr int OfferLegendShown = 5;     // the offer list's legend shown
inline constexpr int ActiveSheet = 6;          // the catalogue's current sheet
inline constexpr int CatalogueGroupsShown = 7; // the catalogue's group panel shown
inline constexpr int CurrentFirm = 8;          // the address book's current firm
inline constexpr int AddressBookSort = 9;      // sort column of the address book
inline constexpr int CurrentOffer = 10;        // the offer list's current offer
inline constexpr int OfferListSort = 11;       // sort column of the offer list
inline constexpr int CatalogueGroupsSort = 12; // sort column of the catalogue's groups
inline constexpr int CatalogueItemsSort = 13;  // sort column of the catalogue's items
inline constexpr int GroupPanelWidth = 14;     // width of the group panel in pixels
inline constexpr int CurrentImportDefinition = 15;
inline constexpr int CatalogueWithGroupsReport = 16;
inline constexpr int CataloguePrinter = 17; // both catalogue reports share it
inline constexpr int CatalogueWithoutGroupsReport = 18;
inline constexpr int AddressBookReport = 19;
inline constexpr int AddressBookPrinter = 20;
inline constexpr int AskOnLeavingOffer = 21;  // ask when an offer is left unsaved
inline constexpr int HidePurchasePrices = 22; // purchase prices and profit hidden at first
inline constexpr int OwnBackupFolder = 23;
inline constexpr int BackupToStandardFolder = 24;
inline constexpr int BackupSharedData = 25;
inline constexpr int NoteReport = 26;
inline constexpr int NotePrinter = 27;
inline constexpr int LastDocumentFolder = 28; // last folder used when linking documents
inline constexpr int CurrentNote = 29;
inline constexpr int CatalogueWithGroupsExportReport = 30;
inline constexpr int CatalogueWithGroupsExportFile = 31;
inline constexpr int CatalogueWithoutGroupsExportReport = 32;
inline constexpr int CatalogueWithoutGroupsExportFile = 33;
inline constexpr int OfferXmlFile = 34;
inline constexpr int OfferXmlProgram = 35;
inline constexpr int OfferXmlRunProgram = 36;
inline constexpr int OfferXmlPassFile = 37;
inline constexpr int OfferSumOfMarks = 38;     // sum of the marked items shown in the offer
inline constexpr int BreakdownSumOfMarks = 39; // the same in the identifier breakdown
inline constexpr int AddressXmlFile = 40;
inline constexpr int AddressXmlProgram = 41;
inline constexpr int AddressXmlRunProgram = 42;
inline constexpr int AddressXmlPassFile = 43;
inline constexpr int BulkInsertItems = 44;  // marked catalogue items in without quantities
inline constexpr int ItemImportSource = 45; // the last choices of the item import: 45-51
inline constexpr int ItemImportKey = 46;
inline constexpr int ItemImportFile = 47;
inline constexpr int ItemImportTitlesInFirstRow = 48;
inline constexpr int ItemImportKeyColumn = 49;
inline constexpr int ItemImportCountColumn = 50;
inline constexpr int ItemImportDefaultCount = 51;
inline constexpr int DiscountPriceType = 52; // price type of the discount to a total
} // namespace value

inline constexpr std::array<NumberedValue, 52> kValues = {{
    {value::PrintAfterNewOffer, ""},
    {value::DefaultTemplate, ""},
    {value::OfferReport, "Nabídky - výchozí formulář"},
    {value::OfferPrinter, "Nabídky - index výchozí tiskárny"},
    {value::OfferLegendShown, "Nabídky - zobrazení legendy"},
    {value::ActiveSheet, "Ceník - ID aktivního listu"},
    {value::CatalogueGroupsShown, "Ceník - zobrazené skupiny"},
    {value::CurrentFirm, "Adresář - ID záznamu"},
    {value::AddressBookSort, "Adresář - SortField"},
    {value::CurrentOffer, "Nabídky - ID záznamu"},
    {value::OfferListSort, "Nabídky - SortField"},
    {value::CatalogueGroupsSort, "Ceník - SortField (skupiny)"},
    {value::CatalogueItemsSort, "Ceník - SortField (položky)"},
    {value::GroupPanelWidth, "Ceník - šířka panelu skupiny"},
    {value::CurrentImportDefinition, "Import - ID záznamu"},
    {value::CatalogueWithGroupsReport, "Ceník se skup. - výchozí formulář"},
    {value::CataloguePrinter, "Ceník - index výchozí tiskárny"},
    {value::CatalogueWithoutGroupsReport, "Ceník bez skup. - výchozí formulář"},
    {value::AddressBookReport, "Adresář - výchozí formulář"},
    {value::AddressBookPrinter, "Adresář - index výchozí tiskárny"},
    {value::AskOnLeavingOffer, "Uživatelské - dotaz při opuštění"},
    {value::HidePurchasePrices, "Uživatelské - nezobrazovat NC"},
    {value::OwnBackupFolder, "Uživatelská složka pro zálohy"},
    {value::BackupToStandardFolder, "Záloha do standardní složky"},
    {value::BackupSharedData, "Záloha společných dat"},
    {value::NoteReport, "Poznámky - výchozí formulář"},
    {value::NotePrinter, "Poznámky - index výchozí tiskárny"},
    {value::LastDocumentFolder, "Poslední otevřený adresář pro DOC"},
    {value::CurrentNote, "Poznámky - ID záznamu"},
    {value::CatalogueWithGroupsExportReport, "Ceník se skup. (Export) - výchozí formulář"},
    {value::CatalogueWithGroupsExportFile, "Ceník se skup. (Export) - název souboru"},
    {value::CatalogueWithoutGroupsExportReport, "Ceník bez skup. (Export) - výchozí formulář"},
    {value::CatalogueWithoutGroupsExportFile, "Ceník bez skup. (Export) - název souboru"},
    {value::OfferXmlFile, "Export nabídky do XML - název souboru"},
    {value::OfferXmlProgram, "Export nabídky do XML - název ext. programu"},
    {value::OfferXmlRunProgram, "Export nabídky do XML - spustit ext. program"},
    {value::OfferXmlPassFile, "Export nabídky do XML - přidat parametr"},
    {value::OfferSumOfMarks, "Součet ozn. pol. v nabídce"},
    {value::BreakdownSumOfMarks, "Součet ozn. pol. v rozpisu"},
    {value::AddressXmlFile, "Export adresy do XML - název souboru"},
    {value::AddressXmlProgram, "Export adresy do XML - název ext. programu"},
    {value::AddressXmlRunProgram, "Export adresy do XML - spustit ext. program"},
    {value::AddressXmlPassFile, "Export adresy do XML - přidat parametr"},
    {value::BulkInsertItems, "Uživatelské - hromadné vložení položek"},
    {value::ItemImportSource, "Import položek - zdroj dat"},
    {value::ItemImportKey, "Import položek - spojovací klíč"},
    {value::ItemImportFile, "Import položek - jméno souboru"},
    {value::ItemImportTitlesInFirstRow, "Import položek - nadpisy na prvním řádku"},
    {value::ItemImportKeyColumn, "Import položek - sloupec spojovací klíč"},
    {value::ItemImportCountColumn, "Import položek - sloupec počet mj"},
    {value::ItemImportDefaultCount, "Import položek - defaultní počet mj"},
    {value::DiscountPriceType, "Dopočet slevy - typ ceny bez PDH"},
}};

// Long values (the agenda's `UzivMemo`).
namespace memo {
inline constexpr int OfferListGrid = 1; // the column layouts of the five grids: 1-5
inline constexpr int AddressBookGrid = 2;
inline constexpr int OfferItemsGrid = 3;
inline constexpr int CatalogueGroupsGrid = 4;
inline constexpr int CatalogueItemsGrid = 5;
inline constexpr int SheetPositions = 6; // the current item and group remembered per sheet
inline constexpr int GroupPositions = 7; // the current item remembered per group
inline constexpr int CataloguePrintFilter = 8;
} // namespace memo

inline constexpr std::array<NumberedValue, 8> kMemos = {{
    {memo::OfferListGrid, "Nabídky - grid"},
    {memo::AddressBookGrid, "Adresář - grid"},
    {memo::OfferItemsGrid, "Nabídky položky - grid"},
    {memo::CatalogueGroupsGrid, "Ceník skupiny - grid"},
    {memo::CatalogueItemsGrid, "Ceník - grid"},
    {memo::SheetPositions, "Ceník - ID záznamů listů"},
    {memo::GroupPositions, "Ceník - ID záznamů skupin"},
    {memo::CataloguePrintFilter, "Aktuální tiskový filtr ceníku"},
}};

// Window values (the global `Uzivatelske`): five consecutive numbers per window, from 1.
inline constexpr int kValuesPerWindow = 5;
inline constexpr int kWindowValueCount = 20;

// Whether no number of a table is given twice; the tables above are checked when compiled.
template <size_t N> constexpr bool numbersDistinct(const std::array<NumberedValue, N>& table) {
    for (size_t i = 0; i < N; ++i)
        for (size_t j = i + 1; j < N; ++j)
            if (table[i].number == table[j].number)
                return false;
    return true;
}
static_assert(numbersDistinct(kValues), "a profile value number is used twice");
static_assert(numbersDistinct(kMemos), "a profile memo number is used twice");

} // namespace orvento::services::profile
