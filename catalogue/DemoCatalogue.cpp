#include "catalogue/DemoCatalogue.h"

#include "catalogue/IdentifierCodes.h"
#include "catalogue/IdentifierRecords.h"
#include "catalogue/ItemRecord.h"
#include "catalogue/PictureLoader.h"
#include "catalogue/PictureStore.h"
#include "catalogue/PriceLevelRecords.h"
#include "catalogue/pricing/ItemPricing.h"
#include "catalogue/pricing/PercentAdjustment.h"
#include "catalogue/pricing/Rounding.h"
#include "core/Database.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRadialGradient>
#include <QSaveFile>
#include <QStringList>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <utility>
#include <vector>

namespace orvento::catalogue {

namespace {

// What one group offers: names that are combined with variants, the unit, the purchase price
// range and the VAT rate.
struct GroupWares {
    QStringList names;
    QStringList variants;
    QString unit;
    double minPrice;
    double maxPrice;
    double vat;
};

const std::map<QString, GroupWares>& wares() {
    static const std::map<QString, GroupWares> w = {
        {QStringLiteral("KAB"),
         {{QStringLiteral("Kabel CYKY"), QStringLiteral("Kabel CYSY"), QStringLiteral("Vodič CY"),
           QStringLiteral("Vodič CYA"), QStringLiteral("Kabel UTP Cat.6"),
           QStringLiteral("Chránička ohebná"), QStringLiteral("Kabel CGSG"),
           QStringLiteral("Kabel koaxiální")},
          {QStringLiteral("3x1,5"), QStringLiteral("3x2,5"), QStringLiteral("5x1,5"),
           QStringLiteral("5x2,5"), QStringLiteral("4x10")},
          QStringLiteral("m"),
          6.0,
          95.0,
          21.0}},
        {QStringLiteral("JIS"),
         {{QStringLiteral("Jistič B"), QStringLiteral("Jistič C"),
           QStringLiteral("Proudový chránič"), QStringLiteral("Svodič přepětí"),
           QStringLiteral("Jistič D"), QStringLiteral("Motorový spouštěč")},
          {QStringLiteral("10A 1P"), QStringLiteral("16A 1P"), QStringLiteral("20A 1P"),
           QStringLiteral("25A 3P"), QStringLiteral("32A 3P")},
          QStringLiteral("ks"),
          85.0,
          1850.0,
          21.0}},
        {QStringLiteral("ZAS"),
         {{QStringLiteral("Zásuvka jednonásobná"), QStringLiteral("Zásuvka dvojnásobná"),
           QStringLiteral("Vypínač č. 1"), QStringLiteral("Přepínač č. 6"),
           QStringLiteral("Rámeček jednonásobný"), QStringLiteral("Zásuvka s víčkem IP44"),
           QStringLiteral("Stmívač otočný")},
          {QStringLiteral("bílá"), QStringLiteral("béžová"), QStringLiteral("antracit"),
           QStringLiteral("nerez")},
          QStringLiteral("ks"),
          35.0,
          420.0,
          21.0}},
        {QStringLiteral("SVI"),
         {{QStringLiteral("Svítidlo LED panel"), QStringLiteral("Žárovka LED E27"),
           QStringLiteral("Reflektor LED"), QStringLiteral("Čidlo pohybu"),
           QStringLiteral("Lineární svítidlo"), QStringLiteral("Nouzové svítidlo")},
          {QStringLiteral("10 W"), QStringLiteral("20 W"), QStringLiteral("36 W"),
           QStringLiteral("50 W")},
          QStringLiteral("ks"),
          45.0,
          1600.0,
          21.0}},
        {QStringLiteral("RUC"),
         {{QStringLiteral("Šroubovák plochý"), QStringLiteral("Šroubovák křížový"),
           QStringLiteral("Kleště kombinované"), QStringLiteral("Kleště štípací"),
           QStringLiteral("Klíč očkoplochý"), QStringLiteral("Kladivo zámečnické"),
           QStringLiteral("Pilka na kov"), QStringLiteral("Odizolovací kleště")},
          {QStringLiteral("malý"), QStringLiteral("střední"), QStringLiteral("velký"),
           QStringLiteral("izolovaný 1000 V")},
          QStringLiteral("ks"),
          60.0,
          690.0,
          21.0}},
        {QStringLiteral("ELN"),
         {{QStringLiteral("Vrtačka příklepová"), QStringLiteral("Aku šroubovák"),
           QStringLiteral("Úhlová bruska"), QStringLiteral("Čerpadlo ponorné"),
           QStringLiteral("Přímočará pila"), QStringLiteral("Kombinované kladivo")},
          {QStringLiteral("Bosch"), QStringLiteral("Makita"), QStringLiteral("Narex"),
           QStringLiteral("Hilti")},
          QStringLiteral("ks"),
          1200.0,
          9800.0,
          21.0}},
        {QStringLiteral("MER"),
         {{QStringLiteral("Multimetr digitální"), QStringLiteral("Zkoušečka napětí"),
           QStringLiteral("Měřič izolačního odporu"), QStringLiteral("Klešťový ampérmetr"),
           QStringLiteral("Laserový dálkoměr"), QStringLiteral("Detektor kovů")},
          {QStringLiteral("základní"), QStringLiteral("profi"), QStringLiteral("s USB")},
          QStringLiteral("ks"),
          250.0,
          14500.0,
          21.0}},
        {QStringLiteral("MON"),
         {{QStringLiteral("Montáž zásuvky"), QStringLiteral("Montáž svítidla"),
           QStringLiteral("Výměna jističe"), QStringLiteral("Hodinová sazba technika"),
           QStringLiteral("Chemická kotva - osazení")},
          {QStringLiteral("v bytě"), QStringLiteral("v rodinném domě"),
           QStringLiteral("v provozovně")},
          QStringLiteral("hod"),
          250.0,
          650.0,
          12.0}},
        {QStringLiteral("DOP"),
         {{QStringLiteral("Doprava dodávkou"), QStringLiteral("Přesun hmot"),
           QStringLiteral("Vratná paleta")},
          {QStringLiteral("do 10 km"), QStringLiteral("do 50 km"), QStringLiteral("nad 50 km")},
          QStringLiteral("km"),
          12.0,
          40.0,
          0.0}},
        {QStringLiteral("REV"),
         {{QStringLiteral("Revize elektroinstalace"), QStringLiteral("Revize hromosvodu"),
           QStringLiteral("Revize spotřebičů"), QStringLiteral("Výchozí revize")},
          {QStringLiteral("byt"), QStringLiteral("rodinný dům"), QStringLiteral("provozovna")},
          QStringLiteral("ks"),
          900.0,
          4800.0,
          21.0}},
    };
    return w;
}

// An EAN-13 with its check digit.
QString ean13(quint64 body) {
    QString digits = QStringLiteral("859%1").arg(body % 1000000000ULL, 9, 10, QLatin1Char('0'));
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (digits.at(i).digitValue()) * (i % 2 ? 3 : 1);
    return digits + QString::number((10 - sum % 10) % 10);
}

ItemPriceFields priced(double nakCena, double marze, double vat, bool withVat, int zaok) {
    ItemPricing pricing;
    pricing.setSazbaDPH(vat);
    pricing.setZaok(zaok);
    pricing.setSDPH(withVat);
    pricing.setTypHodnoty(ItemValueType::Margin);
    pricing.setMarze(marze);
    pricing.setNakCena(nakCena);
    pricing.setPrepocitat(true);
    pricing.recompute();
    return pricing.fields();
}

// Writes items through one prepared statement of the item card's own insert.
class ItemWriter {
public:
    explicit ItemWriter(core::Database& db)
        : m_insert(db, zasobyMapping().insertSql()) {}

