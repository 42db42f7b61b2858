#include "catalogue/CatalogueAgenda.h"

#include "catalogue/CatalogueMessages.h"
#include "catalogue/CatalogueWindowLogic.h"
#include "catalogue/GroupCard.h"
#include "catalogue/GroupOperations.h"
#include "catalogue/ItemCard.h"
#include "catalogue/ItemRecord.h"
#include "catalogue/MoveOperation.h"
#include "catalogue/PriceGroupCard.h"
#include "catalogue/PriceLevelCard.h"
#include "catalogue/PriceLists.h"
#include "catalogue/SheetListLogic.h"
#include "catalogue/SheetOperations.h"
#include "services/ProfileSession.h"
#include "services/RecordRefresh.h"
#include "support/RefusedWrites.h"

using namespace orvento;
using namespace orvento::catalogue;
using Kind = testsupport::ScriptedInteraction::Kind;

namespace {

class CatalogueCardsKeepEditsTest : public testsupport::CatalogueAgenda {
protected:
    // Makes every write of one kind to a table fail, as a full disk or a broken file would.
    void failEvery(const char* what, const char* table) {
        ASSERT_TRUE(testsupport::refuseWrites(
            db(),
            QStringLiteral("fail_%1_%2").arg(QString::fromLatin1(what), QString::fromLatin1(table)),
            QString::fromLatin1(what), QString::fromLatin1(table)));
    }
    void allowAgain(const char* what, const char* table) {
        ASSERT_TRUE(testsupport::allowWrites(
            db(),
            QStringLiteral("fail_%1_%2").arg(QString::fromLatin1(what), QString::fromLatin1(table)),
            QString::fromLatin1(table)));
    }
    qint64 addSheet(const QString& name) { return *createSheet(db(), ui, name); }

    services::ProfileSession session;
};

// In an offer's pick mode Enter and a double click pick the item, while "Opravit" and Alt+O still
// open its card, where an unfinished item is mended; on the groups grid both edit the group.
TEST_F(CatalogueCardsKeepEditsTest, PickModeEditsThroughOpravitAndPicksOnEnter) {
    CatalogueWindowLogic pick(db(), ui, session, CatalogueMode::Pick);
    ASSERT_TRUE(pick.open());
    pick.setFocusedGrid(CatalogueGrid::Items);
    EXPECT_EQ(pick.editAction(EditTrigger::Activation), EditAction::PickItem);
    EXPECT_EQ(pick.editAction(EditTrigger::EditCommand), EditAction::EditItem);
    pick.setFocusedGrid(CatalogueGrid::Groups);
    EXPECT_EQ(pick.editAction(EditTrigger::Activation), EditAction::EditGroup);
    pick.close();

    CatalogueWindowLogic browse(db(), ui, session, CatalogueMode::Browse);
    ASSERT_TRUE(browse.open());
    browse.setFocusedGrid(CatalogueGrid::Items);
    EXPECT_EQ(browse.editAction(EditTrigger::Activation), EditAction::EditItem);
    EXPECT_EQ(browse.editAction(EditTrigger::EditCommand), EditAction::EditItem);
    browse.close();
}

// The group picker's "Opravit" finds the group again first: one deleted elsewhere gives the
// refresh warning and no card; the card of a group deleted while it was open says the same on OK.
TEST_F(CatalogueCardsKeepEditsTest, GroupPickerEditsOnlyAGroupThatStillExists) {
    const qint64 group =
        *saveGroup(db(), ui, {0, sheet, QStringLiteral("Kabely"), {}, false}, true);
    GroupPickerLogic picker(db(), ui, sheet);
    picker.reload(group);
    ASSERT_EQ(picker.current()->id, group);
    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM Skupiny WHERE ID = :ID"),
                             {{QStringLiteral("ID"), group}}));
    EXPECT_FALSE(picker.groupToEdit());
    EXPECT_TRUE(ui.saw(Kind::Warning, services::recordGoneMessage()));
    EXPECT_EQ(picker.rows().size(), 1u); // the basic group is left

    // The basic group is refused by name, as in the catalogue.
    ui.clear();
    EXPECT_FALSE(picker.groupToEdit());
    EXPECT_TRUE(ui.saw(Kind::Information,
                       messages::basicGroupNotEditable(QStringLiteral("# Nezařazeno #"))));

    const qint64 other =
        *saveGroup(db(), ui, {0, sheet, QStringLiteral("Svítidla"), {}, false}, true);
    picker.reload(other);
    const auto edited = picker.groupToEdit();
    ASSERT_TRUE(edited);
    GroupCard card(db(), ui);
    ASSERT_TRUE(card.startExisting(*edited));
    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM Skupiny WHERE ID = :ID"),
                             {{QStringLiteral("ID"), other}}));
    ui.clear();
    card.setName(QStringLiteral("Svítidla LED"));
    EXPECT_FALSE(card.save());
    EXPECT_TRUE(ui.saw(Kind::Warning, services::recordGoneMessage()));
    EXPECT_FALSE(ui.saw(Kind::Error, core::newRowNotFoundMessage()));
    EXPECT_EQ(card.group().nazev, QStringLiteral("Svítidla LED"));
}

