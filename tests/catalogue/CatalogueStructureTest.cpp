#include "catalogue/CatalogueItemsModel.h"
#include "catalogue/CatalogueMessages.h"
#include "catalogue/CatalogueWindowLogic.h"
#include "catalogue/GroupCard.h"
#include "catalogue/GroupOperations.h"
#include "catalogue/MoveOperation.h"
#include "catalogue/SheetCard.h"
#include "catalogue/SheetListLogic.h"
#include "catalogue/SheetOperations.h"
#include "catalogue/pricing/ItemPricing.h"
#include "core/AgendaInit.h"
#include "core/ProgramState.h"
#include "services/ProfileSession.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"
#include "services/RecordLock.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestEnvironment.h"
#include "support/TestStore.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace orvento;
using catalogue::CatalogueItemsModel;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

class CatalogueTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder();
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("FIRMA")));
        QDir().mkpath(core::programState().folders.lock);
        core::ensureFirstSheet(db(), ui);
    }
    void TearDown() override { core::programState().db->agenda.close(); }

    static core::Database& db() { return core::programState().db->agenda; }

    qint64 addSheet(const QString& name) { return *catalogue::createSheet(db(), ui, name); }
    qint64 addGroup(qint64 sheet, const QString& name, const QString& code = {}) {
        return *catalogue::saveGroup(db(), ui, {0, sheet, name, code, false}, true);
    }
    qint64 addItem(qint64 sheet, qint64 group, const QString& popis, bool chyba = false) {
        EXPECT_TRUE(db().execute(
            QStringLiteral("INSERT INTO Zasoby (Sklad, Skupina, Popis, Katalog, PrCenaBDPH, Chyba) "
                           "VALUES (:Sklad, :Skupina, :Popis, :Katalog, :Cena, :Chyba)"),
            {{QStringLiteral("Sklad"), sheet},
             {QStringLiteral("Skupina"), group},
             {QStringLiteral("Popis"), popis},
             {QStringLiteral("Katalog"), QStringLiteral("K-") + popis},
             {QStringLiteral("Cena"), 1234.5},
             {QStringLiteral("Chyba"), chyba}}));
        return db().newRowId();
    }
    int count(const QString& sql, const core::SqlParams& params = {}) {
        return db().scalar(sql, params)->toInt();
    }
    qint64 firstSheet() { return catalogue::readSheets(db()).front().id; }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    services::ProfileSession session;
};

TEST_F(CatalogueTest, ANewAgendaOpensOnListOneWithItsBasicGroup) {
    catalogue::CatalogueWindowLogic window(db(), ui, session, catalogue::CatalogueMode::Browse);
    ASSERT_TRUE(window.open());
    ASSERT_EQ(window.sheets().size(), 1u);
    EXPECT_EQ(window.sheets().front().nazev, QStringLiteral("List 1"));
    ASSERT_EQ(window.groups().size(), 1u);
    EXPECT_EQ(window.groups().front().nazev, core::kBasicGroupName);
    EXPECT_TRUE(window.groups().front().zakladni);
    EXPECT_TRUE(ui.waitTexts().contains(catalogue::messages::loadingCatalogue()));
    EXPECT_TRUE(window.buttons().addItem) << "a new item goes into the basic group";
}

TEST_F(CatalogueTest, RememberedSheetGoneActivatesTheLastTabAndPlacesComeBack) {
    const qint64 second = addSheet(QStringLiteral("Software"));
    const qint64 third = addSheet(QStringLiteral("Služby"));
    const qint64 group = addGroup(second, QStringLiteral("Licence"));
    addItem(second, group, QStringLiteral("Antivir"));
    const qint64 office = addItem(second, group, QStringLiteral("Kancelář"));
    {
        catalogue::CatalogueWindowLogic window(db(), ui, session, catalogue::CatalogueMode::Browse);
        ASSERT_TRUE(window.open());
        window.selectSheet(1);
        window.setCurrentGroup(*catalogue::indexOfId(window.groups(), group));
        window.setCurrentItemRow(*window.items().rowOfId(office));
        window.close();
    }
    {
        catalogue::CatalogueWindowLogic window(db(), ui, session, catalogue::CatalogueMode::Browse);
        ASSERT_TRUE(window.open());
        EXPECT_EQ(window.activeSheet(), second);
        EXPECT_EQ(window.currentGroup()->id, group);
        EXPECT_EQ(window.currentItemId(), office);
        window.close();
    }
    // Another workstation deletes the remembered sheet.
    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM Sklady WHERE ID = :ID"),
                             {{QStringLiteral("ID"), second}}));
    catalogue::CatalogueWindowLogic window(db(), ui, session, catalogue::CatalogueMode::Browse);
    ASSERT_TRUE(window.open());
    EXPECT_EQ(window.activeSheet(), third);
}

