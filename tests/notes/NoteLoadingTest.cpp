#include "NotesFixture.h"

#include "notes/BuiltInNotes.h"
#include "notes/NoteListModel.h"

#include <QBrush>
#include <QColor>

using namespace orvento;
using Kind = testsupport::ScriptedInteraction::Kind;

namespace {

class NoteLoadingTest : public testsupport::NotesFixture {};

// Who sees which user note: private notes only their author, a firm's notes only in that firm,
// settled ones only with the switch, and nobody anything at level 3.
TEST_F(NoteLoadingTest, UserNotesFollowAuthorFirmSettledAndRights) {
    insert(Note(QStringLiteral("Pro všechny")));
    insert(Note(QStringLiteral("Cizí soukromá")).privateOf(99));
    insert(Note(QStringLiteral("Moje soukromá")).privateOf(kUser));
    insert(Note(QStringLiteral("Jen v DEMO")).inFirm(QStringLiteral("demo")));
    const qint64 settled = insert(Note(QStringLiteral("Vyřízená")).settled());

    core::programState().agenda = QStringLiteral("FIRMA2");
    notes.load(std::nullopt);
    EXPECT_EQ(titles(),
              (QStringList{QStringLiteral("Pro všechny"), QStringLiteral("Moje soukromá")}));
    EXPECT_FALSE(notes.row(0).detailRead) << "the list reads no texts";

    // Another agenda opened: its notes come in.
    core::programState().agenda = QStringLiteral("Demo");
    Q_EMIT test.context.events().agendaOpened();
    EXPECT_TRUE(titles().contains(QStringLiteral("Jen v DEMO")));
    ASSERT_EQ(notes.rowCount(), 3);
    EXPECT_TRUE(notes.row(0).Viditelna);
    EXPECT_FALSE(notes.row(2).Viditelna);

    // The switch shows the settled note, in green.
    EXPECT_EQ(notes.settledSwitchCaption(), QStringLiteral("Zobrazit i vyřízené"));
    notes.toggleSettled();
    EXPECT_EQ(notes.settledSwitchCaption(), QStringLiteral("Skrýt vyřízené"));
    ASSERT_TRUE(titles().contains(QStringLiteral("Vyřízená")));
    notes::NoteListModel model(notes);
    const int at = static_cast<int>(titles().indexOf(QStringLiteral("Vyřízená")));
    EXPECT_EQ(model.data(model.index(at), Qt::ForegroundRole).value<QBrush>().color(),
              notes::settledColour());
    EXPECT_FALSE(model.data(model.index(0), Qt::ForegroundRole).isValid());
    notes.setCurrentRow(at);
    notes.toggleSettled();
    EXPECT_FALSE(titles().contains(QStringLiteral("Vyřízená")));
    EXPECT_NE(notes.currentId(), std::optional<qint64>(settled));

    // Another user logs in and is at level 3: nothing at all.
    core::programState().user.uzivId = 99;
    core::programState().user.poznamky = core::AccessLevel::Denied;
    writeFile(QStringLiteral("index.rpo"), "[RPO]\nFILE1=a.rpo\n");
    writeFile(QStringLiteral("a.rpo"), "#VAL1=Vestavěná\ntext\n");
    Q_EMIT test.context.events().userChanged();
    EXPECT_EQ(notes.rowCount(), 0);
    EXPECT_FALSE(notes.commandsEnabled());
    EXPECT_TRUE(ui.messages().empty());
}

// The index is read to its first missing key; keys naming no note file of the data folder are
// skipped like missing files; names are found whatever their case; a note of another agenda is
// left out; every #VAL line leaves the text.
TEST_F(NoteLoadingTest, BuiltInNotesFromTheIndex) {
    writeFile(QStringLiteral("INDEX.RPO"),
              "[rpo]\r\nFILE1=jina.rpo\r\nFILE2=chybi.rpo\r\nFILE3=../Global.MDB\r\n"
              "FILE4=Global.MDB\r\nFILE5=velka.rpo\r\nFILE6=cp1250.rpo\r\nFILE7=/etc/passwd\r\n"
              "FILE9=za-mezerou.rpo\r\n");
    writeFile(QStringLiteral("jina.rpo"), "#VAL1=Jiná firma\n#VAL2=FIRMA2\n{\\rtf1 x}\n");
    writeFile(QStringLiteral("VELKA.RPO"),
              "#VAL1=Velká písmena\r\n{\\rtf1\\ansi Prvn\\u237? kroky}\r\n#VAL3=navíc\r\n");
    writeFile(
        QStringLiteral("cp1250.rpo"),
        QByteArray("#VAL1=\x8elu\x9dou\xe8k\xfd k\xf9\xf2\r\n#VAL2=demo\r\nprost\xfd text\r\n"));
    writeFile(QStringLiteral("za-mezerou.rpo"), "#VAL1=Nečte se\n");

    notes.load(std::nullopt);
    ASSERT_EQ(notes.rowCount(), 2);
    const notes::NoteRow& upper = notes.row(0);
    EXPECT_EQ(upper.ID, -1005);
    EXPECT_EQ(upper.Nazev, QStringLiteral("Velká písmena"));
    EXPECT_EQ(upper.RPOSoubor, QStringLiteral("velka.rpo"));
    EXPECT_EQ(upper.Detail, QStringLiteral("{\\rtf1\\ansi Prvn\\u237? kroky}"));
    EXPECT_TRUE(upper.ZobrazOst && upper.Viditelna && !upper.Vyrizeno);
    EXPECT_EQ(upper.VytvorID, 0);
    const notes::NoteRow& legacy = notes.row(1);
    EXPECT_EQ(legacy.ID, -1006);
    EXPECT_EQ(legacy.Nazev, QStringLiteral("Žluťoučký kůň"));
    EXPECT_EQ(legacy.Detail, QStringLiteral("prostý text"));
    EXPECT_EQ(notes.currentId(), std::optional<qint64>(-1005)) << "-1001 is not listed";

    core::programState().agenda = QStringLiteral("firma2");
    notes.refresh();
    EXPECT_EQ(titles(),
              (QStringList{QStringLiteral("Jiná firma"), QStringLiteral("Velká písmena")}));
}

// What cannot be read leaves the list empty and says nothing: no index, an index of garbage.
TEST_F(NoteLoadingTest, MissingOrGarbageIndexGivesNoBuiltInNotes) {
    notes.load(std::nullopt);
    EXPECT_EQ(notes.rowCount(), 0);
    writeFile(QStringLiteral("index.rpo"), QByteArray("\xff\xfe\x00garbage=\n[RPO\nFILE1", 22));
    notes.load(std::nullopt);
    EXPECT_EQ(notes.rowCount(), 0);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(notes::builtInNotePath(env.dataFolder(), QStringLiteral("index.rpo")).isEmpty());
}

// A user note's text is read when it is shown, and is that of the row.
TEST_F(NoteLoadingTest, TheSelectedNoteShowsItsStoredText) {
    insert(Note(QStringLiteral("První")).text(QStringLiteral("{\\rtf1 jedna}")));
    const qint64 second =
        insert(Note(QStringLiteral("Druhá")).text(QStringLiteral("{\\rtf1 dva}")));
    notes.load(second);
    EXPECT_EQ(notes.currentRow(), 1);
    EXPECT_EQ(notes.currentDetail(), QStringLiteral("{\\rtf1 dva}"));
    notes.setCurrentRow(0);
    EXPECT_EQ(notes.currentDetail(), QStringLiteral("{\\rtf1 jedna}"));
}

} // namespace
