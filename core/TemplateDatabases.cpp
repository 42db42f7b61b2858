#include "core/TemplateDatabases.h"

#include "core/AgendaInit.h"
#include "core/CatalogueRows.h"
#include "core/Database.h"
#include "core/OfferSeries.h"

#include <QFile>
#include <QUuid>

namespace orvento::core {

namespace {

struct Setting {
    int id;
    const char* popis;
    const char* hodnota;
};

// The sample firm's settings, as the settings dialog would write them.
const Setting kDemoSettings[] = {
    {1, "Firma - název", "DEMO - fiktivní firma"},
    {2, "Firma - ulice", "Průmyslová 1482/12"},
    {3, "Firma - PSČ", "602 00"},
    {4, "Firma - místo", "Brno"},
    {5, "Firma - stát", "Česká republika"},
    {6, "Firma - IČO", "12345678"},
    {7, "Firma - DIČ", "CZ12345678"},
    {8, "Firma - telefon", "+420 541 000 111"},
    {9, "Firma - fax", "+420 541 000 112"},
    {10, "Firma - mobil", "+420 603 000 113"},
    {11, "Firma - e-mail", "obchod@demo-firma.cz"},
    {12, "Firma - internet", "www.demo-firma.cz"},
    {13, "Základní sazba DPH", "21"},
    {14, "Snížená sazba DPH", "12"},
    {15, "Nabídky - zaokrouhlit cenu celkem", "1"},
    {16, "Úložiště obrázků", "%DATAPATH%Dokumenty/DEMO/OBRAZKY/"},
    {17, "Načítat obr. i při tisku nabídky", "-1"},
    {18, "Symbol domácí měny", "Kč"},
    {19, "Hisotire akcí - úroveň logování", "2"},
};

struct DemoSheet {
    const char* nazev;
    std::vector<std::pair<const char*, const char*>> groups; // name, code
};

const std::vector<DemoSheet>& demoSheets() {
    static const std::vector<DemoSheet> sheets = {
        {"Elektroinstalace",
         {{"Kabely a vodiče", "KAB"},
          {"Jističe a chrániče", "JIS"},
          {"Zásuvky a vypínače", "ZAS"},
          {"Svítidla", "SVI"}}},
        {"Nářadí",
         {{"Ruční nářadí", "RUC"}, {"Elektrické nářadí", "ELN"}, {"Měřicí přístroje", "MER"}}},
        {"Služby", {{"Montážní práce", "MON"}, {"Doprava", "DOP"}, {"Revize", "REV"}}},
    };
    return sheets;
}

bool insertDemoSheet(Database& db, const DemoSheet& sheet, int order) {
    const auto sheetId = insertSheet(db, {QString::fromUtf8(sheet.nazev), order});
    if (!sheetId || !insertGroup(db, basicGroupRecord(*sheetId)))
        return false;
    for (const auto& [name, code] : sheet.groups) {
        if (!insertGroup(db, {*sheetId, QString::fromUtf8(name), QString::fromUtf8(code), false}))
            return false;
    }
    return true;
}

} // namespace

bool fillDemoAgenda(Database& db) {
    Transaction tx(db);
    for (const Setting& s : kDemoSettings) {
        if (!db.execute(QStringLiteral("INSERT INTO Nastaveni (IDHodnoty, Popis, Hodnota) VALUES "
                                       "(:IDHodnoty, :Popis, :Hodnota)"),
                        {{QStringLiteral("IDHodnoty"), s.id},
                         {QStringLiteral("Popis"), QString::fromUtf8(s.popis)},
                         {QStringLiteral("Hodnota"), QString::fromUtf8(s.hodnota)}}))
            return false;
    }
    if (!saveOfferSeries(db, {QStringLiteral("NAB"), 1, 4}))
        return false;
    int order = 1;
    for (const DemoSheet& sheet : demoSheets()) {
        if (!insertDemoSheet(db, sheet, order++))
            return false;
    }
    return tx.commit();
}

bool buildDatabaseFile(const QString& path, DatabaseKind kind, bool demo, QString* error,
                       const DatabaseFiller& fill) {
    const QString partial = path + QStringLiteral(".part");
    QFile::remove(partial);
    {
        QFile create(partial);
        if (!create.open(QIODevice::WriteOnly)) {
            if (error)
                *error = create.errorString();
            return false;
        }
    }
    bool ok = false;
    {
        Database db(QStringLiteral("template-") + QUuid::createUuid().toString());
        ok = db.open(partial) && createSchema(db, kind) && (!demo || fillDemoAgenda(db)) &&
             (!fill || fill(db));
        if (!ok && error)
            *error = db.lastError();
        if (ok)
            db.executeDdl(QStringLiteral("VACUUM"));
        db.close();
    }
    QFile::remove(Database::ldbPathFor(partial));
    if (ok) {
        QFile::remove(path);
        ok = QFile::rename(partial, path);
        if (!ok && error)
            *error = QStringLiteral("nelze přejmenovat %1").arg(partial);
    }
    QFile::remove(partial);
    return ok;
}

} // namespace orvento::core
