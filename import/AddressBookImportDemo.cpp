#include "import/AddressBookImportDemo.h"

#include "addressbook/DemoAddressBook.h"
#include "core/Database.h"
#include "import/DemoImport.h"
#include "import/ImportDefinition.h"
#include "import/ImportDefinitionStore.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>

#include <random>
#include <utility>
#include <vector>

namespace orvento::import {

namespace {

constexpr quint32 kSeed = 2027;
constexpr int kNewFirms = 300;
constexpr int kEveryOtherFirm = 2;
constexpr int kFirstIcoBase = 4100000;
constexpr int kIcoBaseStep = 7919;
constexpr int kIcoBaseDigits = 7;
constexpr int kHouseNumbers = 120;
const QString kCountry = QStringLiteral("Česká republika");

// The list's columns and the fields they feed, in the list's order.
const std::vector<std::pair<AddressField, QString>>& listColumns() {
    static const std::vector<std::pair<AddressField, QString>> columns{
        {AddressField::NazevAdr, QStringLiteral("Název firmy")},
        {AddressField::UliceAdr, QStringLiteral("Ulice")},
        {AddressField::PSCAdr, QStringLiteral("PSČ")},
        {AddressField::MistoAdr, QStringLiteral("Místo")},
        {AddressField::StatAdr, QStringLiteral("Stát")},
        {AddressField::ICOAdr, QStringLiteral("IČ")},
        {AddressField::DICAdr, QStringLiteral("DIČ")},
        {AddressField::TelefonAdr, QStringLiteral("Telefon")},
        {AddressField::EmailAdr, QStringLiteral("E-mail")},
        {AddressField::InternetAdr, QStringLiteral("WWW")},
        {AddressField::PoznamkaAdr, QStringLiteral("Poznámka")}};
    return columns;
}

struct Town {
    const char* name;
    const char* postCode;
    const char* dialling; // the first three digits of a fixed line there
};
const Town kTowns[] = {{"Jihlava", "58601", "567"},
                       {"Třebíč", "67401", "568"},
                       {"Havlíčkův Brod", "58001", "569"},
                       {"Pelhřimov", "39301", "565"},
                       {"Žďár nad Sázavou", "59101", "566"},
                       {"Benešov", "25601", "317"},
                       {"Tábor", "39002", "381"},
                       {"Písek", "39701", "382"},
                       {"Kutná Hora", "28401", "327"},
                       {"Kolín", "28002", "321"},
                       {"Brno", "60200", "543"},
                       {"Znojmo", "66902", "515"}};

const char* const kTrades[] = {"Stavebniny",  "Elektro",   "Truhlářství",  "Autoservis",
                               "Pekárna",     "Řeznictví", "Zahradnictví", "Instalatérství",
                               "Klempířství", "Tiskárna",  "Kovovýroba",   "Čalounictví"};
const char* const kNames[] = {"Novák",  "Svoboda", "Dvořák",  "Černý",  "Procházka",
                              "Kučera", "Veselý",  "Horák",   "Němec",  "Pokorný",
                              "Marek",  "Růžička", "Šťastný", "Čermák", "Fiala"};
const char* const kForms[] = {"s.r.o.", "a.s.", "v.o.s.", ""};
const char* const kStreets[] = {"Husova",     "Masarykova", "Nádražní", "Palackého",
                                "Komenského", "Žižkova",    "Dlouhá",   "Tyršova",
                                "Havlíčkova", "Jiráskova",  "Polní",    "U Rybníka"};

template <typename T, std::size_t N> const T& pick(std::mt19937& random, const T (&from)[N]) {
    return from[std::uniform_int_distribution<std::size_t>(0, N - 1)(random)];
}

QString icoOf(int serial) {
    const QString base = QString::number(kFirstIcoBase + serial * kIcoBaseStep)
                             .rightJustified(kIcoBaseDigits, QLatin1Char('0'));
    return base + QString::number(addressbook::icoCheckDigit(base));
}

QString webOf(const QString& name, int serial) {
    QString word = name.section(QLatin1Char(' '), 1, 1).normalized(QString::NormalizationForm_D);
    word.remove(QRegularExpression(QStringLiteral("[^A-Za-z]")));
    return QStringLiteral("www.%1%2.cz").arg(word.toLower()).arg(serial);
}

} // namespace

QString demoAddressFileName() {
    return QStringLiteral("adresar_firem.csv");
}

QString demoAddressDefinitionName() {
    return QStringLiteral("Adresář firem (CSV)");
}

bool writeDemoAddressList(core::Database& demo, const QString& path) {
    std::vector<QStringList> rows;
    // Every other demo firm again, its name in capitals and a note: a run by IČO updates it.
    QSqlQuery stored = demo.select(QStringLiteral(
        "SELECT Nazev, Ulice, Psc, Misto, Stat, ICO, DIC, Telefon, Email, WWW FROM Adresar "
        "WHERE ICO <> '' ORDER BY ID"));
    if (!stored.isActive())
        return false;
    for (int index = 0; stored.next(); ++index) {
        if (index % kEveryOtherFirm != 0)
            continue;
        QStringList row;
        for (int column = 0; column < stored.record().count(); ++column)
            row << stored.value(column).toString();
        row[0] = row[0].toUpper();
        row << QStringLiteral("aktualizováno z adresáře obchodních partnerů");
        rows.push_back(row);
    }
    stored.finish();

    std::mt19937 random(kSeed);
    std::uniform_int_distribution<int> house(1, kHouseNumbers);
    std::uniform_int_distribution<int> line(100, 999);
    for (int serial = 1; serial <= kNewFirms; ++serial) {
        const Town& town = pick(random, kTowns);
        const QString form = QString::fromUtf8(pick(random, kForms));
        QString name = QString::fromUtf8(pick(random, kTrades)) + QLatin1Char(' ') +
                       QString::fromUtf8(pick(random, kNames));
        if (!form.isEmpty())
            name += QLatin1Char(' ') + form;
        const QString ico = icoOf(serial);
        const QString web = webOf(name, serial);
        rows.push_back({name,
                        QString::fromUtf8(pick(random, kStreets)) + QLatin1Char(' ') +
                            QString::number(house(random)),
                        QString::fromLatin1(town.postCode), QString::fromUtf8(town.name), kCountry,
                        ico, QStringLiteral("CZ") + ico,
                        QStringLiteral("%1 %2 %3")
                            .arg(QString::fromLatin1(town.dialling))
                            .arg(line(random))
                            .arg(line(random)),
                        QStringLiteral("info@") + web.mid(4), web, QString()});
    }
    QStringList header;
    for (const auto& column : listColumns())
        header << column.second;
    return writeDemoCsv(path, header, rows);
}

bool fillDemoAddressDefinition(core::Database& demo, QString& error) {
    ImportDefinition d = newDefinition(DefinitionKind::AddressBook);
    d.name = demoAddressDefinitionName();
    d.description = QStringLiteral("Nové firmy a aktualizace známých (podle IČ) z adresáře "
                                   "obchodních partnerů ve formátu CSV.");
    d.sourceKind = core::sources::SourceKind::Csv;
    d.fileName = demoStoredPath(demoAddressFileName());
    d.tableName = QString(demoAddressFileName()).replace(QLatin1Char('.'), QLatin1Char('#'));
    d.compare = true;
    d.refField = QStringLiteral("ICO");
    d.createMissing = true;
    for (const auto& [field, column] : listColumns()) {
        FieldMapping& m = d.addressBook.field(field);
        m.imported = true;
        m.source = ValueSource::Column;
        m.column = column;
        if (field == AddressField::ICOAdr)
            d.refColumn = column;
    }
    return ImportDefinitionStore(demo).insert(d, error).has_value();
}

} // namespace orvento::import
