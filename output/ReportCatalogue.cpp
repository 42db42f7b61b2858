#include "output/ReportCatalogue.h"

namespace orvento::output {

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
