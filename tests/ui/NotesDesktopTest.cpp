#include "core/ProgramState.h"
#include "notes/NoteList.h"
#include "support/ModalDialogs.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"
#include "ui/MainWindow.h"
#include "ui/ProgramNavigator.h"
#include "ui/RichTextEditor.h"
#include "ui/notes/NoteCardDialog.h"
#include "ui/notes/NotesPanel.h"
#include "ui/output/PrintWindow.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::child;
using testsupport::onNextModal;

namespace {

class NotesDesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder();
        ASSERT_TRUE(testsupport::openEmptyAgendaAndGlobal(env, QStringLiteral("DEMO")));
        core::ProgramState& state = core::programState();
        QDir().mkpath(state.folders.lock);
        QDir().mkpath(state.folders.print);
        write(state.folders.print + QStringLiteral("_POZN.FRX"),
              "[body]\n{{#mtPoznTisk}}{{/mtPoznTisk}}\n");
        write(env.dataFolder() + QStringLiteral("index.rpo"), "[RPO]\nFILE1=prvni.rpo\n");
        write(env.dataFolder() + QStringLiteral("prvni.rpo"),
              "#VAL1=První kroky\n{\\rtf1\\ansi V\\u237?tejte v programu}\n");
        // The report runner of the program folder keeps the report data it is given.
        state.folders.program = env.dataFolder() + QStringLiteral("program/");
        QDir().mkpath(state.folders.program);
        const QString runner = state.folders.program + QStringLiteral("Dastrel");
        write(runner, QStringLiteral("#!/bin/sh\nr=${2#?REPORTDATA=}; r=${r%%?REPORTDATA}\n"
                                     "cp \"$r\" '%1seen-report.xml'\n")
                          .arg(env.dataFolder())
                          .toUtf8());
        QFile(runner).setPermissions(QFile(runner).permissions() | QFileDevice::ExeOwner);
        window.setDesktopPanel(panel);
        notes.load(std::nullopt);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void TearDown() override { core::resetProgramState(); }

    static void write(const QString& path, const QByteArray& content) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QPushButton* button(const char* name) const { return child<QPushButton>(panel, name); }
    QStringList titles() const {
        QStringList shown;
        for (int i = 0; i < notes.rowCount(); ++i)
            shown << notes.row(i).Nazev;
        return shown;
    }
    static core::Database& global() { return core::programState().db->global; }

    testsupport::TestEnvironment env;
    testsupport::ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    notes::NoteList notes{test.context};
    ui::MainWindow window{test.context};
    ui::NotesPanel* panel = new ui::NotesPanel(notes);
};