    bool insert(const ItemRecord& item) { return m_insert.exec(zasobyMapping().params(item)); }

private:
    core::Statement m_insert;
};

// A price within the range, on whole crowns or tenths as a price list would quote it.
double purchasePrice(std::mt19937& random, double low, double high) {
    std::uniform_real_distribution<double> range(low, high);
    return static_cast<double>(static_cast<qint64>(range(random) * 10.0)) / 10.0;
}

// The demo's price levels: two computed from the basic sale price, one from the purchase price,
// two fixed ones whose prices some items carry.
struct DemoLevel {
    const char* code;
    const char* name;
    int type;
    double value;
    int base;
    int zaok;
    bool withVat;
    bool computed;
};

const DemoLevel kDemoLevels[] = {
    {"DEALER", "Dealerská cena", LevelValueType::Discount, 12.0, LevelBase::SalePrice,
     RoundingCode::WholeUnits, false, true},
    {"VO", "Velkoobchodní cena", LevelValueType::Margin, 15.0, LevelBase::Purchase,
     RoundingCode::Tenths, false, true},
    {"PROJEKT", "Projektová cena", LevelValueType::Discount, 5.0, LevelBase::SalePrice,
     RoundingCode::WholeUnits, true, true},
    {"AKCE", "Akční cena", LevelValueType::Discount, 0.0, LevelBase::SalePrice,
     RoundingCode::WholeUnits, true, false},
    {"SMLUVNI", "Smluvní cena", LevelValueType::Discount, 0.0, LevelBase::SalePrice,
     RoundingCode::Tenths, false, false},
};

// A group's level row: taken over from its level, or with the group's own values.
struct DemoRow {
    const char* level;
    std::optional<LevelParameters> own;
};

// The demo's price groups and the catalogue groups whose items belong to them. A group that
// dictates the basic-price settings prices its items by them.
struct DemoGroup {
    const char* code;
    const char* name;
    bool ownSettings; // Vlastni
    double margin;
    int zaok;
    std::vector<DemoRow> rows;
    QStringList wares;
};

const std::vector<DemoGroup>& demoGroups() {
    static const std::vector<DemoGroup> groups = {
        {"ELEKTRO",
         "Elektroinstalační materiál",
         true,
         0.0,
         RoundingCode::FourDecimals,
         {{"DEALER", {}}, {"VO", {}}, {"AKCE", {}}},
         {QStringLiteral("KAB"), QStringLiteral("JIS"), QStringLiteral("ZAS"),
          QStringLiteral("SVI")}},
        {"NARADI",
         "Nářadí a měřicí přístroje",
         false,
         30.0,
         RoundingCode::WholeUnits,
         {{"DEALER", {}}, {"PROJEKT", {}}, {"AKCE", {}}, {"SMLUVNI", {}}},
         {QStringLiteral("RUC"), QStringLiteral("ELN"), QStringLiteral("MER")}},
        {"SLUZBY",
         "Služby a práce",
         true,
         0.0,
         RoundingCode::FourDecimals,
         {{"VO", LevelParameters{8.0, LevelValueType::Margin, LevelBase::Purchase,
                                 RoundingCode::WholeUnits, false, true}},
          {"PROJEKT", {}}},
         {QStringLiteral("MON"), QStringLiteral("REV")}},
    };
    return groups;
}

const DemoLevel* demoLevel(const QString& code) {
    for (const DemoLevel& level : kDemoLevels) {
        if (code == QLatin1String(level.code))
            return &level;
    }
    return nullptr;
}

LevelParameters parametersOf(const DemoLevel& level) {
    return {level.value, level.type, level.base, level.zaok, level.withVat, level.computed};
}

bool writeLevelsAndGroups(core::Database& db) {
    for (const DemoLevel& level : kDemoLevels) {
        PriceLevel row;
        row.Zkratka = QString::fromLatin1(level.code);
        row.Popis = QString::fromUtf8(level.name);
        row.values = parametersOf(level);
        if (!db.execute(priceLevelMapping().insertSql(), priceLevelMapping().params(row)))
            return false;
    }
    for (const DemoGroup& g : demoGroups()) {
        PriceGroup group;
        group.Zkratka = QString::fromLatin1(g.code);
        group.Popis = QString::fromUtf8(g.name);
        group.Vlastni = g.ownSettings;
        group.TypHodnoty = ItemValueType::Margin;
        group.Marze = g.margin;
        group.Zaok = g.zaok;
        group.Prepocitat = !g.ownSettings;
        if (!db.execute(priceGroupMapping().insertSql(), priceGroupMapping().params(group)))
            return false;
        const qint64 groupId = db.newRowId();
        for (const DemoRow& r : g.rows) {
            GroupLevelRow row;
            row.IDCenSkup = groupId;
            row.Zkratka = QString::fromLatin1(r.level);
            row.Prevzato = !r.own;
            const DemoLevel* level = demoLevel(row.Zkratka);
            if (!r.own && level == nullptr)
                return false;
            row.values = r.own ? *r.own : parametersOf(*level);
            if (!db.execute(groupLevelRowMapping().insertSql(), groupLevelRowMapping().params(row)))
                return false;
        }
    }
    return true;
}

const DemoGroup* priceGroupOfWares(const QString& waresCode) {
    for (const DemoGroup& g : demoGroups()) {
        if (g.wares.contains(waresCode))
            return &g;
    }
    return nullptr;
}

// The fixed prices an item carries: some items have a promotional price a few percent below
// their price with VAT, some a negotiated one below their price without VAT. The slots follow
// the order of the group's rows, as the item card stores them.
FixedSlots demoFixedPrices(const DemoGroup& group, const ItemPriceFields& price, int serial) {
    FixedSlots filled;
    size_t next = 0;
    for (const DemoRow& r : group.rows) {
        const DemoLevel& level = *demoLevel(QString::fromLatin1(r.level));
        if (level.computed)
            continue;
        const bool promotional = level.withVat;
        if (serial % (promotional ? 4 : 3) != 1)
            continue;
        const PricePair pair = levelPricePair(
            LevelValueType::Discount, promotional ? price.PrCenaSDPH : price.PrCenaBDPH,
            level.withVat, promotional ? 8.0 : 15.0, price.SazbaDPH, level.zaok);
        filled.at(next++) = {QString::fromLatin1(level.code), pair.net, pair.gross, level.withVat};
    }
    return filled;
}

// The availability letters of the card, most goods in stock; services have none.
QString demoAvailability(const GroupWares& w, int serial) {
    if (w.unit != QLatin1String("ks") && w.unit != QLatin1String("m"))
        return {};
    if (serial % 11 == 0)
        return QStringLiteral("O");
    if (serial % 17 == 0)
        return QStringLiteral("P");
    if (serial % 29 == 0)
        return QStringLiteral("N");
    return QStringLiteral("S");
}

// A small picture of the first item of some groups, drawn without text.
struct DemoPicture {
    const char* wares;
    const char* name;
    std::function<void(QPainter&)> draw;
};

const std::vector<DemoPicture>& demoPictures() {
    static const std::vector<DemoPicture> pictures = {
        {"KAB", "kabel_cyky.jpg",
         [](QPainter& p) {
             const QColor wires[] = {QColor(120, 70, 30), QColor(30, 80, 200), QColor(40, 160, 60)};
             for (int i = 0; i < 3; ++i) {
                 p.setPen(QPen(wires[i], 14, Qt::SolidLine, Qt::RoundCap));
                 p.drawArc(QRect(30 + i * 18, 25 + i * 10, 120, 100), 30 * 16, 250 * 16);
             }
         }},
        {"JIS", "jistic_b16.jpg",
         [](QPainter& p) {
             p.fillRect(QRect(0, 65, 200, 20), QColor(170, 170, 175));
             p.setBrush(QColor(245, 245, 240));
             p.drawRoundedRect(QRect(70, 15, 60, 120), 6, 6);
             p.setBrush(QColor(30, 30, 30));
             p.drawRect(QRect(92, 40, 16, 34));
         }},
        {"ZAS", "zasuvka_bila.jpg",
         [](QPainter& p) {
             p.setBrush(QColor(250, 250, 250));
             p.drawRoundedRect(QRect(45, 20, 110, 110), 14, 14);
             p.setBrush(QColor(225, 225, 225));
             p.drawEllipse(QPoint(100, 75), 38, 38);
             p.setBrush(QColor(40, 40, 40));
             p.drawEllipse(QPoint(84, 80), 6, 6);
             p.drawEllipse(QPoint(116, 80), 6, 6);
             p.drawRect(QRect(97, 42, 6, 14));
         }},
        {"SVI", "svitidlo_led.jpg",
         [](QPainter& p) {
             p.fillRect(QRect(0, 0, 200, 150), QColor(30, 35, 60));
             QRadialGradient glow(QPointF(100, 75), 60);
             glow.setColorAt(0, QColor(255, 250, 200));
             glow.setColorAt(1, QColor(30, 35, 60));
             p.setBrush(glow);
             p.setPen(Qt::NoPen);
             p.drawEllipse(QPoint(100, 75), 60, 60);
         }},
        {"ELN", "vrtacka.jpg",
         [](QPainter& p) {
             p.setBrush(QColor(0, 120, 90));
             p.drawRoundedRect(QRect(40, 40, 100, 40), 10, 10);
             p.drawRoundedRect(QRect(70, 75, 30, 60), 6, 6);
             p.setBrush(QColor(90, 90, 95));
             p.drawRect(QRect(140, 50, 25, 20));
             p.drawRect(QRect(165, 57, 25, 6));
         }},
        {"MER", "multimetr.jpg",
         [](QPainter& p) {
             p.setBrush(QColor(240, 190, 20));
             p.drawRoundedRect(QRect(60, 10, 80, 130), 10, 10);
             p.setBrush(QColor(60, 80, 70));
             p.drawRect(QRect(72, 22, 56, 30));
             p.setBrush(QColor(40, 40, 40));
             p.drawEllipse(QPoint(100, 95), 22, 22);
         }},
    };
    return pictures;
}

QString demoPictureOf(const QString& waresCode) {
    for (const DemoPicture& picture : demoPictures()) {
        if (waresCode == QLatin1String(picture.wares))
            return QString::fromLatin1(picture.name);
    }
    return {};
}

} // namespace

bool writeDemoPictures(const QString& folder) {
    const PictureStore store(folder);
    if (!QDir().mkpath(store.folder()))
        return false;
    for (const DemoPicture& picture : demoPictures()) {
        QImage image(200, 150, QImage::Format_RGB32);
        image.fill(QColor(236, 240, 244));
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            picture.draw(painter);
        }
        const QByteArray jpeg = encodeJpeg(image, 85);
        QSaveFile file(store.pathOf(QString::fromLatin1(picture.name)));
        if (jpeg.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size() ||
            !file.commit())
            return false;
    }
    return true;
}