TEST_F(CatalogueTest, HiddenGroupsListTheWholeSheetAndTheSwitchIsRemembered) {
    const qint64 sheet = firstSheet();
    const qint64 group = addGroup(sheet, QStringLiteral("Kabely"));
    addItem(sheet, catalogue::basicGroupOf(db(), sheet), QStringLiteral("Bez skupiny"));
    addItem(sheet, group, QStringLiteral("Kabel"));
    catalogue::CatalogueWindowLogic window(db(), ui, session, catalogue::CatalogueMode::Browse);
    ASSERT_TRUE(window.open());
    EXPECT_EQ(window.items().rowCount(), 1); // the current group's items only
    window.toggleGroups();
    EXPECT_FALSE(window.groupsShown());
    EXPECT_EQ(window.focusedGrid(), catalogue::CatalogueGrid::Items);
    EXPECT_EQ(window.items().rowCount(), 2);
    EXPECT_FALSE(window.mayAddGroup());
    EXPECT_TRUE(ui.saw(Kind::Information, catalogue::messages::showGroupsFirst()));
    window.close();
    EXPECT_FALSE(services::profile::loadBool(services::profile::value::CatalogueGroupsShown, true));
}

TEST_F(CatalogueTest, QuickFindFollowsTheCzechOrderIgnoringCase) {
    const qint64 sheet = firstSheet();
    const qint64 group = catalogue::basicGroupOf(db(), sheet);
    for (const char* name : {"Chata", "hrad", "Cihla", "Čaj", "AB kabel", "abeceda", "Ábel",
                             "Acetylen", "Bod", "50% sleva", "it's_ok"})
        addItem(sheet, group, QString::fromUtf8(name));
    CatalogueItemsModel model(db());
    ASSERT_TRUE(model.load(CatalogueItemsModel::Scope::Group, group, QStringLiteral("POPIS")));
    QStringList shown;
    for (int r = 0; r < model.rowCount(); ++r)
        shown << model.value(r, QStringLiteral("Popis")).toString();
    // "ch" after "h", "č" after "c".
    EXPECT_LT(shown.indexOf(QStringLiteral("hrad")), shown.indexOf(QStringLiteral("Chata")));
    EXPECT_LT(shown.indexOf(QStringLiteral("Cihla")), shown.indexOf(QStringLiteral("Čaj")));
    EXPECT_LT(shown.indexOf(QStringLiteral("Čaj")), shown.indexOf(QStringLiteral("hrad")));

    const auto nameAt = [&](std::optional<int> row) {
        return row ? model.value(*row, QStringLiteral("Popis")).toString() : QString();
    };
    const QString firstAb = shown.at(std::min(shown.indexOf(QStringLiteral("AB kabel")),
                                              shown.indexOf(QStringLiteral("abeceda"))));
    const auto firstStarting = [&](const QString& text) {
        for (const QString& name : shown)
            if (name.startsWith(text, Qt::CaseInsensitive))
                return name;
        return QString();
    };
    EXPECT_EQ(nameAt(model.quickFind(QStringLiteral("a"))), firstStarting(QStringLiteral("a")));
    EXPECT_EQ(nameAt(model.quickFind(QStringLiteral("ab"))), firstAb);
    EXPECT_EQ(nameAt(model.quickFind(QStringLiteral("AB"))), firstAb);
    EXPECT_EQ(nameAt(model.quickFind(QStringLiteral("c"))), QStringLiteral("Cihla"));
    EXPECT_EQ(nameAt(model.quickFind(QStringLiteral("ch"))), QStringLiteral("Chata"));
    EXPECT_EQ(nameAt(model.quickFind(QStringLiteral("č"))), QStringLiteral("Čaj"));
    EXPECT_EQ(nameAt(model.quickFind(QStringLiteral("50%"))), QStringLiteral("50% sleva"));
    EXPECT_EQ(nameAt(model.quickFind(QStringLiteral("it's_"))), QStringLiteral("it's_ok"));
    EXPECT_FALSE(model.quickFind(QStringLiteral("x")));

    // A numeric column sorts as numbers and the find still works on its text.
    model.sortBy(QStringLiteral("PrCenaBDPH"));
    EXPECT_EQ(model.sortField(), QStringLiteral("PRCENABDPH"));
    EXPECT_TRUE(model.quickFind(QStringLiteral("1234")).has_value());
}