// The person adds a note as settled, shows the settled ones, edits it back to open by a double
// click, prints the note that came with the program and deletes the own one.
TEST_F(NotesDesktopTest, AddSettleShowEditPrintAndDelete) {
    QListView* list = panel->listView();
    ASSERT_EQ(list->model()->rowCount(), 1);
    EXPECT_EQ(list->currentIndex().row(), 0);
    EXPECT_EQ(panel->textView()->toPlainText(), QStringLiteral("Vítejte v programu"));
    EXPECT_TRUE(panel->textView()->isReadOnly());
    EXPECT_EQ(button("btnFiltrPozn")->text(), QStringLiteral("Zobrazit i vyřízené"));
    EXPECT_EQ(button("btnRefreshPozn")->toolTip(), QStringLiteral("Refresh poznámek z databáze"));
    for (const char* name : {"btnOpravitPozn", "btnVyjmoutPozn", "btnTiskPozn"})
        EXPECT_TRUE(button(name)->isEnabled()) << name;

    bool added = false;
    onNextModal([&](QWidget* modal) {
        auto* card = qobject_cast<ui::NoteCardDialog*>(modal);
        ASSERT_NE(card, nullptr);
        EXPECT_EQ(card->windowTitle(), QStringLiteral("Karta poznámky"));
        EXPECT_EQ(card->titleField()->text(), QStringLiteral("<bez názvu>"));
        card->titleField()->setFocus();
        QApplication::processEvents();
        EXPECT_TRUE(card->titleField()->text().isEmpty());
        QTest::keyClicks(card->titleField(), QStringLiteral("Koupit toner"));
        card->textEditor()->editor()->setFocus();
        QTest::keyClicks(card->textEditor()->editor(), QStringLiteral("Do patku"));
        card->settledSwitch()->click();
        EXPECT_TRUE(card->titleField()->styleSheet().contains(QStringLiteral("white")));
        QTest::keyClick(card->titleField(), Qt::Key_Return);
        added = !card->isVisible();
    });
    button("btnPridatPozn")->click();
    ASSERT_TRUE(added);
    EXPECT_EQ(titles(), QStringList{QStringLiteral("První kroky")}) << "settled and hidden";

    button("btnFiltrPozn")->click();
    EXPECT_EQ(button("btnFiltrPozn")->text(), QStringLiteral("Skrýt vyřízené"));
    ASSERT_EQ(titles(),
              (QStringList{QStringLiteral("První kroky"), QStringLiteral("Koupit toner")}));
    list->setCurrentIndex(list->model()->index(1, 0));
    EXPECT_EQ(panel->textView()->toPlainText(), QStringLiteral("Do patku"));

    QApplication::processEvents(); // the list lays its rows out
    const QRect row = list->visualRect(list->model()->index(1, 0));
    ASSERT_TRUE(row.isValid());
    onNextModal([&](QWidget* modal) {
        auto* card = qobject_cast<ui::NoteCardDialog*>(modal);
        ASSERT_NE(card, nullptr);
        EXPECT_EQ(card->titleField()->text(), QStringLiteral("Koupit toner"));
        EXPECT_TRUE(card->settledSwitch()->isChecked());
        card->settledSwitch()->click();
        card->titleField()->selectAll();
        QTest::keyClicks(card->titleField(), QStringLiteral("Koupit papir"));
        card->accept();
    });
    // A double click: the first click, then the second one that the system reports as double.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(global().scalar(QStringLiteral("SELECT Nazev FROM Poznamky"))->toString(),
              QStringLiteral("Koupit papir"));
    EXPECT_EQ(global().scalar(QStringLiteral("SELECT Vyrizeno FROM Poznamky"))->toInt(), 0);
    EXPECT_EQ(global().scalar(QStringLiteral("SELECT VytvorID FROM Poznamky"))->toInt(), 0);

    // The note that came with the program is printed with its text.
    list->setCurrentIndex(list->model()->index(0, 0));
    ui::ProgramNavigator windows(test.context, nullptr);
    test.navigator.passOn(windows);
    onNextModal([&](QWidget* modal) {
        auto* print = qobject_cast<ui::PrintWindow*>(modal);
        ASSERT_NE(print, nullptr);
        child<QPushButton>(print, "btnNahled")->click();
    });
    button("btnTiskPozn")->click();
    EXPECT_EQ(test.navigator.requests(),
              QStringList{QStringLiteral("printNote -1001 První kroky")});
    QFile report(env.dataFolder() + QStringLiteral("seen-report.xml"));
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    const QString data = QString::fromUtf8(report.readAll());
    EXPECT_TRUE(data.contains(QStringLiteral("První kroky")));
    EXPECT_TRUE(data.contains(QStringLiteral("V\\u237?tejte v programu"))) << data.toStdString();

    list->setCurrentIndex(list->model()->index(1, 0));
    ui.answer(true);
    button("btnVyjmoutPozn")->click();
    EXPECT_EQ(titles(), QStringList{QStringLiteral("První kroky")});
    EXPECT_EQ(global().scalar(QStringLiteral("SELECT COUNT(*) FROM Poznamky"))->toInt(), 0);
    EXPECT_EQ(list->currentIndex().row(), 0);
}

// The refresh button brings what another workstation saved and keeps the selected note; with no
// note at all the commands that need one are off.
TEST_F(NotesDesktopTest, RefreshKeepsTheSelectionAndEmptyListDisablesCommands) {
    ASSERT_TRUE(
        global().execute(QStringLiteral("INSERT INTO Poznamky (Nazev, ZobrazOst) VALUES (:N, 1)"),
                         {{QStringLiteral("N"), QStringLiteral("Z jiné stanice")}}));
    button("btnRefreshPozn")->click();
    EXPECT_EQ(notes.rowCount(), 2);
    EXPECT_EQ(notes.currentId(), std::optional<qint64>(-1001));
    panel->listView()->setCurrentIndex(panel->listView()->model()->index(1, 0));
    button("btnRefreshPozn")->click();
    EXPECT_EQ(panel->listView()->currentIndex().row(), 1);

    QFile::remove(env.dataFolder() + QStringLiteral("prvni.rpo"));
    global().execute(QStringLiteral("DELETE FROM Poznamky"));
    button("btnRefreshPozn")->click();
    EXPECT_EQ(notes.rowCount(), 0);
    for (const char* name : {"btnOpravitPozn", "btnVyjmoutPozn", "btnTiskPozn"})
        EXPECT_FALSE(button(name)->isEnabled()) << name;
    EXPECT_TRUE(button("btnPridatPozn")->isEnabled());
    EXPECT_TRUE(panel->textView()->toPlainText().isEmpty());
}

} // namespace
