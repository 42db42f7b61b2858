#include "catalogue/DemoCatalogue.h"

#include "catalogue/ItemPricing.h"
#include "core/Database.h"

#include <QStringList>

#include <array>
#include <map>
#include <random>

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

struct NewItem {
    qint64 sheet;
    qint64 group;
    QString popis;
    QString katalog;
    QString barCode;
    QString plu;
    QString zkratka;
    QString unit;
    ItemPriceFields prices;
};

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

class ItemWriter {
public:
    explicit ItemWriter(core::Database& db)
        : m_insert(
              db,
              QStringLiteral(
                  "INSERT INTO Zasoby (Sklad, Skupina, Popis, Katalog, BarCode, PLU, Zkratka, "
                  "TextMJ, Poznamka, NakCena, PrCenaBDPH, PrCenaSDPH, SDPH, SazbaDPH, "
                  "TypHodnoty, Marze, Rabat, Zaok, Prepocitat, Nakladova, CenSkupina, Identif, "
                  "Dostupnost, Obrazek, "
                  "Chyba) VALUES (:Sklad, :Skupina, :Popis, :Katalog, :BarCode, :PLU, :Zkratka, "
                  ":TextMJ, :Poznamka, :NakCena, :PrCenaBDPH, :PrCenaSDPH, :SDPH, :SazbaDPH, "
                  ":TypHodnoty, :Marze, :Rabat, :Zaok, :Prepocitat, :Nakladova, :CenSkupina, "
                  ":Identif, :Dostupnost, :Obrazek, :Chyba)")) {}

    bool insert(const NewItem& item) {
        const ItemPriceFields& p = item.prices;
        return m_insert.exec({{QStringLiteral("Sklad"), item.sheet},
                              {QStringLiteral("Skupina"), item.group},
                              {QStringLiteral("Popis"), item.popis},
                              {QStringLiteral("Katalog"), item.katalog},
                              {QStringLiteral("BarCode"), item.barCode},
                              {QStringLiteral("PLU"), item.plu},
                              {QStringLiteral("Zkratka"), item.zkratka},
                              {QStringLiteral("TextMJ"), item.unit},
                              {QStringLiteral("Poznamka"), QString()},
                              {QStringLiteral("NakCena"), p.NakCena},
                              {QStringLiteral("PrCenaBDPH"), p.PrCenaBDPH},
                              {QStringLiteral("PrCenaSDPH"), p.PrCenaSDPH},
                              {QStringLiteral("SDPH"), p.SDPH},
                              {QStringLiteral("SazbaDPH"), p.SazbaDPH},
                              {QStringLiteral("TypHodnoty"), p.TypHodnoty},
                              {QStringLiteral("Marze"), p.Marze},
                              {QStringLiteral("Rabat"), p.Rabat},
                              {QStringLiteral("Zaok"), p.Zaok},
                              {QStringLiteral("Prepocitat"), p.Prepocitat},
                              {QStringLiteral("Nakladova"), false},
                              {QStringLiteral("CenSkupina"), QString()},
                              {QStringLiteral("Identif"), QString()},
                              {QStringLiteral("Dostupnost"), QStringLiteral("A")},
                              {QStringLiteral("Obrazek"), QString()},
                              {QStringLiteral("Chyba"), false}});
    }

private:
    core::Statement m_insert;
};

// A price within the range, on whole crowns or tenths as a price list would quote it.
double purchasePrice(std::mt19937& random, double low, double high) {
    std::uniform_real_distribution<double> range(low, high);
    return static_cast<double>(static_cast<qint64>(range(random) * 10.0)) / 10.0;
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
    ItemWriter writer(db);
    std::mt19937 random(2024);
    std::uniform_real_distribution<double> margin(15.0, 45.0);
    int serial = 1;
    for (const Group& g : groups) {
        const auto it = wares().find(g.kod);
        if (it == wares().end())
            continue;
        const GroupWares& w = it->second;
        for (const QString& name : w.names) {
            for (const QString& variant : w.variants) {
                NewItem item;
                item.sheet = g.sheet;
                item.group = g.id;
                item.popis = name + QLatin1Char(' ') + variant;
                item.katalog =
                    QStringLiteral("%1-%2").arg(g.kod).arg(serial, 4, 10, QLatin1Char('0'));
                item.barCode = w.vat > 0 && w.unit != QLatin1String("hod")
                                   ? ean13(4400000ULL + static_cast<quint64>(serial))
                                   : QString();
                item.plu = QString::number(1000 + serial);
                item.zkratka = g.kod + QString::number(serial);
                item.unit = w.unit;
                const bool withVat = serial % 3 == 0;
                const int zaok = withVat ? 1 : (serial % 2 ? 0 : 2);
                item.prices = priced(purchasePrice(random, w.minPrice, w.maxPrice),
                                     static_cast<double>(static_cast<int>(margin(random))), w.vat,
                                     withVat, zaok);
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
        NewItem item;
        item.sheet = sheetId;
        item.group = groupId;
        item.popis = QStringLiteral("%1 %2-%3")
                         .arg(starts.at(pick(random)))
                         .arg(static_cast<int>(random() % 900) + 100)
                         .arg(i);
        item.katalog = QStringLiteral("K%1").arg(random() % 10000000, 7, 10, QLatin1Char('0'));
        item.barCode = ean13(seed * 1000003ULL + static_cast<quint64>(i));
        item.plu = QString::number(i % 1000000);
        item.zkratka = QStringLiteral("Z%1").arg(i);
        item.unit = QStringLiteral("ks");
        item.prices =
            priced(purchasePrice(random, 5.0, 25000.0),
                   static_cast<double>(static_cast<int>(margin(random))),
                   vats[static_cast<size_t>(i % 7 == 0 ? (i % 2) + 1 : 0)], i % 4 == 0, i % 3);
        if (!writer.insert(item))
            return false;
    }
    return tx.commit();
}

} // namespace orvento::catalogue