TEST_F(CatalogueTest, TheModelReadsRowsInBoundedBlocks) {
    const qint64 sheet = firstSheet();
    const qint64 group = catalogue::basicGroupOf(db(), sheet);
    ASSERT_TRUE(core::Transaction(db()).isActive());
    {
        core::Transaction tx(db());
        for (int i = 0; i < 5000; ++i)
            addItem(sheet, group, QStringLiteral("Položka %1").arg(i, 5, 10, QLatin1Char('0')));
        ASSERT_TRUE(tx.commit());
    }
    CatalogueItemsModel model(db());
    ASSERT_TRUE(model.load(CatalogueItemsModel::Scope::Sheet, sheet, QStringLiteral("Popis")));
    ASSERT_EQ(model.rowCount(), 5000);
    for (int r = 0; r < model.rowCount(); r += 7)
        ASSERT_EQ(model.value(r, QStringLiteral("Popis")).toString(),
                  QStringLiteral("Položka %1").arg(r, 5, 10, QLatin1Char('0')));
    EXPECT_LE(model.cachedBlocks(), CatalogueItemsModel::kMaxBlocks);
    EXPECT_EQ(model.data(model.index(0, 2)).toString(), QStringLiteral("1 234,50"));
    // Purchase prices stay blank while hidden.
    EXPECT_TRUE(model.data(model.index(0, 7)).toString().isEmpty());
}

TEST_F(CatalogueTest, SheetsAreCreatedWithTheirBasicGroupReorderedAndTheOnlyOneKept) {
    catalogue::SheetListLogic list(db(), ui, catalogue::SheetListMode::Manage, true);
    ASSERT_EQ(list.rows().size(), 1u);
    // The only sheet cannot go.
    ui.answer(true);
    EXPECT_FALSE(list.removeCurrent());
    EXPECT_TRUE(ui.saw(Kind::Warning, catalogue::messages::onlySheet()));

    catalogue::SheetCard card(db(), ui);
    ASSERT_TRUE(card.startNew());
    EXPECT_FALSE(card.save());
    EXPECT_TRUE(ui.saw(Kind::Warning, catalogue::messages::sheetNameRequired()));
    card.setName(QStringLiteral("O'Brien \"50%\"_list"));
    ASSERT_TRUE(card.save());
    const qint64 added = *card.savedId();
    EXPECT_EQ(
        count(QStringLiteral("SELECT count(*) FROM Skupiny WHERE Sklad = :S AND Zakladni = 1"),
              {{QStringLiteral("S"), added}}),
        1);
    list.afterCardSaved(added);
    EXPECT_EQ(list.current()->nazev, QStringLiteral("O'Brien \"50%\"_list"));
    EXPECT_EQ(list.current()->poradi, 2);

    // Moving the first sheet towards the first tab does nothing; forward swaps.
    list.setCurrentIndex(0);
    EXPECT_FALSE(list.moveCurrent(-1));
    EXPECT_TRUE(list.moveCurrent(+1));
    EXPECT_EQ(list.rows().back().nazev, QStringLiteral("List 1"));
    EXPECT_EQ(list.current()->nazev, QStringLiteral("List 1"));

    // Deleting a sheet removes its groups and items.
    const qint64 group = addGroup(added, QStringLiteral("Skupina"));
    addItem(added, group, QStringLiteral("Položka"));
    list.reload(added);
    ui.answer(true);
    EXPECT_TRUE(list.removeCurrent());
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Skupiny WHERE Sklad = :S"),
                    {{QStringLiteral("S"), added}}),
              0);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Zasoby WHERE Sklad = :S"),
                    {{QStringLiteral("S"), added}}),
              0);
}

