#include "output/PriceListTables.h"
#include "catalogue/PriceLevelRecords.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "output/DataSetWriter.h"
#include "output/PriceListOutputLogic.h"
#include "output/PrintTypes.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

// A catalogue of three sheets (tab order 2, 3, 1 by ID), groups, items of every kind and a
// price group with a computed level.
class PriceListTablesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("Firma")));
        state().settings.nazev = QStringLiteral("Dodavatel s.r.o.");
        state().user.nakupniCeny = true;
        ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM Sklady")));
        ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM Skupiny")));
        ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM Zasoby")));
        sheetA = addSheet(QStringLiteral("Nářadí"), 3);
        sheetB = addSheet(QStringLiteral("Barvy"), 1);
        sheetC = addSheet(QStringLiteral("Lepidla"), 2);
        groupA1 = addGroup(sheetA, QStringLiteral("Vrtačky"), QStringLiteral("B"));
        groupA2 = addGroup(sheetA, QStringLiteral("Brusky"), QStringLiteral("A"));
        groupB1 = addGroup(sheetB, QStringLiteral("Interiér"), QStringLiteral("I"));

        catalogue::PriceLevel level;
        level.Zkratka = QStringLiteral("VO");
        level.values.Hodnota = 10; // a discount of 10 % off the basic price
        ASSERT_TRUE(catalogue::priceLevelMapping().insert(db(), level));
        catalogue::PriceGroup group;
        group.Zkratka = QStringLiteral("DEALER");
        ASSERT_TRUE(catalogue::priceGroupMapping().insert(db(), group));
        catalogue::GroupLevelRow row;
        row.IDCenSkup = db().newRowId();
        row.Zkratka = QStringLiteral("VO");
        row.values = level.values;
        ASSERT_TRUE(catalogue::groupLevelRowMapping().insert(db(), row));

        drill = addItem(sheetA, groupA1, QStringLiteral("Vrtačka"), 100, QStringLiteral("dealer"));
        addItem(sheetA, groupA1, QStringLiteral("Doprava"), 50, QString(), true); // a cost item
        grinder = addItem(sheetA, groupA2, QStringLiteral("Bruska"), 200, QString());
        paint = addItem(sheetB, groupB1, QStringLiteral("Barva"), 80, QString());
        glue = addItem(sheetC, 0, QStringLiteral("Lepidlo"), 30, QString());
        ASSERT_TRUE(db().execute(QStringLiteral("UPDATE Zasoby SET Obrazek = 'vrtacka.jpg', "
                                                "Poznamka = 'Příklep' WHERE ID = :ID"),
                                 {{QStringLiteral("ID"), drill}}));
        view.sheetId = sheetA;
    }
    void TearDown() override { core::resetProgramState(); }

    static core::ProgramState& state() { return core::programState(); }
    static core::Database& db() { return state().db->agenda; }
    output::ReportContext context() { return {state().settings, state().user, db(), nullptr}; }

    qint64 addSheet(const QString& name, int order) {
        EXPECT_TRUE(
            db().execute(QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES (:N, :P)"),
                         {{QStringLiteral("N"), name}, {QStringLiteral("P"), order}}));
        return db().newRowId();
    }
    qint64 addGroup(qint64 sheet, const QString& name, const QString& code) {
        EXPECT_TRUE(db().execute(
            QStringLiteral("INSERT INTO Skupiny (Sklad, Nazev, Kod) VALUES (:S, :N, :K)"),
            {{QStringLiteral("S"), sheet},
             {QStringLiteral("N"), name},
             {QStringLiteral("K"), code}}));
        return db().newRowId();
    }
    qint64 addItem(qint64 sheet, qint64 group, const QString& name, double net,
                   const QString& priceGroup, bool cost = false) {
        EXPECT_TRUE(db().execute(
            QStringLiteral("INSERT INTO Zasoby (Sklad, Skupina, Popis, PrCenaBDPH, PrCenaSDPH, "
                           "NakCena, SazbaDPH, SDPH, CenSkupina, Nakladova) VALUES (:S, :G, :P, "
                           ":B, :D, :N, 21, 0, :C, :K)"),
            {{QStringLiteral("S"), sheet},
             {QStringLiteral("G"), group},
             {QStringLiteral("P"), name},
             {QStringLiteral("B"), net},
             {QStringLiteral("D"), net * 1.21},
             {QStringLiteral("N"), net / 2},
             {QStringLiteral("C"), priceGroup},
             {QStringLiteral("K"), cost}}));
        return db().newRowId();
    }

    std::optional<output::PriceListTables> fill(const output::PriceListSettings& settings) {
        return output::fillPriceListTables(context(), view, settings, ui);
    }
    static QStringList column(const output::ReportTable& t, const QString& name) {
        QStringList values;
        for (int r = 0; r < t.rowCount(); ++r)
            values << t.value(r, name).toString();
        return values;
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    core::CatalogueView view;
    qint64 sheetA = 0, sheetB = 0, sheetC = 0;
    qint64 groupA1 = 0, groupA2 = 0, groupB1 = 0;
    qint64 drill = 0, grinder = 0, paint = 0, glue = 0;
};