// A reorder that cannot be written is reported and leaves the order as it was.
TEST_F(CatalogueCardsKeepEditsTest, AFailedSheetReorderIsReported) {
    const qint64 second = addSheet(QStringLiteral("Služby"));
    failEvery("UPDATE", "Sklady");
    SheetListLogic list(db(), ui, SheetListMode::Manage, true);
    list.reload(second);
    EXPECT_FALSE(list.moveCurrent(-1));
    EXPECT_TRUE(ui.saw(Kind::Error, core::saveFailedMessage(QStringLiteral("Sklady"))));
    EXPECT_EQ(readSheets(db()).back().id, second);
}

// A level or price group that cannot be written is reported and its card stays open with what
// the person entered; nothing of it is stored.
TEST_F(CatalogueCardsKeepEditsTest, AFailedLevelOrGroupSaveKeepsTheCardOpen) {
    PriceLevelCard level(db(), ui);
    ASSERT_TRUE(level.startNew());
    level.level().Zkratka = QStringLiteral("VO");
    level.level().Popis = QStringLiteral("Velkoobchod");
    level.level().values.Hodnota = 12.5;
    failEvery("INSERT", "CenHlad");
    EXPECT_EQ(level.confirm(), CardOutcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Error, core::saveFailedMessage()));
    EXPECT_TRUE(level.isNew());
    EXPECT_EQ(level.level().Popis, QStringLiteral("Velkoobchod"));
    EXPECT_EQ(level.level().values.Hodnota, 12.5);
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM CenHlad")).toInt(), 0);
    allowAgain("INSERT", "CenHlad");

    const qint64 dealer = addLevel(QStringLiteral("DEALER"), testsupport::computed(0, 8));
    PriceGroupCard group(db(), ui);
    ASSERT_TRUE(group.startNew());
    group.group().Zkratka = QStringLiteral("ELEKTRO");
    group.group().Popis = QStringLiteral("Elektroinstalace");
    ASSERT_TRUE(group.addLevel(*levelById(db(), dealer)));
    failEvery("INSERT", "CenSkupPol");
    ui.clear();
    EXPECT_EQ(group.confirm(), CardOutcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Error, core::saveFailedMessage(QStringLiteral("CenSkupPol"))));
    EXPECT_TRUE(group.isNew());
    ASSERT_EQ(group.rows().size(), 1u);
    EXPECT_EQ(group.rows()[0].ID, -1);
    EXPECT_EQ(group.group().Popis, QStringLiteral("Elektroinstalace"));
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM CenSkup")).toInt(), 0);
}

TEST_F(CatalogueCardsKeepEditsTest, AFailedItemSaveKeepsTheCardOpen) {
    ItemCard card(db(), ui);
    ASSERT_TRUE(card.open(ItemCardMode::New, -1, sheet, 0));
    card.item().Popis = QStringLiteral("Zásuvka 230 V");
    card.setNakCena(100);
    failEvery("INSERT", "Zasoby");
    EXPECT_EQ(card.confirm(), CardOutcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Error, core::saveFailedMessage(QStringLiteral("Zasoby"))));
    EXPECT_EQ(card.item().Popis, QStringLiteral("Zásuvka 230 V"));
    EXPECT_EQ(card.prices().NakCena, 100);
    allowAgain("INSERT", "Zasoby");
    ui.clear();
    ASSERT_EQ(card.confirm(), CardOutcome::Saved);
    EXPECT_EQ(readItem(db(), card.id())->Popis, QStringLiteral("Zásuvka 230 V"));
}

// Codes match ignoring letter case: a stored code that the card only writes in capitals is no
// rename, so no question comes (the scripted person answers none) and the save goes through.
TEST_F(CatalogueCardsKeepEditsTest, ReCasingACodeAsksNoRenameQuestion) {
    const qint64 level = addLevel(QStringLiteral("vo"), testsupport::computed(0, 5));
    PriceLevelCard levelCard(db(), ui);
    ASSERT_TRUE(levelCard.startExisting(level));
    EXPECT_EQ(levelCard.confirm(), CardOutcome::Saved);
    EXPECT_EQ(levelById(db(), level)->Zkratka, QStringLiteral("VO"));

    const qint64 group = addGroup(QStringLiteral("elektro"));
    PriceGroupCard groupCard(db(), ui);
    ASSERT_TRUE(groupCard.startExisting(group));
    EXPECT_EQ(groupCard.confirm(), CardOutcome::Saved);
    EXPECT_EQ(groupById(db(), group)->Zkratka, QStringLiteral("ELEKTRO"));
    EXPECT_FALSE(ui.sawContaining(Kind::Question, QStringLiteral("Změnu zkratky")));
}

