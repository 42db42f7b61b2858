#include "output/ReportCatalogue.h"

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
    struct Row {
        int type;
        const char* name;
        const char* file;
        const char* description;
        int kind;
    };
    static const Row rows[] = {
        {1, "Nabídka standardní", "_NABKSP",
         "Nabídka s vyčíslením slevy a případnou poznámkou pod položkou", 1},
        {1, "Nabídka standardní bez poznámek", "_NABKS",
         "Nabídka s vyčíslením slevy a skrytou poznámkou pod položkou", 1},
        {1, "Nabídka standardní s obrázky", "_NABKSPO",
         "Nabídka s tiskem obrázků, které lze připojit k ceníkovým položkám", 1},
        {1, "Nabídka bez tisku slev", "_NABKP",
         "Nabídka bez slevy a s případnou poznámkou pod položkou", 1},
        {1, "Nabídka bez tisku slev a poznámek", "_NABK",
         "Nabídka bez slevy a skrytou poznámkou pod položkou", 1},
        {1, "Nabídka bez cen položek", "_NABKPC",
         "Nabídka bez cen položek (tiskne se pouze celková cena nabídky)", 1},
        {1, "Nabídka bez cen položek a poznámek", "_NABKC",
         "Nabídka se skrytou poznámkou pod položkou a bez cen položek (tiskne se pouze celková "
         "cena nabídky)",
         1},
        {1, "Seznam nabídek", "_NABSZ", "Seznam nabídek dle filtru", 2},
        {2, "Standardní ceník", "_CENSK", kCenSk, 1},
        {102, "Standardní ceník", "_CENSK", kCenSk, 1},
        {2, "Standardní ceník s poznámkou", "_CENSKP", kCenSkP, 1},
        {102, "Standardní ceník s poznámkou", "_CENSKP", kCenSkP, 1},
        {102, "Standardní ceník s pozn. (komentář)", "_CENSKP2",
         "Ceník rozdělený na skladové skupiny obsahuje Popis, Katalog, Cenu bez a s DPH. Poznámka "
         "jako komentář buňky.",
         1},
        {2, "Dealerský 4 sloupce", "_CEND4SK", kCenD4Sk, 1},
        {102, "Dealerský 4 sloupce", "_CEND4SK", kCenD4Sk, 1},
        {2, "Dealerský 4 sloupce s poznámkou", "_CEND4SKP", kCenD4SkP, 1},
        {102, "Dealerský 4 sloupce s poznámkou", "_CEND4SKP", kCenD4SkP, 1},
        {2, "Dealerský 6 sloupců", "_CEND6SK", kCenD6Sk, 1},
        {102, "Dealerský 6 sloupců", "_CEND6SK", kCenD6Sk, 1},
        {2, "Dealerský 6 sloupců s poznámkou", "_CEND6SKP", kCenD6SkP, 1},
        {102, "Dealerský 6 sloupců s poznámkou", "_CEND6SKP", kCenD6SkP, 1},
        {3, "Standardní ceník", "_CEN", kCen, 1},
        {103, "Standardní ceník", "_CEN", kCen, 1},
        {3, "Standardní ceník s poznámkou", "_CENP", kCenP, 1},
        {103, "Standardní ceník s poznámkou", "_CENP", kCenP, 1},
        {103, "Standardní ceník s pozn. (komentář)", "_CENP2",
         "Ceník bez skladových skupin obsahuje Popis, Katalog, Cenu bez a s DPH. Poznámka jako "
         "komentář.",
         1},
        {3, "Dealerský 4 sloupce", "_CEND4", kCenD4, 1},
        {103, "Dealerský 4 sloupce", "_CEND4", kCenD4, 1},
        {3, "Dealerský 4 sloupce s poznámkou", "_CEND4P", kCenD4P, 1},
        {103, "Dealerský 4 sloupce s poznámkou", "_CEND4P", kCenD4P, 1},
        {3, "Dealerský 6 sloupců", "_CEND6", kCenD6, 1},
        {103, "Dealerský 6 sloupců", "_CEND6", kCenD6, 1},
        {3, "Dealerský 6 sloupců s poznámkou", "_CEND6P", kCenD6P, 1},
        {103, "Dealerský 6 sloupců s poznámkou", "_CEND6P", kCenD6P, 1},
        {4, "Seznam adresáře", "_ADRSZ", "Jednořádkový seznam adres", 1},
        {4, "Adresní karty", "_ADRSZKT", "Detailní seznam adres", 1},
        {5, "Poznámka", "_POZN", "Karta poznámky", 1},
    };
    std::vector<BuiltInReport> out;
    for (const Row& r : rows)
        if (r.type == printType)
            out.push_back({QString::fromUtf8(r.name), QString::fromLatin1(r.file),
                           QString::fromUtf8(r.description), r.kind});
    return out;
}

} // namespace orvento::output
