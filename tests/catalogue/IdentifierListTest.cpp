#include "CatalogueAgenda.h"

#include "catalogue/IdentifierCodes.h"
#include "catalogue/IdentifierEditor.h"
#include "catalogue/IdentifierRecords.h"
#include "services/RecordLock.h"

using namespace orvento;
using namespace orvento::catalogue;
using Kind = testsupport::ScriptedInteraction::Kind;

namespace {

TEST(IdentifierCodes, ListFormatReadsAndWritesBothWays) {
    EXPECT_TRUE(splitIdentifiers(QString()).isEmpty());
    EXPECT_EQ(joinIdentifiers({}), QString()); // never a lone "_"
    EXPECT_EQ(joinIdentifiers({QStringLiteral("A"), QStringLiteral("B")}), QStringLiteral("_A_B_"));
    EXPECT_EQ(splitIdentifiers(QStringLiteral("_A_B_")),
              (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    // Imported lists: text before the first separator is ignored, reading stops at two
    // separators side by side or where no separator closes a code; no empty code is kept.
    EXPECT_EQ(splitIdentifiers(QStringLiteral("xy_A_B_")),
              (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(splitIdentifiers(QStringLiteral("_A__B_")), QStringList{QStringLiteral("A")});
    EXPECT_EQ(splitIdentifiers(QStringLiteral("_A_B")), QStringList{QStringLiteral("A")});
    EXPECT_TRUE(splitIdentifiers(QStringLiteral("_")).isEmpty());
    EXPECT_TRUE(splitIdentifiers(QStringLiteral("AB")).isEmpty());
    // Codes with apostrophes, percent signs and Czech letters stay as they are.
    const QStringList odd = {QStringLiteral("O'K"), QStringLiteral("50%"), QStringLiteral("ČAJ")};
    EXPECT_EQ(splitIdentifiers(joinIdentifiers(odd)), odd);
}

TEST(IdentifierCodes, CarriesACodeAnywhereIgnoringCaseButNeverAPartOfOne) {
    EXPECT_TRUE(carriesIdentifier(QStringLiteral("_HW_SW_"), QStringLiteral("sw")));
    EXPECT_TRUE(carriesIdentifier(QStringLiteral("_čaj_"), QStringLiteral("ČAJ")));
    EXPECT_FALSE(carriesIdentifier(QStringLiteral("_AB_"), QStringLiteral("A")));
    EXPECT_FALSE(carriesIdentifier(QString(), QStringLiteral("A")));
}

TEST(IdentifierCodes, AddAndRemoveCombineInUpperCaseAndInOrder) {
    EXPECT_EQ(addIdentifiers(QStringLiteral("_A_B_"), QStringLiteral("_B_C_")),
              QStringLiteral("_A_B_C_"));
    EXPECT_EQ(removeIdentifiers(QStringLiteral("_A_B_C_"), QStringLiteral("_B_")),
              QStringLiteral("_A_C_"));
    EXPECT_EQ(removeIdentifiers(QStringLiteral("_A_"), QStringLiteral("_A_")), QString());
    EXPECT_EQ(addIdentifiers(QString(), QStringLiteral("_A_")), QStringLiteral("_A_"));
    EXPECT_EQ(addIdentifiers(QStringLiteral("_a_"), QString()), QStringLiteral("_A_"));
    EXPECT_EQ(removeIdentifiers(QStringLiteral("_a_b_"), QStringLiteral("_A_")),
              QStringLiteral("_B_"));
}

TEST(IdentifierEditorLogic, DuplicateInAnotherCaseIsRefusedAndRemoveFollowsTheTable) {
    testsupport::ScriptedInteraction ui;
    IdentifierEditor editor(ui);
    editor.load(QStringLiteral("_hw_"));
    EXPECT_TRUE(editor.mayRemove());
    editor.add(QStringLiteral("HW"));
    EXPECT_TRUE(
        ui.saw(Kind::Information, QStringLiteral("Zkratka \"HW\" již v seznamu existuje.")));
    editor.add(QStringLiteral("SW"));
    EXPECT_EQ(editor.confirm(), QStringLiteral("_hw_SW_"));
    editor.setCurrentRow(0);
    editor.removeCurrent();
    editor.removeCurrent();
    EXPECT_FALSE(editor.mayRemove());
    EXPECT_EQ(editor.confirm(), QString());
    // Each load starts again from the list given.
    editor.load(QStringLiteral("_A_"));
    EXPECT_EQ(editor.codes(), QStringList{QStringLiteral("A")});
}

TEST(IdentifierEditorLogic, AListOf256CharactersIsRefusedWithTheCodesKept) {
    testsupport::ScriptedInteraction ui;
    IdentifierEditor editor(ui);
    // 22 codes of 10 characters and one of 9: 1 + 22 * 11 + 10 = 253 characters.
    for (int i = 0; i < 22; ++i)
        editor.add(QStringLiteral("CODE%1").arg(i, 6, 10, QLatin1Char('0')));
    editor.add(QStringLiteral("NINECHARS"));
    ASSERT_EQ(editor.confirm()->size(), 253);
    editor.add(QStringLiteral("XY"));
    EXPECT_EQ(editor.confirm(), std::nullopt);
    EXPECT_TRUE(ui.saw(Kind::Warning, identifierListTooLongMessage()));
    ASSERT_EQ(editor.codes().size(), 24);
    EXPECT_EQ(editor.codes().last(), QStringLiteral("XY"));
    // 255 characters still fit.
    editor.removeCurrent();
    editor.add(QStringLiteral("X"));
    EXPECT_EQ(editor.confirm()->size(), 255);
}

using IdentifierCardTest = testsupport::CatalogueAgenda;

TEST_F(IdentifierCardTest, SavesATrimmedCodeAndRefusesEmptyUnderscoreAndDuplicates) {
    IdentifierCard card(db(), ui);
    ASSERT_TRUE(card.startNew());
    card.identifier().Zkratka = QStringLiteral("   ");
    EXPECT_EQ(card.confirm(), CardOutcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Information, QStringLiteral("Musíte zadat zkratku.")));
    card.identifier().Zkratka = QStringLiteral("A_B");
    EXPECT_EQ(card.confirm(), CardOutcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Information, QStringLiteral("Zkratka nesmí obsahovat znak \"_\".")));
    card.identifier().Zkratka = QStringLiteral("  čaj ");
    card.identifier().Popis = QStringLiteral("Čaje");
    ASSERT_EQ(card.confirm(), CardOutcome::Saved);
    EXPECT_EQ(value(QStringLiteral("SELECT Zkratka FROM SezIdentif WHERE ID = :ID"),
                    {{QStringLiteral("ID"), card.id()}})
                  .toString(),
              QStringLiteral("ČAJ"));

    // Another card with the same code in other letters is refused and writes nothing.
    IdentifierCard second(db(), ui);
    ASSERT_TRUE(second.startNew());
    second.identifier().Zkratka = QStringLiteral("Čaj");
    EXPECT_EQ(second.confirm(), CardOutcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Information,
                       QStringLiteral("Zkratka \"ČAJ\" již v seznamu existuje, zadejte jinou.")));
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM SezIdentif")).toInt(), 1);
}

TEST_F(IdentifierCardTest, RenameAndDeleteLeaveItemsAloneAndAGoneRowFailsItsSave) {
    IdentifierCard card(db(), ui);
    ASSERT_TRUE(card.startNew());
    card.identifier().Zkratka = QStringLiteral("A");
    ASSERT_EQ(card.confirm(), CardOutcome::Saved);
    ItemRecord item;
    item.Popis = QStringLiteral("Nese A");
    item.Identif = QStringLiteral("_A_");
    const qint64 itemId = addItem(item);

    const auto itemList = [&] {
        return value(QStringLiteral("SELECT Identif FROM Zasoby WHERE ID = :ID"),
                     {{QStringLiteral("ID"), itemId}})
            .toString();
    };
    {
        IdentifierCard edit(db(), ui);
        ASSERT_TRUE(edit.startExisting(card.id()));
        edit.identifier().Zkratka = QStringLiteral("C");
        ASSERT_EQ(edit.confirm(), CardOutcome::Saved);
    }
    EXPECT_EQ(itemList(), QStringLiteral("_A_"));

    IdentifierList list(db(), ui);
    ASSERT_TRUE(list.reload());
    {
        // Open elsewhere: not deleted.
        IdentifierCard other(db(), ui);
        ASSERT_TRUE(other.startExisting(card.id()));
        EXPECT_FALSE(list.removeCurrent());
        EXPECT_TRUE(ui.saw(Kind::Warning, services::recordInUseDeleteMessage()));
    }
    ui.answer(true);
    EXPECT_TRUE(list.removeCurrent());
    EXPECT_TRUE(ui.saw(Kind::Question, QStringLiteral("Opravdu chcete smazat identifikátor C?")));
    EXPECT_FALSE(list.hasRows());
    EXPECT_EQ(itemList(), QStringLiteral("_A_"));
}

TEST_F(IdentifierCardTest, AnUpdateOfARowDeletedElsewhereIsAFailedSave) {
    IdentifierCard card(db(), ui);
    ASSERT_TRUE(card.startNew());
    card.identifier().Zkratka = QStringLiteral("A");
    ASSERT_EQ(card.confirm(), CardOutcome::Saved);
    IdentifierCard edit(db(), ui);
    ASSERT_TRUE(edit.startExisting(card.id()));
    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM SezIdentif WHERE ID = :ID"),
                             {{QStringLiteral("ID"), card.id()}}));
    edit.identifier().Popis = QStringLiteral("změna");
    EXPECT_EQ(edit.confirm(), CardOutcome::SaveFailed);
    EXPECT_TRUE(
        ui.saw(Kind::Error, QStringLiteral("Při ukládání záznamu došlo k chybě: metoda \"Execute\" "
                                           "selhala.")));
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM SezIdentif")).toInt(), 0);
}

TEST_F(IdentifierCardTest, ARowGoneFromTheListGivesTheRefreshWarningAndDeletesNothingElse) {
    for (const char* code : {"HW", "SW"}) {
        IdentifierCard card(db(), ui);
        ASSERT_TRUE(card.startNew());
        card.identifier().Zkratka = QString::fromLatin1(code);
        ASSERT_EQ(card.confirm(), CardOutcome::Saved);
    }
    IdentifierList list(db(), ui);
    ASSERT_TRUE(list.reload());
    const qint64 first = *list.currentId();
    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM SezIdentif WHERE ID = :ID"),
                             {{QStringLiteral("ID"), first}}));
    EXPECT_FALSE(list.removeCurrent());
    EXPECT_TRUE(ui.saw(Kind::Warning, services::recordGoneMessage()));
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM SezIdentif")).toInt(), 1);
}

} // namespace