// The lists of levels and groups sort by a clicked column in Czech order, stay on their row,
// and find the first row whose sort column starts with the typed text in any letter case.
TEST_F(CatalogueCardsKeepEditsTest, LevelListsSortByAColumnAndFindInIt) {
    const auto add = [](const char* code, const char* name) {
        PriceLevel level;
        level.Zkratka = QString::fromUtf8(code);
        level.Popis = QString::fromUtf8(name);
        EXPECT_TRUE(priceLevelMapping().insert(db(), level));
        return db().newRowId();
    };
    const qint64 a = add("A1", "Velkoobchod");
    add("B2", "Čalouníci");
    const qint64 c = add("C3", "Chatař");
    add("D4", "Hotely");
    PriceLevelList list(db(), ui);
    ASSERT_TRUE(list.reload());
    const auto names = [&list] {
        QStringList out;
        for (const PriceLevel& l : list.rows())
            out << l.Popis;
        return out;
    };
    list.locate(a);
    list.sortBy(CodedColumn::Popis);
    EXPECT_EQ(names(), QStringList({QStringLiteral("Čalouníci"), QStringLiteral("Hotely"),
                                    QStringLiteral("Chatař"), QStringLiteral("Velkoobchod")}));
    EXPECT_EQ(list.currentId(), a);
    EXPECT_EQ(list.quickFind(QStringLiteral("ch")), std::optional<size_t>(2));
    EXPECT_EQ(list.currentId(), c);
    EXPECT_FALSE(list.quickFind(QStringLiteral("x")));
    EXPECT_EQ(list.currentId(), c);
    ASSERT_TRUE(list.reload()); // the order stays
    EXPECT_EQ(names().front(), QStringLiteral("Čalouníci"));
    list.sortBy(CodedColumn::Zkratka);
    EXPECT_EQ(list.quickFind(QStringLiteral("d")), std::optional<size_t>(3));
}

// What the windows show comes from their logic: the sheet of a move within the active sheet, and
// the level row as the level card shows it, with the level's name.
TEST_F(CatalogueCardsKeepEditsTest, MoveAndGroupCardsNameWhatTheirWindowsShow) {
    MoveOperation move(db(), ui, MoveKind::ItemsToGroup, {}, sheet);
    EXPECT_EQ(move.sheetName(), QStringLiteral("List 1"));

    const qint64 dealer = addLevel(QStringLiteral("DEALER"), testsupport::computed(0, 8));
    ASSERT_TRUE(db().execute(
        QStringLiteral("UPDATE CenHlad SET Popis = :Popis WHERE ID = :ID"),
        {{QStringLiteral("Popis"), QStringLiteral("Prodejci")}, {QStringLiteral("ID"), dealer}}));
    PriceGroupCard card(db(), ui);
    ASSERT_TRUE(card.startNew());
    ASSERT_TRUE(card.addLevel(*levelById(db(), dealer)));
    const PriceLevel shown = card.levelShownFor(0);
    EXPECT_EQ(shown.Zkratka, QStringLiteral("DEALER"));
    EXPECT_EQ(shown.Popis, QStringLiteral("Prodejci"));
    EXPECT_EQ(shown.values.Hodnota, 8.0);
}

} // namespace

namespace {

// A slice of a move that the database refuses is rolled back whole and told afterwards (the
// scripted person fails the test on a message shown while the slice holds the write lock).
TEST_F(CatalogueCardsKeepEditsTest, AFailedMoveSliceIsToldAfterItsRollback) {
    std::vector<qint64> items;
    for (int i = 0; i < 3; ++i) {
        ItemRecord item;
        item.Popis = QStringLiteral("Položka %1").arg(i);
        items.push_back(addItem(item));
    }
    MoveOperation move(db(), ui, MoveKind::ItemsToGroup, items, sheet);
    move.setGroup(basicGroup, QStringLiteral("Základní skupina"));
    failEvery("UPDATE", "Zasoby");
    EXPECT_EQ(move.run({}), 0);
    EXPECT_TRUE(ui.saw(Kind::Error, core::saveFailedMessage(QStringLiteral("Zasoby"))));
}

} // namespace