// The current sheet only, its groups in the catalogue's group order, items without the cost
// item, and the header from the firm.
TEST_F(PriceListTablesTest, CurrentSheetByGroupsWithoutCostItems) {
    view.groupSort = QStringLiteral("KOD");
    const auto t = fill({});
    ASSERT_TRUE(t);
    EXPECT_TRUE(t->withGroups);
    EXPECT_EQ(column(t->sheets, QStringLiteral("Nazev")), QStringList{QStringLiteral("Nářadí")});
    EXPECT_EQ(column(t->groups, QStringLiteral("Nazev")),
              (QStringList{QStringLiteral("Brusky"), QStringLiteral("Vrtačky")}));
    EXPECT_EQ(column(t->items, QStringLiteral("Popis")),
              (QStringList{QStringLiteral("Bruska"), QStringLiteral("Vrtačka")}));
    EXPECT_EQ(t->header.value(0, QStringLiteral("NadpisCen")).toString(), QStringLiteral("Ceník"));
    EXPECT_EQ(t->header.value(0, QStringLiteral("DodNazev")).toString(),
              QStringLiteral("Dodavatel s.r.o."));
    // The picture goes with the folder, an empty one stays empty.
    EXPECT_TRUE(t->items.value(1, QStringLiteral("Obrazek"))
                    .toString()
                    .endsWith(QStringLiteral("vrtacka.jpg")));
    EXPECT_TRUE(t->items.value(0, QStringLiteral("Obrazek")).toString().isEmpty());
    EXPECT_DOUBLE_EQ(t->items.value(1, QStringLiteral("NakCena")).toDouble(), 50.0);
}

// Chosen sheets come in tab order, whatever order they were checked in; without groups the
// items hang on their sheet. The item filter and the item order are the catalogue's.
TEST_F(PriceListTablesTest, SelectedSheetsInTabOrderWithoutGroupsUnderTheFilter) {
    view.groupsShown = false;
    view.itemSort = QStringLiteral("PRCENABDPH");
    view.itemFilter.add(QStringLiteral("PrCenaBDPH >= :Least"), {{QStringLiteral("Least"), 40}});
    output::PriceListSettings s;
    s.sheets = output::SheetChoice::Selected;
    s.checkedSheets = {sheetA, sheetB};
    s.noSheetName = true;
    const auto t = fill(s);
    ASSERT_TRUE(t);
    EXPECT_FALSE(t->withGroups);
    EXPECT_EQ(column(t->sheets, QStringLiteral("ID")),
              (QStringList{QString::number(sheetB), QString::number(sheetA)}));
    EXPECT_EQ(column(t->sheets, QStringLiteral("Nazev")), (QStringList{QString(), QString()}));
    EXPECT_EQ(t->groups.rowCount(), 0);
    EXPECT_EQ(column(t->items, QStringLiteral("Popis")),
              (QStringList{QStringLiteral("Barva"), QStringLiteral("Vrtačka"),
                           QStringLiteral("Bruska")}));
    EXPECT_EQ(output::priceListPrintType(t->withGroups, true),
              output::print_type::CatalogueWithoutGroupsExport);
}