namespace {

// The demo identifiers; "AKCE" marks a passing promotion, which an offer's breakdown leaves out.
bool writeDemoIdentifiers(core::Database& db) {
    const Identifier identifiers[] = {
        {-1, QStringLiteral("HW"), QStringLiteral("Hardware, přístroje"), false},
        {-1, QStringLiteral("SW"), QStringLiteral("Software"), false},
        {-1, QStringLiteral("SLUZBY"), QStringLiteral("Služby a práce"), false},
        {-1, QStringLiteral("AKCE"), QStringLiteral("Akční nabídka"), true},
    };
    for (const Identifier& identifier : identifiers)
        if (!identifierMapping().insert(db, identifier))
            return false;
    return true;
}

constexpr int kSoftwareEvery = 3;
constexpr int kPromotionEvery = 7;

// Services by their unit, devices by their group; some devices come with software and some
// items are on promotion.
QString demoIdentifiers(const QString& waresCode, const GroupWares& w, int serial) {
    QStringList codes;
    if (w.unit == QLatin1String("hod"))
        codes << QStringLiteral("SLUZBY");
    const bool device = waresCode == QLatin1String("ELN") || waresCode == QLatin1String("MER");
    if (device)
        codes << QStringLiteral("HW");
    if (device && serial % kSoftwareEvery == 0)
        codes << QStringLiteral("SW");
    if (serial % kPromotionEvery == 0)
        codes << QStringLiteral("AKCE");
    return joinIdentifiers(codes);
}

} // namespace

