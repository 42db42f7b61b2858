#include "output/ReportCatalogue.h"

#include "output/PrintTypes.h"

namespace orvento::output {

namespace {

constexpr const char* kCenSk = "Ceník rozdělený na skladové skupiny obsahuje Popis, Katalog, Cenu "
                               "bez a s DPH.";
constexpr const char* kCenSkP = "Ceník rozdělený na skladové skupiny obsahuje Popis, Katalog, "
                                "Cenu bez a s DPH. Pod položkou se tiskne Poznámka.";
constexpr const char* kCenD4Sk = "Dealerský ceník rozdělený na skladové skupiny obsahuje Popis a "
                                 "max. 4 ceny nadefinované před tiskem.";
constexpr const char* kCenD4SkP = "Dealerský ceník rozdělený na skladové skupiny obsahuje Popis a "
                                  "max. 4 ceny nadefinované před tiskem. Pod položkou se tiskne "
                                  "Poznámka.";
constexpr const char* kCenD6Sk = "Dealerský ceník rozdělený na skladové skupiny obsahuje Popis a "
                                 "max. 6 cen nadefinovaných před tiskem.";
constexpr const char* kCenD6SkP = "Dealerský ceník rozdělený na skladové skupiny obsahuje Popis a "
                                  "max. 6 cen nadefinovaných před tiskem. Pod položkou se tiskne "
                                  "Poznámka.";
constexpr const char* kCen = "Ceník bez skladových skupin obsahuje Popis, Katalog, Cenu bez a s "
                             "DPH.";
constexpr const char* kCenP = "Ceník bez skladových skupin obsahuje Popis, Katalog, Cenu bez a s "
                              "DPH. Pod položkou se tiskne Poznámka.";
constexpr const char* kCenD4 = "Dealerský ceník bez skladových skupin obsahuje Popis a max. 4 "
                               "ceny nadefinované před tiskem.";
constexpr const char* kCenD4P = "Dealerský ceník bez skladových skupin obsahuje Popis a max. 4 "
                                "ceny nadefinované před tiskem. Pod položkou se tiskne Poznámka.";
constexpr const char* kCenD6 = "Dealerský ceník bez skladových skupin obsahuje Popis a max. 6 cen "
                               "nadefinovaných před tiskem.";
constexpr const char* kCenD6P = "Dealerský ceník bez skladových skupin obsahuje Popis a max. 6 "
                                "cen nadefinovaných před tiskem. Pod položkou se tiskne Poznámka.";

} // namespace

std::vector<BuiltInReport> builtInReports(int printType) {
    using namespace print_type;
    using report_kind::Offer;
    using report_kind::OfferList;
    using report_kind::Standard;
    struct Row {
        int type;
        const char* name;
        const char* file;
        const char* description;
        int kind;
    };
    static const Row rows[] = {
        {Offers, "Nabídka standardní", "_NABKSP",
         "Nabídka s vyčíslením slevy a případnou poznámkou pod položkou", Offer},
        {Offers, "Nabídka standardní bez poznámek", "_NABKS",
         "Nabídka s vyčíslením slevy a skrytou poznámkou pod položkou", Offer},
        {Offers, "Nabídka standardní s obrázky", "_NABKSPO",
         "Nabídka s tiskem obrázků, které lze připojit k ceníkovým položkám", Offer},
        {Offers, "Nabídka bez tisku slev", "_NABKP",
         "Nabídka bez slevy a s případnou poznámkou pod položkou", Offer},
        {Offers, "Nabídka bez tisku slev a poznámek", "_NABK",
         "Nabídka bez slevy a skrytou poznámkou pod položkou", Offer},
        {Offers, "Nabídka bez cen položek", "_NABKPC",
         "Nabídka bez cen položek (tiskne se pouze celková cena nabídky)", Offer},
        {Offers, "Nabídka bez cen položek a poznámek", "_NABKC",
         "Nabídka se skrytou poznámkou pod položkou a bez cen položek (tiskne se pouze celková "
         "cena nabídky)",
         Offer},
        {Offers, "Seznam nabídek", "_NABSZ", "Seznam nabídek dle filtru", OfferList},
        {CatalogueWithGroups, "Standardní ceník", "_CENSK", kCenSk, Standard},
        {CatalogueWithGroupsExport, "Standardní ceník", "_CENSK", kCenSk, Standard},
        {CatalogueWithGroups, "Standardní ceník s poznámkou", "_CENSKP", kCenSkP, Standard},
        {CatalogueWithGroupsExport, "Standardní ceník s poznámkou", "_CENSKP", kCenSkP, Standard},
        {CatalogueWithGroupsExport, "Standardní ceník s pozn. (komentář)", "_CENSKP2",
         "Ceník rozdělený na skladové skupiny obsahuje Popis, Katalog, Cenu bez a s DPH. Poznámka "
         "jako komentář buňky.",
         Standard},
        {CatalogueWithGroups, "Dealerský 4 sloupce", "_CEND4SK", kCenD4Sk, Standard},
        {CatalogueWithGroupsExport, "Dealerský 4 sloupce", "_CEND4SK", kCenD4Sk, Standard},
        {CatalogueWithGroups, "Dealerský 4 sloupce s poznámkou", "_CEND4SKP", kCenD4SkP, Standard},
        {CatalogueWithGroupsExport, "Dealerský 4 sloupce s poznámkou", "_CEND4SKP", kCenD4SkP,
         Standard},
        {CatalogueWithGroups, "Dealerský 6 sloupců", "_CEND6SK", kCenD6Sk, Standard},
        {CatalogueWithGroupsExport, "Dealerský 6 sloupců", "_CEND6SK", kCenD6Sk, Standard},
        {CatalogueWithGroups, "Dealerský 6 sloupců s poznámkou", "_CEND6SKP", kCenD6SkP, Standard},
        {CatalogueWithGroupsExport, "Dealerský 6 sloupců s poznámkou", "_CEND6SKP", kCenD6SkP,
         Standard},
        {CatalogueWithoutGroups, "Standardní ceník", "_CEN", kCen, Standard},
        {CatalogueWithoutGroupsExport, "Standardní ceník", "_CEN", kCen, Standard},
        {CatalogueWithoutGroups, "Standardní ceník s poznámkou", "_CENP", kCenP, Standard},
        {CatalogueWithoutGroupsExport, "Standardní ceník s poznámkou", "_CENP", kCenP, Standard},
        {CatalogueWithoutGroupsExport, "Standardní ceník s pozn. (komentář)", "_CENP2",
         "Ceník bez skladových skupin obsahuje Popis, Katalog, Cenu bez a s DPH. Poznámka jako "
         "komentář.",
         Standard},
        {CatalogueWithoutGroups, "Dealerský 4 sloupce", "_CEND4", kCenD4, Standard},
        {CatalogueWithoutGroupsExport, "Dealerský 4 sloupce", "_CEND4", kCenD4, Standard},
        {CatalogueWithoutGroups, "Dealerský 4 sloupce s poznámkou", "_CEND4P", kCenD4P, Standard},
        {CatalogueWithoutGroupsExport, "Dealerský 4 sloupce s poznámkou", "_CEND4P", kCenD4P,
         Standard},
        {CatalogueWithoutGroups, "Dealerský 6 sloupců", "_CEND6", kCenD6, Standard},
        {CatalogueWithoutGroupsExport, "Dealerský 6 sloupců", "_CEND6", kCenD6, Standard},
        {CatalogueWithoutGroups, "Dealerský 6 sloupců s poznámkou", "_CEND6P", kCenD6P, Standard},
        {CatalogueWithoutGroupsExport, "Dealerský 6 sloupců s poznámkou", "_CEND6P", kCenD6P,
         Standard},
        {AddressBook, "Seznam adresáře", "_ADRSZ", "Jednořádkový seznam adres", Standard},
        {AddressBook, "Adresní karty", "_ADRSZKT", "Detailní seznam adres", Standard},
        {Note, "Poznámka", "_POZN", "Karta poznámky", Standard},
    };
    std::vector<BuiltInReport> out;
    for (const Row& r : rows)
        if (r.type == printType)
            out.push_back({QString::fromUtf8(r.name), QString::fromLatin1(r.file),
                           QString::fromUtf8(r.description), r.kind});
    return out;
}

} // namespace orvento::output