// Dealer columns: the basic price, a level of the item's group (any letter case), a level the
// group lacks (0 or the basic price with the fallback) and a column without a source.
TEST_F(PriceListTablesTest, DealerColumnsAndTheFallback) {
    output::PriceListSettings s;
    s.dealer = true;
    s.columns[0].source = output::PriceColumn::basicPrice();
    s.columns[0].withVat = true;
    s.columns[1].source = QStringLiteral("vo");
    s.columns[2].source = QStringLiteral("MO");
    s.columns[3].heading = QStringLiteral("A = \"B\" č");
    auto t = fill(s);
    ASSERT_TRUE(t);
    const int drillRow = 1; // Bruska, Vrtačka
    EXPECT_NEAR(t->items.value(drillRow, QStringLiteral("Cena1")).toDouble(), 121.0, 1e-9);
    EXPECT_NEAR(t->items.value(drillRow, QStringLiteral("Cena2")).toDouble(), 90.0, 1e-9);
    EXPECT_DOUBLE_EQ(t->items.value(drillRow, QStringLiteral("Cena3")).toDouble(), 0.0);
    EXPECT_DOUBLE_EQ(t->items.value(drillRow, QStringLiteral("Cena4")).toDouble(), 0.0);
    // An item without a price group has no level at all.
    EXPECT_DOUBLE_EQ(t->items.value(0, QStringLiteral("Cena2")).toDouble(), 0.0);
    EXPECT_EQ(t->header.value(0, QStringLiteral("Nadpis4")).toString(),
              QStringLiteral("A = \"B\" č"));

    s.basicWhenNoLevel = true;
    t = fill(s);
    ASSERT_TRUE(t);
    EXPECT_NEAR(t->items.value(drillRow, QStringLiteral("Cena3")).toDouble(), 100.0, 1e-9);
    EXPECT_NEAR(t->items.value(0, QStringLiteral("Cena2")).toDouble(), 200.0, 1e-9);
    // Not a dealer price list: every column 0.
    s.dealer = false;
    t = fill(s);
    EXPECT_DOUBLE_EQ(t->items.value(drillRow, QStringLiteral("Cena1")).toDouble(), 0.0);
}

TEST_F(PriceListTablesTest, PurchasePriceOnlyWithTheRightAndCancelPrintsNothing) {
    state().user.nakupniCeny = false;
    output::PriceListSettings s;
    s.sheets = output::SheetChoice::All;
    auto t = fill(s);
    ASSERT_TRUE(t);
    ASSERT_EQ(t->items.rowCount(), 3); // the glue has no group: not under any group
    for (int r = 0; r < t->items.rowCount(); ++r)
        EXPECT_DOUBLE_EQ(t->items.value(r, QStringLiteral("NakCena")).toDouble(), 0.0);

    ui.cancelAtStep(2);
    EXPECT_FALSE(fill(s));
}

// The relations of the report data file follow the print type's tables.
TEST_F(PriceListTablesTest, ReportDataRelations) {
    auto t = fill({});
    ASSERT_TRUE(t);
    output::DataSetWriter withGroups(QStringLiteral("ReportDataset"));
    output::addPriceListTables(withGroups, *t);
    const QString text = withGroups.text();
    EXPECT_TRUE(text.contains(QStringLiteral("Sklady_Skupiny")));
    EXPECT_TRUE(text.contains(QStringLiteral("Skupiny_Zasoby")));
    EXPECT_TRUE(text.contains(QStringLiteral("<mtTiskSkupiny>")));

    view.groupsShown = false;
    t = fill({});
    output::DataSetWriter without(QStringLiteral("ReportDataset"));
    output::addPriceListTables(without, *t);
    EXPECT_TRUE(without.text().contains(QStringLiteral("Sklady_Zasoby")));
    EXPECT_FALSE(without.text().contains(QStringLiteral("mtTiskSkupiny")));
}