bool fillDemoCatalogue(core::Database& db) {
    struct Group {
        qint64 id;
        qint64 sheet;
        QString kod;
    };
    std::vector<Group> groups;
    QSqlQuery q = db.select(QStringLiteral("SELECT ID, Sklad, Kod FROM Skupiny ORDER BY ID"));
    while (q.next())
        groups.push_back({q.value(0).toLongLong(), q.value(1).toLongLong(), q.value(2).toString()});
    q.finish();

    core::Transaction tx(db);
    if (!writeLevelsAndGroups(db) || !writeDemoIdentifiers(db))
        return false;
    ItemWriter writer(db);
    std::mt19937 random(2024);
    std::uniform_real_distribution<double> margin(15.0, 45.0);
    int serial = 1;
    for (const Group& g : groups) {
        const auto it = wares().find(g.kod);
        if (it == wares().end())
            continue;
        const GroupWares& w = it->second;
        const DemoGroup* priceGroup = priceGroupOfWares(g.kod);
        QString picture = demoPictureOf(g.kod);
        for (const QString& name : w.names) {
            for (const QString& variant : w.variants) {
                ItemRecord item;
                item.Sklad = g.sheet;
                item.Skupina = g.id;
                item.Popis = name + QLatin1Char(' ') + variant;
                item.Katalog =
                    QStringLiteral("%1-%2").arg(g.kod).arg(serial, 4, 10, QLatin1Char('0'));
                item.BarCode = w.vat > 0 && w.unit != QLatin1String("hod")
                                   ? ean13(4400000ULL + static_cast<quint64>(serial))
                                   : QString();
                item.PLU = QString::number(1000 + serial);
                item.Zkratka = g.kod + QString::number(serial);
                item.TextMJ = w.unit;
                const bool withVat = serial % 3 == 0;
                const int zaok = withVat ? 1 : (serial % 2 ? 0 : 2);
                const double purchase = purchasePrice(random, w.minPrice, w.maxPrice);
                const double itemMargin = static_cast<double>(static_cast<int>(margin(random)));
                if (priceGroup != nullptr && !priceGroup->ownSettings)
                    item.price =
                        priced(purchase, priceGroup->margin, w.vat, false, priceGroup->zaok);
                else
                    item.price = priced(purchase, itemMargin, w.vat, withVat, zaok);
                if (priceGroup != nullptr) {
                    item.CenSkupina = QString::fromLatin1(priceGroup->code);
                    item.fixedSlots = demoFixedPrices(*priceGroup, item.price, serial);
                }
                item.Dostupnost = demoAvailability(w, serial);
                item.Identif = demoIdentifiers(g.kod, w, serial);
                item.Obrazek = std::exchange(picture, QString());
                if (!writer.insert(item))
                    return false;
                ++serial;
            }
        }
    }
    return tx.commit();
}

