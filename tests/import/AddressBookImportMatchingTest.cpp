// How an address-book run finds the addresses it updates and what it writes into them: the
// reference in any letter case of any alphabet, the whole value only, the first of several, the
// columns it is given and no others, the cut widths and the price level.
#include "AddressBookImportAgenda.h"

#include "core/Database.h"

using namespace orvento;
using namespace orvento::testsupport;
using import::AddressField;
using Style = import::ImportProtocol::Style;

namespace {

const QStringList kColumns{QStringLiteral("Firma"), QStringLiteral("ICO"), QStringLiteral("Mesto"),
                           QStringLiteral("Pozn")};

class AddressBookImportMatchingTest : public AddressBookImportAgenda {
protected:
    static std::vector<core::sources::Row> rowsOf(const QList<QStringList>& texts) {
        std::vector<core::sources::Row> rows;
        for (const QStringList& t : texts) {
            core::sources::Row row;
            for (const QString& cell : t)
                row.push_back(cell.isEmpty() ? core::sources::Cell() : txt(cell));
            rows.push_back(row);
        }
        return rows;
    }
};

TEST_F(AddressBookImportMatchingTest, ANameInCapitalsFindsItsCzechMixedCaseTwinButNotAPart) {
    const qint64 capo = addFirm(QStringLiteral("Řeznictví Čáp"), QStringLiteral("11111111"));
    const qint64 longer = addFirm(QStringLiteral("Řeznictví Čáp a syn"), QString());
    auto d = definition();
    compareBy(d, QStringLiteral("NAZEV"), AddressField::NazevAdr, QStringLiteral("Firma"));
    map(d, AddressField::MistoAdr, QStringLiteral("Mesto"));

    ASSERT_EQ(run(d, kColumns,
                  rowsOf({{QStringLiteral("ŘEZNICTVÍ ČÁP"), {}, QStringLiteral("Žďár"), {}},
                          {QStringLiteral("ŘEZNICTVÍ"), {}, QStringLiteral("Aš"), {}}})),
              import::ImportRun::Ok);
    EXPECT_EQ(firm(capo).Nazev, QStringLiteral("ŘEZNICTVÍ ČÁP"));
    EXPECT_EQ(firm(capo).Misto, QStringLiteral("Žďár"));
    EXPECT_EQ(firm(longer).Misto, QString());
    EXPECT_EQ(firmsWith(QStringLiteral("Misto"), QStringLiteral("Aš")).size(), 1u);
    EXPECT_EQ(firmCount(), 3);
    EXPECT_TRUE(lines().contains(QStringLiteral(
        "• zahájen import dat - hledat podle (ref. pol.): Názvu, ref. pol. zdroj. databáze: "
        "[Firma]")));
    EXPECT_TRUE(lines().contains(QStringLiteral("  + přidáno nových záznamů: 1")));
    EXPECT_TRUE(lines().contains(QStringLiteral("  + zaktualizováno záznamů: 1")));
    EXPECT_TRUE(lines().contains(QStringLiteral("• adresář:")));
}

TEST_F(AddressBookImportMatchingTest, AFoundAddressKeepsItsUncheckedColumnsAndAloneGetsTheMark) {
    addressbook::Firm stored;
    stored.Nazev = QStringLiteral("Stavby Novák");
    stored.ICO = QStringLiteral("27082440");
    stored.Ulice = QStringLiteral("Dlouhá 5");
    stored.Telefon = QStringLiteral("777 123 456");
    stored.Poznamka = QStringLiteral("stálý zákazník");
    const qint64 id = addFirm(stored);
    auto d = definition();
    compareBy(d, QStringLiteral("ICO"), AddressField::ICOAdr, QStringLiteral("ICO"));
    map(d, AddressField::NazevAdr, QStringLiteral("Firma"));
    map(d, AddressField::MistoAdr, QStringLiteral("Mesto"));

    ASSERT_EQ(run(d, kColumns,
                  rowsOf({{QStringLiteral("Stavby Novák s.r.o."), QStringLiteral("27082440"),
                           QStringLiteral("Jihlava"), QStringLiteral("nic")},
                          {QStringLiteral("Nová firma"),
                           QStringLiteral("12345679"),
                           QStringLiteral("Brno"),
                           {}}})),
              import::ImportRun::Ok);
    const addressbook::Firm updated = firm(id);
    EXPECT_EQ(updated.Nazev, QStringLiteral("Stavby Novák s.r.o."));
    EXPECT_EQ(updated.Misto, QStringLiteral("Jihlava"));
    EXPECT_EQ(updated.Ulice, QStringLiteral("Dlouhá 5"));
    EXPECT_EQ(updated.Telefon, QStringLiteral("777 123 456"));
    EXPECT_EQ(updated.Poznamka, QStringLiteral("stálý zákazník"));
    EXPECT_TRUE(core::Database::toDateTime(markOf(id)).isValid());

    const auto added = firmsWith(QStringLiteral("ICO"), QStringLiteral("12345679"));
    ASSERT_EQ(added.size(), 1u);
    EXPECT_FALSE(core::Database::toDateTime(markOf(added.front())).isValid());
    EXPECT_EQ(firm(added.front()).Ulice, QString());
}

TEST_F(AddressBookImportMatchingTest, WithoutComparingEveryRowIsANewAddressEvenAnEqualOne) {
    addFirm(QStringLiteral("Pekárna Veselý"), QStringLiteral("25596641"));
    auto d = definition();
    map(d, AddressField::NazevAdr, QStringLiteral("Firma"));
    map(d, AddressField::ICOAdr, QStringLiteral("ICO"));
    const auto rows = rowsOf({{QStringLiteral("Pekárna Veselý"), QStringLiteral("25596641")},
                              {QStringLiteral("Pekárna Veselý"), QStringLiteral("25596641")}});
    ASSERT_EQ(run(d, kColumns, rows), import::ImportRun::Ok);
    EXPECT_EQ(firmsWith(QStringLiteral("ICO"), QStringLiteral("25596641")).size(), 3u);
    EXPECT_TRUE(lines().contains(QStringLiteral("• zahájen import dat - přidat vše jako nové")));
}

TEST_F(AddressBookImportMatchingTest, TheSameListTwiceByIcoAddsNothingTheSecondTime) {
    // Two stored firms share an IČO: the first in table order is the one updated, by both
    // source rows with it. An IČO kept as a number reads as its digits.
    const qint64 first = addFirm(QStringLiteral("Kovo Horák"), QStringLiteral("27082440"));
    const qint64 second = addFirm(QStringLiteral("Kovo Horák II"), QStringLiteral("27082440"));
    auto d = definition();
    compareBy(d, QStringLiteral("ICO"), AddressField::ICOAdr, QStringLiteral("ICO"));
    map(d, AddressField::NazevAdr, QStringLiteral("Firma"));
    const std::vector<core::sources::Row> rows{
        {txt(QStringLiteral("Kovo Horák a.s.")), num(27082440)},
        {txt(QStringLiteral("KOVO HORÁK A.S.")), txt(QStringLiteral("27082440"))},
        {txt(QStringLiteral("Truhlářství Šimek")), txt(QStringLiteral("6157 71A"))},
        {txt(QStringLiteral("Elektro Kučera")), num(45274649)}};

    ASSERT_EQ(run(d, kColumns, rows), import::ImportRun::Ok);
    EXPECT_EQ(firmCount(), 4);
    EXPECT_EQ(firm(first).Nazev, QStringLiteral("KOVO HORÁK A.S."));
    EXPECT_EQ(firm(second).Nazev, QStringLiteral("Kovo Horák II"));
    EXPECT_EQ(firmsWith(QStringLiteral("ICO"), QStringLiteral("45274649")).size(), 1u);
    // Imported values are not checked as the address book's card checks them.
    EXPECT_EQ(firmsWith(QStringLiteral("ICO"), QStringLiteral("6157 71A")).size(), 1u);

    protocol.clear();
    ASSERT_EQ(run(d, kColumns, rows), import::ImportRun::Ok);
    EXPECT_EQ(firmCount(), 4);
    EXPECT_TRUE(lines().contains(QStringLiteral("  + přidáno nových záznamů: 0")));
    EXPECT_TRUE(lines().contains(QStringLiteral("  + zaktualizováno záznamů: 4")));
}

TEST_F(AddressBookImportMatchingTest, TextsAreCutToTheirColumnsButTheNoteIsKeptWhole) {
    const QString name60 = QStringLiteral("Velkoobchod s elektroinstalačním materiálem Dvořák ") +
                           QStringLiteral("a synové.");
    ASSERT_EQ(name60.size(), 60);
    const QString note(10000, QChar(u'ž'));
    auto d = definition();
    compareBy(d, QStringLiteral("NAZEV"), AddressField::NazevAdr, QStringLiteral("Firma"));
    map(d, AddressField::PoznamkaAdr, QStringLiteral("Pozn"));
    fix(d, AddressField::StatAdr, QStringLiteral("Česká republika a její přilehlé ostrovy"));
    const auto rows = rowsOf({{name60, {}, {}, note}});

    ASSERT_EQ(run(d, kColumns, rows), import::ImportRun::Ok);
    const auto ids = firmsWith(QStringLiteral("Nazev"), name60.left(50));
    ASSERT_EQ(ids.size(), 1u);
    EXPECT_EQ(firm(ids.front()).Poznamka, note);
    EXPECT_EQ(firm(ids.front()).Stat, QStringLiteral("Česká republika a je"));
    // Run again, the long name finds the address it was cut into.
    ASSERT_EQ(run(d, kColumns, rows), import::ImportRun::Ok);
    EXPECT_EQ(firmCount(), 1);
}

TEST_F(AddressBookImportMatchingTest, ThePriceLevelGoesOnFoundAddressesUnlessForNewOnesOnly) {
    addLevel(QStringLiteral("VO"), {});
    addressbook::Firm stored;
    stored.Nazev = QStringLiteral("Chemie Černý");
    stored.ICO = QStringLiteral("11111111");
    stored.CenHladina = QStringLiteral("MO");
    const qint64 id = addFirm(stored);
    auto d = definition();
    compareBy(d, QStringLiteral("ICO"), AddressField::ICOAdr, QStringLiteral("ICO"));
    d.addressBook.setPriceLevel = true;
    d.addressBook.priceLevel = QStringLiteral("VO");
    d.addressBook.onlyNewItems = true;
    const auto rows = rowsOf({{{}, QStringLiteral("11111111")}, {{}, QStringLiteral("22222222")}});

    ASSERT_EQ(run(d, kColumns, rows), import::ImportRun::Ok);
    EXPECT_EQ(firm(id).CenHladina, QStringLiteral("MO"));
    const auto added = firmsWith(QStringLiteral("ICO"), QStringLiteral("22222222"));
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(firm(added.front()).CenHladina, QStringLiteral("VO"));

    d.addressBook.onlyNewItems = false;
    ASSERT_EQ(run(d, kColumns, rows), import::ImportRun::Ok);
    EXPECT_EQ(firm(id).CenHladina, QStringLiteral("VO"));
    EXPECT_EQ(firmCount(), 2);
}

TEST_F(AddressBookImportMatchingTest, APriceLevelThatIsGoneStopsTheRunBeforeAnyWrite) {
    auto d = definition();
    map(d, AddressField::NazevAdr, QStringLiteral("Firma"));
    d.addressBook.setPriceLevel = true;
    d.addressBook.priceLevel = QStringLiteral("ZRUSENA");
    EXPECT_EQ(run(d, kColumns, rowsOf({{QStringLiteral("Autoservis Kučera")}})),
              import::ImportRun::Failed);
    EXPECT_EQ(firmCount(), 0);
    EXPECT_TRUE(hasLine(QStringLiteral("!CHYBA - cenová hladina pro nastavení na adresy již "
                                       "neexistuje - opravte definici importu"),
                        Style::Red));
    EXPECT_FALSE(lines().contains(QStringLiteral("• otevření databáze...")));
}

TEST_F(AddressBookImportMatchingTest, AnEmptyReferenceIsWarnedAndThenCreatedOrSkipped) {
    const QStringList warning{
        QStringLiteral("• varování: zdroj. řádek č. 2 - prázdná referenční položka (ICO)")};
    auto d = definition();
    compareBy(d, QStringLiteral("ICO"), AddressField::ICOAdr, QStringLiteral("ICO"));
    map(d, AddressField::NazevAdr, QStringLiteral("Firma"));
    const auto rows = rowsOf(
        {{QStringLiteral("Stavby"), QStringLiteral("33333333")}, {QStringLiteral("Bez IČ"), {}}});
    ASSERT_EQ(run(d, kColumns, rows), import::ImportRun::Ok);
    EXPECT_TRUE(lines().contains(warning.front()));
    EXPECT_EQ(firmsWith(QStringLiteral("Nazev"), QStringLiteral("Bez IČ")).size(), 1u);

    d.createMissing = false;
    ASSERT_EQ(run(d, kColumns, rows), import::ImportRun::Ok);
    EXPECT_TRUE(lines().contains(warning.front()));
    EXPECT_EQ(firmCount(), 2);
    EXPECT_TRUE(lines().contains(QStringLiteral("  = počet naimportovaných záznamů celkem: 1")));
}

} // namespace
