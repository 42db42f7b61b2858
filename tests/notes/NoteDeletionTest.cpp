#include "NotesFixture.h"

#include "notes/NoteStartupHooks.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"
#include "support/TestStore.h"

using namespace orvento;
using Kind = testsupport::ScriptedInteraction::Kind;

namespace {

class NoteDeletionTest : public testsupport::NotesFixture {};

// A note that came with the program loses its file and stays gone after a refresh; a user note
// loses its row, after the question with the tip; "Ne" keeps both; the next note is selected,
// the previous one after the last.
TEST_F(NoteDeletionTest, DeletingBuiltInAndUserNotes) {
    writeFile(QStringLiteral("index.rpo"), "[RPO]\nFILE1=a.rpo\nFILE2=b.rpo\n");
    writeFile(QStringLiteral("a.rpo"), "#VAL1=První\ntext\n");
    writeFile(QStringLiteral("b.rpo"), "#VAL1=Druhá\ntext\n");
    const qint64 own = insert(Note(QStringLiteral("Vlastní")));
    notes.load(notes::builtInNoteId(1));

    ui.answer(false);
    EXPECT_FALSE(notes.deleteCurrent());
    EXPECT_TRUE(exists(QStringLiteral("a.rpo")));
    ui.answer(true);
    ASSERT_TRUE(notes.deleteCurrent());
    EXPECT_TRUE(ui.saw(Kind::Question, notes::NoteList::deleteQuestion(false)));
    EXPECT_FALSE(ui.allTexts().join(QString()).contains(QStringLiteral("Tip: chcete-li")));
    EXPECT_FALSE(exists(QStringLiteral("a.rpo")));
    EXPECT_EQ(notes.currentId(), std::optional<qint64>(notes::builtInNoteId(2)));
    notes.refresh();
    EXPECT_EQ(titles(), (QStringList{QStringLiteral("Druhá"), QStringLiteral("Vlastní")}));

    notes.setCurrentRow(1);
    ui.answer(true);
    ASSERT_TRUE(notes.deleteCurrent());
    EXPECT_TRUE(ui.saw(Kind::Question, notes::NoteList::deleteQuestion(true)));
    EXPECT_TRUE(notes::NoteList::deleteQuestion(true).contains(
        QStringLiteral("\n\nTip: chcete-li pouze vypnout zobrazování této poznámky")));
    EXPECT_FALSE(global().scalar(QStringLiteral("SELECT ID FROM Poznamky WHERE ID = :ID"),
                                 {{QStringLiteral("ID"), own}}));
    EXPECT_EQ(notes.currentRow(), 0) << "the previous note after the last one";
}

// Deleting needs full rights; a key pointing out of the data folder never reaches a file.
TEST_F(NoteDeletionTest, DeletingNeedsLevelZeroAndStaysInsideTheDataFolder) {
    if (testsupport::testStoreIsServer())
        GTEST_SKIP() << "the link points at the global database's file in the data folder";
    writeFile(QStringLiteral("index.rpo"), "[RPO]\nFILE1=../Global.MDB\nFILE2=b.rpo\n");
    writeFile(QStringLiteral("b.rpo"), "#VAL1=Druhá\ntext\n");
    notes.load(std::nullopt);
    ASSERT_EQ(notes.rowCount(), 1);
    core::programState().user.poznamky = core::AccessLevel::NoDelete;
    EXPECT_FALSE(notes.deleteCurrent());
    EXPECT_TRUE(ui.sawContaining(Kind::Information, QStringLiteral("Litujeme")));
    core::programState().user.poznamky = core::AccessLevel::Full;
    ui.answer(true);
    ASSERT_TRUE(notes.deleteCurrent());
    EXPECT_TRUE(exists(QStringLiteral("Global.MDB")));
    EXPECT_TRUE(exists(QStringLiteral("index.rpo")));
    EXPECT_FALSE(exists(QStringLiteral("b.rpo")));
    EXPECT_EQ(notes.rowCount(), 0);
}

// The selected note is stored in the profile when the program closes and selected at the next
// start; without a remembered one the first note of the program is selected.
TEST_F(NoteDeletionTest, TheSelectedNoteIsRememberedAcrossARestart) {
    writeFile(QStringLiteral("index.rpo"), "[RPO]\nFILE1=a.rpo\n");
    writeFile(QStringLiteral("a.rpo"), "#VAL1=První\ntext\n");
    insert(Note(QStringLiteral("Jedna")));
    const qint64 second = insert(Note(QStringLiteral("Dvě")));
    notes::NoteStartupHooks hooks;
    hooks.setNotes(&notes);
    hooks.loadNotes(test.context);
    EXPECT_EQ(notes.currentId(), std::optional<qint64>(notes::kDefaultNoteId));
    notes.setCurrentRow(2);
    hooks.saveProfile(test.context);
    EXPECT_EQ(services::profile::loadInt(services::profile::value::CurrentNote, 0), second);

    notes::NoteList nextRun(test.context);
    hooks.setNotes(&nextRun);
    hooks.loadNotes(test.context);
    EXPECT_EQ(nextRun.currentId(), std::optional<qint64>(second));
    EXPECT_TRUE(ui.messages().empty());
}

} // namespace
