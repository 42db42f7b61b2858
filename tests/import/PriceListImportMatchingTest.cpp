// A price-list run finding its items: the reference compared whatever its letter case, rows that
// the catalogue read does not know creating items, empty references, the filter, and what a
// found item keeps.
#include "PriceListImportAgenda.h"

#include "catalogue/ItemRecord.h"

using namespace orvento;
using namespace orvento::testsupport;
using import::PriceListField;
using Style = import::ImportProtocol::Style;

namespace {

const QStringList kColumns{QStringLiteral("Kat"), QStringLiteral("Popis")};

class PriceListImportMatchingTest : public PriceListImportAgenda {};

TEST_F(PriceListImportMatchingTest, ReferenceIgnoresCaseAndUnknownEqualReferencesBothCreate) {
    const qint64 existing = addItemWith(QStringLiteral("žlutý-Ab1"), QStringLiteral("staré"));
    const qint64 later = addItemWith(QStringLiteral("ŽLUTÝ-AB1"), QStringLiteral("druhé"));
    auto d = definition();
    compareByKatalog(d);
    map(d, PriceListField::Popis, QStringLiteral("Popis"));
    ASSERT_EQ(run(d, kColumns,
                  {{txt(QStringLiteral("ŽLUTÝ-aB1")), txt(QStringLiteral("nové"))},
                   {txt(QStringLiteral("X-9")), txt(QStringLiteral("první"))},
                   {txt(QStringLiteral("x-9")), txt(QStringLiteral("druhá"))}}),
              import::ImportRun::Ok);

    // The first item in table order is the one found; the other stays as it was.
    EXPECT_EQ(catalogue::readItem(db(), existing)->Popis, QStringLiteral("nové"));
    EXPECT_EQ(catalogue::readItem(db(), existing)->Katalog, QStringLiteral("ŽLUTÝ-aB1"));
    EXPECT_EQ(catalogue::readItem(db(), later)->Popis, QStringLiteral("druhé"));
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM Zasoby WHERE Katalog IN ('X-9', 'x-9')"))
                  .toInt(),
              2);
    const QStringList all = lines();
    EXPECT_TRUE(all.contains(QStringLiteral("• zahájen import dat - hledat podle (ref. pol.): "
                                            "Katalogu, ref. pol. zdroj. databáze: [Kat]")));
    EXPECT_TRUE(
        all.contains(QStringLiteral("  - filtr: vypnutý (hledat ref. pol. ve všech listech)")));
    EXPECT_TRUE(all.contains(QStringLiteral("  + přidáno nových záznamů: 2")));
    EXPECT_TRUE(all.contains(QStringLiteral("  + zaktualizováno záznamů: 1")));
    EXPECT_TRUE(all.contains(QStringLiteral("  = počet naimportovaných záznamů celkem: 3")));
    EXPECT_FALSE(all.contains(QStringLiteral("• [prosím čekejte]")));
    // Phase II recomputed every touched item.
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM Zasoby WHERE Chyba <> 0")).toInt(), 0);
}

TEST_F(PriceListImportMatchingTest, EmptyReferenceWarnsWithItsRowAndCreatesOnlyWhenAskedTo) {
    for (const bool create : {true, false}) {
        SCOPED_TRACE(create);
        protocol.clear();
        db().execute(QStringLiteral("DELETE FROM Zasoby"));
        auto d = definition();
        compareByKatalog(d, create);
        map(d, PriceListField::Popis, QStringLiteral("Popis"));
        ASSERT_EQ(run(d, kColumns,
                      {{txt(QStringLiteral("A1")), txt(QStringLiteral("jedna"))},
                       {core::sources::Cell(), txt(QStringLiteral("bez čísla"))}}),
                  import::ImportRun::Ok);
        EXPECT_TRUE(hasLine(
            QStringLiteral("• varování: zdroj. řádek č. 2 - prázdná referenční položka (Kat)"),
            Style::Plain));
        EXPECT_EQ(itemCount(), create ? 2 : 0);
    }
}