TEST_F(CatalogueTest, TheBasicGroupIsNeitherEditedDeletedNorMovedButCanBeCopied) {
    const qint64 sheet = firstSheet();
    const qint64 target = addSheet(QStringLiteral("Cíl"));
    const qint64 group = addGroup(sheet, QStringLiteral("Kabely"), QStringLiteral("kab"));
    const qint64 item = addItem(sheet, group, QStringLiteral("Kabel"));
    EXPECT_EQ(catalogue::readGroup(db(), group)->kod, QStringLiteral("KAB"));
    catalogue::CatalogueWindowLogic window(db(), ui, session, catalogue::CatalogueMode::Browse);
    ASSERT_TRUE(window.open());
    window.setFocusedGrid(catalogue::CatalogueGrid::Groups);
    const size_t basic =
        *catalogue::indexOfId(window.groups(), catalogue::basicGroupOf(db(), sheet));
    window.setCurrentGroup(basic);
    EXPECT_FALSE(window.groupToEdit());
    EXPECT_TRUE(ui.saw(Kind::Information,
                       catalogue::messages::basicGroupNotEditable(core::kBasicGroupName)));
    ui.answer(true);
    window.removeCurrent();
    EXPECT_TRUE(
        ui.saw(Kind::Warning, catalogue::messages::basicGroupNotDeletable(core::kBasicGroupName)));
    const auto copy = window.groupToCopy();
    ASSERT_TRUE(copy);
    EXPECT_FALSE(copy->zakladni);

    // Moving both groups: the ordinary one goes with its items, the basic one stays.
    window.markAll();
    auto move = window.prepareMove(true);
    ASSERT_TRUE(move);
    EXPECT_EQ(move->kind(), catalogue::MoveKind::GroupsToSheet);
    EXPECT_FALSE(move->validate());
    EXPECT_TRUE(ui.saw(Kind::Warning, catalogue::messages::sheetRequired()));
    move->setSheet(target, QStringLiteral("Cíl"));
    ASSERT_TRUE(move->validate());
    EXPECT_EQ(move->run(), 1);
    EXPECT_TRUE(ui.saw(Kind::Information, catalogue::messages::basicGroupSkipped()));
    EXPECT_EQ(catalogue::readGroup(db(), group)->sklad, target);
    EXPECT_EQ(count(QStringLiteral("SELECT Sklad FROM Zasoby WHERE ID = :ID"),
                    {{QStringLiteral("ID"), item}}),
              target);
    EXPECT_EQ(catalogue::basicGroupOf(db(), sheet) > 0, true);
    // Groups cannot go into a group.
    window.afterMove();
    window.markAll();
    EXPECT_FALSE(window.prepareMove(false));
    EXPECT_TRUE(ui.saw(Kind::Warning, catalogue::messages::notWithGroups()));
}

