#include "import/DemoImport.h"

#include "core/CatalogueRows.h"
#include "core/Database.h"
#include "import/ImportDefinition.h"
#include "import/ImportDefinitionStore.h"

#include <QSaveFile>
#include <QSqlQuery>

#include <cmath>
#include <random>

namespace orvento::import {

namespace {

constexpr quint32 kSeed = 2026;
constexpr int kEveryOtherItem = 2;
constexpr double kMinRise = 0.02; // the supplier's new prices: 2 to 9 % up
constexpr double kMaxRise = 0.09;
constexpr int kFirstNewNumber = 10001;
constexpr double kCents = 100.0;
const QString kNewItemsSheet = QStringLiteral("Elektroinstalace");
const QString kNewItemsPriceGroup = QStringLiteral("ELEKTRO");
constexpr int kWholeUnits = 1;
constexpr double kStandardVat = 21.0;

// New wares of the supplier: names combined with variants, the unit and the price range.
struct NewWares {
    QStringList names;
    QStringList variants;
    const char* unit;
    double minPrice;
    double maxPrice;
};

const std::vector<NewWares>& newWares() {
    static const std::vector<NewWares> wares = {
        {{QStringLiteral("Krabice přístrojová KP 68"), QStringLiteral("Krabice odbočná KO 97"),
          QStringLiteral("Krabice do dutých stěn KPR 68"),
          QStringLiteral("Krabice na omítku IP54")},
         {QStringLiteral("šedá"), QStringLiteral("bílá"), QStringLiteral("s víčkem"),
          QStringLiteral("bezhalogenová"), QStringLiteral("balení 10 ks")},
         "ks",
         4.5,
         85.0},
        {{QStringLiteral("Lišta vkládací LV"), QStringLiteral("Lišta parapetní PK"),
          QStringLiteral("Žlab kabelový drátěný"), QStringLiteral("Trubka ohebná FXP")},
         {QStringLiteral("18x13"), QStringLiteral("24x22"), QStringLiteral("40x40"),
          QStringLiteral("60x40"), QStringLiteral("DN 20"), QStringLiteral("DN 32")},
         "m",
         9.0,
         260.0},
        {{QStringLiteral("Svorka bezšroubová"), QStringLiteral("Svorka řadová RSA"),
          QStringLiteral("Svorkovnice můstková"), QStringLiteral("Konektor páková svorka")},
         {QStringLiteral("2x2,5"), QStringLiteral("3x4"), QStringLiteral("5x2,5"),
          QStringLiteral("12 pólů"), QStringLiteral("balení 50 ks")},
         "ks",
         1.8,
         140.0},
        {{QStringLiteral("Rozvodnice nástěnná"), QStringLiteral("Rozvodnice zapuštěná"),
          QStringLiteral("Skříň elektroměrová"), QStringLiteral("Přípojková skříň SS")},
         {QStringLiteral("12 modulů"), QStringLiteral("24 modulů"), QStringLiteral("36 modulů"),
          QStringLiteral("IP65")},
         "ks",
         420.0,
         6900.0},
        {{QStringLiteral("Stykač modulový"), QStringLiteral("Relé impulsní"),
          QStringLiteral("Spínací hodiny digitální"), QStringLiteral("Soumrakový spínač")},
         {QStringLiteral("16 A"), QStringLiteral("25 A"), QStringLiteral("230 V"),
          QStringLiteral("1 kanál"), QStringLiteral("2 kanály")},
         "ks",
         290.0,
         2400.0},
        {{QStringLiteral("Páska izolační PVC"), QStringLiteral("Bužírka smršťovací"),
          QStringLiteral("Pásek stahovací"), QStringLiteral("Příchytka kabelová")},
         {QStringLiteral("černá"), QStringLiteral("zelenožlutá"), QStringLiteral("modrá"),
          QStringLiteral("balení 100 ks")},
         "bal",
         12.0,
         190.0},
    };
    return wares;
}

double roundedPrice(double value) {
    return std::round(value * kCents) / kCents;
}

QString number(double value) {
    QString text = QString::number(value, 'f', 2);
    if (text.endsWith(QStringLiteral(".00")))
        text.chop(3);
    return text.replace(QLatin1Char('.'), QLatin1Char(','));
}

struct NewItemsPlace {
    qint64 sheet = 0;
    qint64 group = 0;
};

std::optional<NewItemsPlace> newItemsPlace(core::Database& demo) {
    QSqlQuery q = demo.select(
        QStringLiteral("SELECT g.ID, g.Sklad FROM Skupiny g INNER JOIN Sklady s ON s.ID = g.Sklad "
                       "WHERE s.Nazev = :Sklad AND g.Nazev = :Skupina ORDER BY g.ID"),
        {{QStringLiteral("Sklad"), kNewItemsSheet},
         {QStringLiteral("Skupina"), core::kBasicGroupName}});
    if (!q.next())
        return std::nullopt;
    return NewItemsPlace{q.value(1).toLongLong(), q.value(0).toLongLong()};
}

ImportDefinition supplierDefinition(const NewItemsPlace& place) {
    ImportDefinition d = newDefinition(DefinitionKind::PriceList);
    d.compare = true;
    d.refField = QStringLiteral("KATALOG");
    d.createMissing = true;
    const QStringList columns = supplierColumns();
    d.refColumn = columns.at(0);
    PriceListSettings& p = d.priceList;
    const auto map = [&p](PriceListField field, const QString& column) {
        FieldMapping& m = p.field(field);
        m.imported = true;
        m.source = ValueSource::Column;
        m.column = column;
    };
    map(PriceListField::Katalog, columns.at(0));
    map(PriceListField::Popis, columns.at(1));
    map(PriceListField::TextMJ, columns.at(2));
    map(PriceListField::NakCena, columns.at(3));
    map(PriceListField::SazbaDPH, columns.at(4));
    p.newItemsSheet = place.sheet;
    p.newItemsGroup = place.group;
    // The wares already in the catalogue keep their own price settings; new ones get the
    // installation material's price group, whole-unit rounding and automatic recalculation.
    p.onlyNewItems = true;
    p.setPriceGroup = true;
    p.priceGroup = kNewItemsPriceGroup;
    p.setRounding = true;
    p.rounding = kWholeUnits;
    p.setRecompute = true;
    p.recompute = RecomputeChoice::Yes;
    p.recomputeBy = MarginKind::Margin;
    return d;
}

} // namespace

QString demoStoredPath(const QString& file) {
    return QStringLiteral("%DATAPATH%Dokumenty/DEMO/") + demoImportFolder() + QLatin1Char('/') +
           file;
}

bool writeDemoCsv(const QString& path, const QStringList& header,
                  const std::vector<QStringList>& rows) {
    const auto field = [](const QString& text) -> QString {
        if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')))
            return text;
        return QLatin1Char('"') +
               QString(text).replace(QStringLiteral("\""), QStringLiteral("\"\"")) +
               QLatin1Char('"');
    };
    const auto line = [&field](const QStringList& fields) {
        QStringList quoted;
        for (const QString& f : fields)
            quoted << field(f);
        return quoted.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    };
    QString text = line(header);
    for (const QStringList& row : rows)
        text += line(row);
    QSaveFile file(path);
    const QByteArray bytes = QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

QStringList supplierColumns() {
    return {QStringLiteral("Kat. číslo"), QStringLiteral("Název"), QStringLiteral("MJ"),
            QStringLiteral("Cena bez DPH"), QStringLiteral("DPH %")};
}

QString demoImportFolder() {
    return QStringLiteral("Import");
}

QString demoCsvFileName() {
    return QStringLiteral("cenik_dodavatele.csv");
}

QString demoWorkbookFileName() {
    return QStringLiteral("cenik_dodavatele.xlsx");
}

QString demoWorkbookSheet() {
    return QStringLiteral("Ceník");
}

QString demoCsvDefinitionName() {
    return QStringLiteral("Ceník dodavatele (CSV)");
}

QString demoWorkbookDefinitionName() {
    return QStringLiteral("Ceník dodavatele (Excel)");
}

std::vector<SupplierRow> demoSupplierRows(core::Database& demo) {
    std::vector<SupplierRow> rows;
    std::mt19937 random(kSeed);
    std::uniform_real_distribution<double> rise(kMinRise, kMaxRise);
    QSqlQuery q = demo.select(
        QStringLiteral("SELECT Katalog, Popis, TextMJ, NakCena, SazbaDPH FROM Zasoby ORDER BY ID"));
    int index = 0;
    while (q.next()) {
        const QString catalogue = q.value(0).toString();
        if (catalogue.isEmpty() || index++ % kEveryOtherItem != 0)
            continue;
        rows.push_back({catalogue, q.value(1).toString(), q.value(2).toString(),
                        roundedPrice(q.value(3).toDouble() * (1.0 + rise(random))),
                        q.value(4).toDouble()});
    }
    q.finish();
    int serial = kFirstNewNumber;
    for (const NewWares& w : newWares()) {
        std::uniform_real_distribution<double> price(w.minPrice, w.maxPrice);
        for (const QString& name : w.names) {
            for (const QString& variant : w.variants) {
                rows.push_back({QStringLiteral("DOD-%1").arg(serial++),
                                name + QLatin1Char(' ') + variant, QString::fromLatin1(w.unit),
                                roundedPrice(price(random)), kStandardVat});
            }
        }
    }
    return rows;
}

bool writeSupplierCsv(const QString& path, const std::vector<SupplierRow>& rows) {
    std::vector<QStringList> lines;
    lines.reserve(rows.size());
    for (const SupplierRow& r : rows)
        lines.push_back({r.catalogue, r.description, r.unit, number(r.price), number(r.vat)});
    return writeDemoCsv(path, supplierColumns(), lines);
}

bool fillDemoImportDefinitions(core::Database& demo, QString& error) {
    const auto place = newItemsPlace(demo);
    if (!place) {
        error = QStringLiteral("the demo agenda has no sheet %1 with its basic group")
                    .arg(kNewItemsSheet);
        return false;
    }
    ImportDefinition csv = supplierDefinition(*place);
    csv.name = demoCsvDefinitionName();
    csv.description =
        QStringLiteral("Aktualizace nákupních cen a nové položky z ceníku dodavatele ve formátu "
                       "CSV (středníkem oddělené hodnoty).");
    csv.sourceKind = core::sources::SourceKind::Csv;
    csv.fileName = demoStoredPath(demoCsvFileName());
    csv.tableName = QString(demoCsvFileName()).replace(QLatin1Char('.'), QLatin1Char('#'));

    ImportDefinition workbook = supplierDefinition(*place);
    workbook.name = demoWorkbookDefinitionName();
    workbook.description = QStringLiteral(
        "Aktualizace nákupních cen a nové položky z ceníku dodavatele v sešitu MS Excel.");
    workbook.sourceKind = core::sources::SourceKind::Xls;
    workbook.fileName = demoStoredPath(demoWorkbookFileName());
    workbook.tableName = demoWorkbookSheet();

    ImportDefinitionStore store(demo);
    return store.insert(csv, error) && store.insert(workbook, error);
}

} // namespace orvento::import