TEST_F(PriceListImportMatchingTest, FilterOnASheetsGroupDoesNotFindAnotherSheetsItem) {
    ASSERT_TRUE(
        db().execute(QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES ('Elektro', 2)")));
    const qint64 otherSheet = db().newRowId();
    ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Skupiny (Sklad, Nazev, Zakladni) "
                                            "VALUES (:Sklad, 'Kabely', 0)"),
                             {{QStringLiteral("Sklad"), otherSheet}}));
    const qint64 otherGroup = db().newRowId();
    const qint64 elsewhere = addItemWith(QStringLiteral("K-1"), QStringLiteral("v listu 1"));

    auto d = definition();
    compareByKatalog(d);
    map(d, PriceListField::Popis, QStringLiteral("Popis"));
    d.priceList.filterOn = true;
    d.priceList.filterSheet = otherSheet;
    d.priceList.filterGroupOn = true;
    d.priceList.filterGroup = otherGroup;
    d.priceList.newItemsSheet = otherSheet;
    d.priceList.newItemsGroup = otherGroup;
    ASSERT_EQ(run(d, kColumns, {{txt(QStringLiteral("k-1")), txt(QStringLiteral("nový"))}}),
              import::ImportRun::Ok);

    EXPECT_EQ(catalogue::readItem(db(), elsewhere)->Popis, QStringLiteral("v listu 1"));
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM Zasoby WHERE Skupina = :G"),
                    {{QStringLiteral("G"), otherGroup}})
                  .toInt(),
              1);
    const QStringList all = lines();
    EXPECT_TRUE(all.contains(
        QStringLiteral("• filtr: zapnutý, hledat ref. pol. - pouze v listu \"Elektro\"")));
    EXPECT_TRUE(all.contains(QString(47, QLatin1Char(' ')) +
                             QStringLiteral("- pouze ve skupině \"Kabely\"")));
}

TEST_F(PriceListImportMatchingTest, SettingsForNewItemsOnlyLeaveFoundItemsTheirOwn) {
    addGroup(QStringLiteral("VO"));
    catalogue::ItemRecord own;
    own.Katalog = QStringLiteral("F-1");
    own.Popis = QStringLiteral("nalezená");
    own.Identif = QStringLiteral("_A_");
    own.price.Zaok = 2;
    own.price.SazbaDPH = 21;
    const qint64 found = addItem(own);

    auto d = definition();
    compareByKatalog(d);
    map(d, PriceListField::Popis, QStringLiteral("Popis"));
    auto& s = d.priceList;
    s.onlyNewItems = true;
    s.setPriceGroup = true;
    s.priceGroup = QStringLiteral("VO");
    s.setIdentifiers = true;
    s.identifiers = QStringLiteral("_B_");
    s.setRounding = true;
    s.rounding = 1;
    s.setPriceType = true;
    s.priceType = import::PriceBasis::WithVat;
    ASSERT_EQ(run(d, kColumns,
                  {{txt(QStringLiteral("f-1")), txt(QStringLiteral("změněná"))},
                   {txt(QStringLiteral("N-1")), txt(QStringLiteral("nová"))}}),
              import::ImportRun::Ok);

    const auto kept = catalogue::readItem(db(), found);
    EXPECT_EQ(kept->Popis, QStringLiteral("změněná"));
    EXPECT_EQ(kept->CenSkupina, QString());
    EXPECT_EQ(kept->Identif, QStringLiteral("_A_"));
    EXPECT_EQ(kept->price.Zaok, 2);
    EXPECT_FALSE(kept->price.SDPH);
    const qint64 newId =
        value(QStringLiteral("SELECT ID FROM Zasoby WHERE Katalog = 'N-1'")).toLongLong();
    const auto created = catalogue::readItem(db(), newId);
    EXPECT_EQ(created->CenSkupina, QStringLiteral("VO"));
    EXPECT_EQ(created->Identif, QStringLiteral("_B_"));
    EXPECT_EQ(created->price.Zaok, 1);
    EXPECT_TRUE(created->price.SDPH);
}

TEST_F(PriceListImportMatchingTest, AnEmptySourceSaysSoWithZeroCounts) {
    auto d = definition();
    map(d, PriceListField::Popis, QStringLiteral("Popis"));
    ASSERT_EQ(run(d, kColumns, {}), import::ImportRun::Ok);
    const QStringList all = lines();
    const qsizetype empty = all.indexOf(QStringLiteral("• zdrojová databáze je prázdná"));
    ASSERT_GE(empty, 0);
    EXPECT_EQ(
        all.mid(empty + 1, 5),
        (QStringList{QStringLiteral("• počet záznamů ve zdrojové databázi: 0"),
                     QStringLiteral("• ceník:"), QStringLiteral("  + přidáno nových záznamů: 0"),
                     QStringLiteral("  + zaktualizováno záznamů: 0"),
                     QStringLiteral("  = počet naimportovaných záznamů celkem: 0")}));
    EXPECT_TRUE(all.last().startsWith(QStringLiteral("Import dat - Dokončeno ")));
    EXPECT_TRUE(all.first().startsWith(QStringLiteral("Import dat - Start ")));
    EXPECT_TRUE(all.first().endsWith(QStringLiteral(" hod")));
    EXPECT_EQ(itemCount(), 0);
}

} // namespace