TEST_F(CatalogueTest, MarksNameOneKindAndAnInterruptedMoveKeepsWhatItDid) {
    const qint64 sheet = firstSheet();
    const qint64 from = addGroup(sheet, QStringLiteral("Zdroj"));
    const qint64 to = addGroup(sheet, QStringLiteral("Cíl"));
    for (int i = 0; i < 12; ++i)
        addItem(sheet, from, QStringLiteral("Položka %1").arg(i));
    catalogue::CatalogueWindowLogic window(db(), ui, session, catalogue::CatalogueMode::Browse);
    ASSERT_TRUE(window.open());
    window.setCurrentGroup(*catalogue::indexOfId(window.groups(), from));
    EXPECT_FALSE(window.checkMarks(true));
    EXPECT_TRUE(ui.saw(Kind::Warning, catalogue::messages::markSomethingFirstForBulk()));
    window.setFocusedGrid(catalogue::CatalogueGrid::Items);
    window.markAll();
    window.setGroupMarked(0, true);
    EXPECT_FALSE(window.checkMarks());
    EXPECT_TRUE(ui.saw(Kind::Warning, catalogue::messages::bothKindsMarked()));
    window.setGroupMarked(0, false);

    auto move = window.prepareMove(false);
    ASSERT_TRUE(move);
    EXPECT_FALSE(move->validate());
    EXPECT_TRUE(ui.saw(Kind::Warning, catalogue::messages::groupRequired()));
    move->setGroup(to, QStringLiteral("Cíl"));
    // "Přerušit" pressed while the second slice of five rows is written.
    move->setSliceRows(5);
    int steps = 0;
    EXPECT_EQ(move->run([&](int, int) {
        if (++steps == 2)
            core::programState().cancelRequested = true;
    }),
              10);
    EXPECT_TRUE(move->wasInterrupted());
    EXPECT_FALSE(core::programState().cancelRequested);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Zasoby WHERE Skupina = :G AND Sklad = :S"),
                    {{QStringLiteral("G"), to}, {QStringLiteral("S"), sheet}}),
              10);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Zasoby WHERE Skupina = :G"),
                    {{QStringLiteral("G"), from}}),
              2);
}

TEST_F(CatalogueTest, AGroupOrSheetWithAnItemOpenElsewhereDeletesNothing) {
    const qint64 sheet = addSheet(QStringLiteral("Hardware"));
    const qint64 group = addGroup(sheet, QStringLiteral("Disky"));
    addItem(sheet, group, QStringLiteral("Disk A"));
    const qint64 open = addItem(sheet, group, QStringLiteral("Disk B"));
    {
        testsupport::OtherWorkstation other(
            testsupport::recordEditedElsewhere(env, QStringLiteral("Zasoby"), open));
        ASSERT_EQ(other.firstLine(), QStringLiteral("held"));
        ui.answer(true);
        EXPECT_FALSE(catalogue::deleteGroup(db(), ui, group));
        EXPECT_TRUE(ui.saw(Kind::Warning, catalogue::messages::groupItemsLocked()));
        ui.answer(true);
        EXPECT_FALSE(catalogue::deleteSheet(db(), ui, sheet));
        EXPECT_TRUE(ui.saw(Kind::Warning, catalogue::messages::sheetContentLocked()));
        EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Zasoby WHERE Skupina = :G"),
                        {{QStringLiteral("G"), group}}),
                  2);
        EXPECT_TRUE(catalogue::readGroup(db(), group).has_value());
        other.stop();
    }
    // Once the other workstation has closed the item, the group goes with its items.
    ui.answer(true);
    EXPECT_TRUE(catalogue::deleteGroup(db(), ui, group));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Zasoby WHERE Skupina = :G"),
                    {{QStringLiteral("G"), group}}),
              0);
}

TEST_F(CatalogueTest, PickingAnItemThatMustBeRecomputedIsRefused) {
    const qint64 sheet = firstSheet();
    const qint64 group = catalogue::basicGroupOf(db(), sheet);
    addItem(sheet, group, QStringLiteral("Chybná"), true);
    const qint64 good = addItem(sheet, group, QStringLiteral("Dobrá"));
    catalogue::CatalogueWindowLogic window(db(), ui, session, catalogue::CatalogueMode::Pick);
    ASSERT_TRUE(window.open());
    window.setFocusedGrid(catalogue::CatalogueGrid::Items);
    EXPECT_TRUE(window.buttons().okVisible);
    EXPECT_TRUE(window.buttons().ok);
    const int goodRow = *window.items().rowOfId(good);
    window.setCurrentItemRow(1 - goodRow);
    EXPECT_TRUE(window.pickItems().empty());
    EXPECT_TRUE(ui.saw(Kind::Warning, catalogue::messages::itemUnusable()));
    // Marked items go over in the order of the list, whatever the order of marking, their marks
    // with them; the offer warns about the unusable one as it comes to it.
    window.items().setMarked(0, true);
    window.items().setMarked(1, true);
    EXPECT_EQ(window.pickItems(),
              (std::vector<qint64>{window.items().idAt(0), window.items().idAt(1)}));
    EXPECT_TRUE(window.items().marks().empty());
}

