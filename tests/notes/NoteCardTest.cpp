#include "NotesFixture.h"

#include "notes/NoteCard.h"
#include "notes/NoteRecord.h"
#include "services/RecordLock.h"
#include "services/RecordRefresh.h"
#include "support/RefusedWrites.h"
#include "support/TestStore.h"

#include <QSqlQuery>
#include <QSqlRecord>

using namespace orvento;
using Kind = testsupport::ScriptedInteraction::Kind;

namespace {

const QString kSaveFailed =
    QStringLiteral("Při ukládání záznamu došlo k chybě: metoda \"Execute\" selhala.");

class NoteCardTest : public testsupport::NotesFixture {
protected:
    static notes::NoteRecord stored(qint64 id) {
        QSqlQuery q = global().select(QStringLiteral("SELECT * FROM Poznamky WHERE ID = :ID"),
                                      {{QStringLiteral("ID"), id}});
        EXPECT_TRUE(q.next());
        return notes::noteMapping().read(q.record());
    }
    static int storedCount() {
        return global().scalar(QStringLiteral("SELECT COUNT(*) FROM Poznamky"))->toInt();
    }
};

// A new note: "<bez názvu>" goes on the first entry only, the title is cut to its width, the
// author is the user and the firm the agenda's name in upper case; a settled one leaves the list
// while settled notes are hidden.
TEST_F(NoteCardTest, NewNoteIsStoredWithAuthorAndFirm) {
    core::programState().agenda = QStringLiteral("Demo");
    notes.load(std::nullopt);
    notes::NoteCard card(notes);
    ASSERT_TRUE(card.startNew());
    EXPECT_EQ(card.nazev, QStringLiteral("<bez názvu>"));
    card.titleEntered();
    EXPECT_TRUE(card.nazev.isEmpty());
    card.nazev = QStringLiteral("Žluťoučký kůň");
    card.titleEntered();
    EXPECT_EQ(card.nazev, QStringLiteral("Žluťoučký kůň")) << "only the first entry clears";
    card.nazev = QString(60, QChar(u'ř'));
    card.detail = QStringLiteral("{\\rtf1 Zavolat}");
    card.viditelna = false;
    card.zobrazOst = false;
    ASSERT_EQ(card.confirm(), notes::NoteCard::Outcome::Saved);
    ASSERT_EQ(notes.rowCount(), 1);
    const qint64 id = *notes.currentId();
    const notes::NoteRecord row = stored(id);
    EXPECT_EQ(row.Nazev, QString(50, QChar(u'ř')));
    EXPECT_EQ(row.Firma, QStringLiteral("DEMO"));
    EXPECT_EQ(row.VytvorID, kUser);
    EXPECT_FALSE(row.ZobrazOst);
    EXPECT_EQ(row.Detail, QStringLiteral("{\\rtf1 Zavolat}"));
    EXPECT_FALSE(notes.row(0).Viditelna);

    // Edited by somebody else later: the author stays.
    core::programState().user.uzivId = 8;
    global().execute(QStringLiteral("UPDATE Poznamky SET ZobrazOst = 1"));
    notes.refresh();
    notes::NoteCard edit(notes);
    ASSERT_TRUE(edit.startEdit());
    EXPECT_EQ(edit.nazev, QString(50, QChar(u'ř')));
    edit.titleEntered();
    EXPECT_FALSE(edit.nazev.isEmpty());
    edit.vyrizeno = true;
    edit.viditelna = true;
    ASSERT_EQ(edit.confirm(), notes::NoteCard::Outcome::Saved);
    EXPECT_EQ(stored(id).VytvorID, kUser);
    EXPECT_TRUE(stored(id).Firma.isEmpty());
    EXPECT_EQ(notes.rowCount(), 0) << "settled and hidden";
    notes.toggleSettled();
    ASSERT_EQ(notes.rowCount(), 1);
    EXPECT_TRUE(notes.row(0).Vyrizeno);
    EXPECT_TRUE(ui.messages().empty());
}

// Rights: level 2 opens read-only with its notice and cannot save, level 3 opens nothing and a
// new note needs level 0 or 1; a note that came with the program is never edited.
TEST_F(NoteCardTest, RightsAndBuiltInNotesKeepTheCardFromSaving) {
    const qint64 id = insert(Note(QStringLiteral("Stará")));
    writeFile(QStringLiteral("index.rpo"), "[RPO]\nFILE1=a.rpo\n");
    writeFile(QStringLiteral("a.rpo"), "#VAL1=Vestavěná\ntext\n");
    notes.load(id);
    core::programState().user.poznamky = core::AccessLevel::ReadOnly;
    notes::NoteCard card(notes);
    ASSERT_TRUE(card.startEdit());
    EXPECT_FALSE(card.okEnabled());
    EXPECT_TRUE(ui.sawContaining(Kind::Information, QStringLiteral("pouze pro čtení")));
    card.nazev = QStringLiteral("Změna");
    EXPECT_EQ(card.confirm(), notes::NoteCard::Outcome::StayOpen);
    EXPECT_EQ(stored(id).Nazev, QStringLiteral("Stará"));
    EXPECT_FALSE(card.startNew());
    EXPECT_TRUE(ui.sawContaining(Kind::Information, QStringLiteral("Litujeme")));

    ui.clear();
    core::programState().user.poznamky = core::AccessLevel::NoDelete;
    notes.load(notes::builtInNoteId(1));
    EXPECT_FALSE(card.startEdit());
    EXPECT_TRUE(ui.saw(Kind::Information, notes::NoteList::builtInNoteMessage()));
}

// The card re-reads its note: one deleted elsewhere is told and leaves the list; one changed
// elsewhere shows the change. An update that finds no row any more fails, and the card keeps
// the text typed, while the list shows the note as stored.
TEST_F(NoteCardTest, ANoteGoneElsewhereIsToldAndAFailedSaveKeepsTheText) {
    const qint64 gone = insert(Note(QStringLiteral("Smazaná jinde")));
    const qint64 kept = insert(Note(QStringLiteral("Stará")));
    notes.load(gone);
    global().execute(QStringLiteral("DELETE FROM Poznamky WHERE ID = :ID"),
                     {{QStringLiteral("ID"), gone}});
    notes::NoteCard card(notes);
    EXPECT_FALSE(card.startEdit());
    EXPECT_TRUE(ui.saw(Kind::Warning, services::recordGoneMessage()));
    EXPECT_EQ(titles(), QStringList{QStringLiteral("Stará")});

    global().execute(QStringLiteral("UPDATE Poznamky SET Nazev = :N"),
                     {{QStringLiteral("N"), QStringLiteral("Nová jinde")}});
    ASSERT_TRUE(card.startEdit());
    EXPECT_EQ(card.nazev, QStringLiteral("Nová jinde"));
    card.nazev = QStringLiteral("Moje práce");
    card.detail = QStringLiteral("{\\rtf1 dlouhý text}");
    global().execute(QStringLiteral("DELETE FROM Poznamky WHERE ID = :ID"),
                     {{QStringLiteral("ID"), kept}});
    ui.clear();
    EXPECT_EQ(card.confirm(), notes::NoteCard::Outcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Error, kSaveFailed));
    EXPECT_EQ(card.nazev, QStringLiteral("Moje práce"));
    EXPECT_EQ(card.detail, QStringLiteral("{\\rtf1 dlouhý text}"));
    EXPECT_EQ(notes.row(0).Nazev, QStringLiteral("Stará")) << "the list changes only on a save";
    EXPECT_EQ(storedCount(), 0) << "nothing was inserted instead";
}