bool generateItems(core::Database& db, qint64 sheetId, qint64 groupId, int count, quint32 seed) {
    // Names start with every letter, Czech ones and "Ch" among them, in upper and lower case.
    static const QStringList starts = {
        QStringLiteral("Adaptér"),   QStringLiteral("abrazivo"), QStringLiteral("Baterie"),
        QStringLiteral("Cívka"),     QStringLiteral("Čidlo"),    QStringLiteral("Deska"),
        QStringLiteral("Elektroda"), QStringLiteral("Filtr"),    QStringLiteral("Hadice"),
        QStringLiteral("Chladič"),   QStringLiteral("Izolace"),  QStringLiteral("Jistič"),
        QStringLiteral("Kabel"),     QStringLiteral("Lišta"),    QStringLiteral("Matice"),
        QStringLiteral("Nástavec"),  QStringLiteral("Objímka"),  QStringLiteral("Pojistka"),
        QStringLiteral("Relé"),      QStringLiteral("Řetěz"),    QStringLiteral("Spojka"),
        QStringLiteral("Šroub"),     QStringLiteral("Trubka"),   QStringLiteral("Úchyt"),
        QStringLiteral("Ventil"),    QStringLiteral("Zásuvka"),  QStringLiteral("Žárovka")};
    static const std::array<double, 3> vats = {21.0, 12.0, 0.0};
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(starts.size()) - 1);
    std::uniform_real_distribution<double> margin(10.0, 50.0);
    core::Transaction tx(db);
    ItemWriter writer(db);
    for (int i = 0; i < count; ++i) {
        ItemRecord item;
        item.Sklad = sheetId;
        item.Skupina = groupId;
        item.Popis = QStringLiteral("%1 %2-%3")
                         .arg(starts.at(pick(random)))
                         .arg(static_cast<int>(random() % 900) + 100)
                         .arg(i);
        item.Katalog = QStringLiteral("K%1").arg(random() % 10000000, 7, 10, QLatin1Char('0'));
        item.BarCode = ean13(seed * 1000003ULL + static_cast<quint64>(i));
        item.PLU = QString::number(i % 1000000);
        item.Zkratka = QStringLiteral("Z%1").arg(i);
        item.TextMJ = QStringLiteral("ks");
        item.price =
            priced(purchasePrice(random, 5.0, 25000.0),
                   static_cast<double>(static_cast<int>(margin(random))),
                   vats[static_cast<size_t>(i % 7 == 0 ? (i % 2) + 1 : 0)], i % 4 == 0, i % 3);
        if (!writer.insert(item))
            return false;
    }
    return tx.commit();
}

} // namespace orvento::catalogue