TEST_F(CatalogueTest, PurchasePricesStayHiddenWithoutTheRight) {
    core::programState().user.nakupniCeny = false;
    core::programState().showPurchasePrices = true;
    catalogue::CatalogueWindowLogic window(db(), ui, session, catalogue::CatalogueMode::Browse);
    ASSERT_TRUE(window.open());
    addItem(firstSheet(), catalogue::basicGroupOf(db(), firstSheet()), QStringLiteral("X"));
    window.refresh();
    window.togglePurchasePrices();
    window.togglePurchasePrices();
    EXPECT_TRUE(ui.texts(Kind::Question).isEmpty());
    EXPECT_TRUE(window.items().data(window.items().index(0, 7)).toString().isEmpty());
}

TEST_F(CatalogueTest, ReadOnlyLevelRefusesAddingMovingAndDeleting) {
    core::programState().user.cenik = core::AccessLevel::ReadOnly;
    catalogue::CatalogueWindowLogic window(db(), ui, session, catalogue::CatalogueMode::Browse);
    ASSERT_TRUE(window.open());
    const auto b = window.buttons();
    EXPECT_FALSE(b.addGroup);
    EXPECT_FALSE(b.moveToSheet);
    EXPECT_FALSE(window.mayAddGroup());
    window.removeCurrent();
    EXPECT_EQ(ui.texts(Kind::Information).count(core::noRightsMessage()), 2);
    catalogue::SheetListLogic list(db(), ui, catalogue::SheetListMode::Manage, true);
    EXPECT_FALSE(list.showsReorder());
}

} // namespace

namespace {

// Every stored price of the demo catalogue is what the item pricing gives for its inputs.
TEST(DemoCatalogue, EveryPriceIsWhatThePricingGives) {
    testsupport::TestEnvironment env;
    env.useDataFolder();
    ASSERT_TRUE(
        testsupport::openTestAgenda(env, QStringLiteral("0003.res"), QStringLiteral("DEMO")));
    core::Database& db = core::programState().db->agenda;
    QSqlQuery q = db.select(QStringLiteral(
        "SELECT NakCena, PrCenaBDPH, PrCenaSDPH, SDPH, SazbaDPH, Zaok, Prepocitat, TypHodnoty, "
        "Marze, Rabat, Sklad, (SELECT Sklad FROM Skupiny g WHERE g.ID = Zasoby.Skupina) "
        "FROM Zasoby"));
    int items = 0;
    QSet<double> rates;
    while (q.next()) {
        catalogue::ItemPriceFields f;
        f.NakCena = q.value(0).toDouble();
        f.PrCenaBDPH = q.value(1).toDouble();
        f.PrCenaSDPH = q.value(2).toDouble();
        f.SDPH = q.value(3).toBool();
        f.SazbaDPH = q.value(4).toDouble();
        f.Zaok = q.value(5).toInt();
        f.Prepocitat = q.value(6).toBool();
        f.TypHodnoty = q.value(7).toInt();
        f.Marze = q.value(8).toDouble();
        f.Rabat = q.value(9).toDouble();
        catalogue::ItemPricing again(f);
        again.recompute();
        EXPECT_EQ(again.fields(), f);
        EXPECT_EQ(q.value(10).toLongLong(), q.value(11).toLongLong()); // the group's sheet
        rates.insert(f.SazbaDPH);
        ++items;
    }
    EXPECT_GE(items, 200);
    EXPECT_EQ(rates, (QSet<double>{21.0, 12.0, 0.0}));
    db.close();
}

} // namespace