// A table that cannot be written: the failure is told, nothing is stored, the card stays.
TEST_F(NoteCardTest, AnInsertThatFailsKeepsTheCardOpen) {
    notes.load(std::nullopt);
    ASSERT_TRUE(testsupport::refuseWrites(global(), QStringLiteral("refuse"),
                                          QStringLiteral("INSERT"), QStringLiteral("Poznamky")));
    notes::NoteCard card(notes);
    ASSERT_TRUE(card.startNew());
    card.nazev = QStringLiteral("Nepůjde");
    EXPECT_EQ(card.confirm(), notes::NoteCard::Outcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Error, kSaveFailed));
    EXPECT_EQ(card.nazev, QStringLiteral("Nepůjde"));
    EXPECT_EQ(notes.rowCount(), 0);
}

// Another workstation edits the note: the card opens read-only with the notice and the note
// cannot be deleted; once it lets go, both work.
TEST_F(NoteCardTest, ANoteOpenOnAnotherWorkstation) {
    const qint64 id = insert(Note(QStringLiteral("Sdílená")));
    notes.load(id);
    {
        testsupport::OtherWorkstation other(
            {QStringLiteral("store-lock"), testsupport::testStoreKind(), env.dataFolder(),
             QStringLiteral("-"), QStringLiteral("Poznamky"), QString::number(id)});
        ASSERT_EQ(other.firstLine(), QStringLiteral("held"));
        notes::NoteCard card(notes);
        ASSERT_TRUE(card.startEdit());
        EXPECT_FALSE(card.okEnabled());
        EXPECT_TRUE(ui.saw(Kind::Information, services::recordInUseMessage()));
        EXPECT_FALSE(notes.deleteCurrent());
        EXPECT_TRUE(ui.saw(Kind::Warning, services::recordInUseDeleteMessage()));
        EXPECT_EQ(notes.rowCount(), 1);
    }
    notes::NoteCard card(notes);
    ASSERT_TRUE(card.startEdit());
    EXPECT_TRUE(card.okEnabled());
    testsupport::OtherWorkstation later({QStringLiteral("store-lock"), testsupport::testStoreKind(),
                                         env.dataFolder(), QStringLiteral("-"),
                                         QStringLiteral("Poznamky"), QString::number(id)});
    EXPECT_EQ(later.firstLine(), QStringLiteral("readonly")) << "the card holds the note";
}

} // namespace