// The window's checks, its settings through the last use and a named setting, and a named
// setting deleted meanwhile.
TEST_F(PriceListTablesTest, WindowChecksAndSettings) {
    output::PriceListOutputLogic logic(context(), ui, view);
    logic.open();
    ASSERT_EQ(logic.sheetEntries().size(), 3u);
    EXPECT_EQ(logic.sheetEntries().front().name, QStringLiteral("Barvy"));
    EXPECT_EQ(logic.groupEntries().size(), 3u);
    EXPECT_TRUE(logic.groupEntries().front().name.startsWith(QStringLiteral("(")));

    int printed = 0;
    const auto printer = [&](const output::PrintRequest& r) {
        ++printed;
        EXPECT_EQ(r.printType, output::print_type::CatalogueWithGroups);
        ASSERT_TRUE(r.subject.priceList);
    };
    logic.settings.sheets = output::SheetChoice::Selected;
    EXPECT_FALSE(logic.confirm(printer));
    EXPECT_TRUE(ui.saw(Kind::Information,
                       QStringLiteral("Vyberte alespoň jeden list nebo filtr vypněte.")));
    logic.sheetEntries()[1].checked = true;
    logic.settings.groups = output::GroupChoice::Selected;
    EXPECT_FALSE(logic.confirm(printer));
    EXPECT_TRUE(ui.saw(Kind::Information,
                       QStringLiteral("Vyberte alespoň jednu skupinu nebo filtr vypněte.")));
    logic.groupEntries()[2].checked = true;
    logic.settings.ownHeading = true;
    logic.settings.ownHeadingText = QStringLiteral("Ceník = \"jaro\" žluťoučký");
    logic.settings.columns[5].source = QStringLiteral("VO");
    logic.settings.columns[5].withVat = true;
    EXPECT_TRUE(logic.confirm(printer));
    EXPECT_EQ(printed, 1);

    // The last use comes back in a new window, the check marks with it.
    const QString memo = services::profile::loadMemo(services::profile::memo::CataloguePrintFilter);
    EXPECT_TRUE(memo.contains(QStringLiteral("VlastniNadpisText=Ceník = \"jaro\" žluťoučký")));
    output::PriceListOutputLogic again(context(), ui, view);
    again.open();
    EXPECT_EQ(again.settings.ownHeadingText, QStringLiteral("Ceník = \"jaro\" žluťoučký"));
    EXPECT_TRUE(again.sheetEntries()[1].checked);
    EXPECT_TRUE(again.groupEntries()[2].checked);
    EXPECT_EQ(again.settings.columns[5].source, QStringLiteral("VO"));
    EXPECT_EQ(again.settingName(), output::PriceListOutputLogic::lastUseName());

    // A named setting, then deleted elsewhere: saving under its name fails with the message.
    output::PriceListDialogs dialogs;
    dialogs.askSettingName = [] {
        return std::optional<QString>(QStringLiteral("Jarní"));
    };
    ASSERT_TRUE(again.saveNew(dialogs));
    EXPECT_EQ(again.settingName(), QStringLiteral("Jarní"));
    const auto stored =
        catalogue::readNamedSettings(db(), catalogue::SettingModule::PriceListOutput);
    ASSERT_TRUE(stored && stored->size() == 1);
    EXPECT_EQ(output::parseSettings(stored->front().Hodnota).ownHeadingText,
              again.settings.ownHeadingText);
    again.settings.noSheetName = true;
    EXPECT_TRUE(again.saveCurrent());
    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM Filtry")));
    EXPECT_FALSE(again.saveCurrent());
    EXPECT_TRUE(ui.saw(Kind::Error, core::saveFailedMessage()));

    // A setting naming sheets and groups that are gone loads without them.
    again.applyText(QStringLiteral("VyberListu=3\r\nList1=999\r\nList2=%1\r\nOznacListu=2\r\n"
                                   "Cena1=\r\nNadpis1=a=b")
                        .arg(sheetC));
    EXPECT_EQ(again.settings.sheets, output::SheetChoice::Selected);
    EXPECT_FALSE(again.sheetEntries()[2].checked);
    EXPECT_TRUE(again.sheetEntries()[1].checked);
    EXPECT_EQ(again.settings.columns[0].source, output::PriceColumn::noSource());
    EXPECT_EQ(again.settings.columns[0].heading, QStringLiteral("a=b"));

    ui.answer(true);
    again.standard();
    EXPECT_EQ(again.settings, output::PriceListSettings());
}

} // namespace
