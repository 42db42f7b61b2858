#include "ui/output/PrintWindow.h"
#include "core/ProgramState.h"
#include "support/ModalDialogs.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"
#include "ui/ProgramNavigator.h"
#include "ui/addressbook/AddressBookWindow.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::child;
using testsupport::onNextModal;
using testsupport::ScriptedInteraction;

namespace {

class PrintWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder();
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("FIRMA")));
        ASSERT_TRUE(env.copyTemplate(QStringLiteral("0002.res"), QStringLiteral("Global.MDB")));
        ASSERT_TRUE(
            core::programState().db->global.open(env.dataFolder() + QStringLiteral("Global.MDB")));
        QDir().mkpath(core::programState().folders.lock);
        QDir().mkpath(core::programState().folders.print);
        for (const char* name : {"_ADRSZ.FRX", "_ADRSZKT.FRX"}) {
            QFile f(core::programState().folders.print + QString::fromLatin1(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("[body]\n");
        }
    }
    void TearDown() override { core::resetProgramState(); }
    static core::Database& db() { return core::programState().db->agenda; }

    // A runner that keeps copies of the two data files it was given.
    QString recordingRunner() {
        const QString runner = env.dataFolder() + QStringLiteral("runner.sh");
        QFile script(runner);
        EXPECT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(
            QStringLiteral("#!/bin/sh\n"
                           "s=${1#?SYSTEMDATA=}; s=${s%%?SYSTEMDATA}\n"
                           "r=${2#?REPORTDATA=}; r=${r%%?REPORTDATA}\n"
                           "cp \"$s\" '%1seen-system.xml'; cp \"$r\" '%1seen-report.xml'\n")
                .arg(env.dataFolder())
                .toUtf8());
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
        return runner;
    }
    QString seen(const char* name) {
        QFile f(env.dataFolder() + QString::fromLatin1(name));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
};

// The address report chosen in the list goes to the runner with the printer, and the window
// closes after the preview.
TEST_F(PrintWindowTest, PreviewOfTheChosenAddressReport) {
    ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Adresar (Nazev) VALUES ('Alfa a.s.')")));
    ui::PrintRequest request;
    request.printType = output::print_type::AddressBook;
    request.subject.firmIds = {db().newRowId()};
    request.runner = recordingRunner();
    ui::PrintWindow window(test.context, request, [] {
        return output::PrinterList{{QStringLiteral("Laser"), QStringLiteral("Inkoust")},
                                   QStringLiteral("Inkoust")};
    });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tisk"));
    EXPECT_EQ(window.printerBox()->currentText(), QStringLiteral("Inkoust"));
    EXPECT_FALSE(child<QPushButton>(&window, "btnExport")->isVisible());
    EXPECT_FALSE(child<QWidget>(&window, "panBtnSestava")->isVisible());
    ASSERT_EQ(window.grid()->rowCount(), 2);
    window.grid()->setCurrentCell(1, 1);
    EXPECT_EQ(child<QLabel>(&window, "dblblPopisSestavy")->text(),
              QStringLiteral("Detailní seznam adres"));
    window.printerBox()->setCurrentIndex(0);
    child<QPushButton>(&window, "btnNahled")->click();
    EXPECT_FALSE(window.isVisible());
    const QString system = seen("seen-system.xml");
    EXPECT_TRUE(system.contains(QStringLiteral("PREVIEW")));
    EXPECT_TRUE(system.contains(QStringLiteral("_ADRSZKT.FRX")));
    EXPECT_TRUE(system.contains(QStringLiteral("Laser")));
    EXPECT_TRUE(seen("seen-report.xml").contains(QStringLiteral("Alfa a.s.")));
}

// A copy made through the properties dialog, whose "OK" keeps it open on a refused file name.
TEST_F(PrintWindowTest, CopyThroughThePropertiesDialog) {
    ui::PrintRequest request;
    request.printType = output::print_type::AddressBook;
    ui::PrintWindow window(test.context, request, [] { return output::PrinterList{}; });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.printerBox()->count(), 0);
    window.editBox()->setChecked(true);
    ASSERT_TRUE(child<QWidget>(&window, "panBtnSestava")->isVisible());
    bool stayedOpen = false;
    onNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<ui::ReportPropertiesDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        auto* file = child<QLineEdit>(dialog, "edtNazevSouboru");
        EXPECT_EQ(file->text(), QStringLiteral("ADRSZ[2]"));
        file->setText(QStringLiteral("_ADRSZ"));
        dialog->accept();
        stayedOpen = dialog->isVisible();
        file->setText(QStringLiteral("Moje adresy"));
        dialog->accept();
    });
    ui.answer(false); // not into the editor
    child<QPushButton>(&window, "btnVytvoritKopii")->click();
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(window.grid()->rowCount(), 3);
    EXPECT_EQ(window.grid()->item(2, 1)->text(), QStringLiteral("Seznam adresáře[2]"));
    EXPECT_TRUE(
        QFile::exists(core::programState().folders.print + QStringLiteral("Moje adresy.FRX")));
}

// "Tisk" of the address book opens the print window with the marked firms.
TEST_F(PrintWindowTest, AddressBookPrintsTheMarkedFirms) {
    for (const char* name : {"Alfa", "Beta"})
        ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Adresar (Nazev) VALUES (:N)"),
                                 {{QStringLiteral("N"), QString::fromLatin1(name)}}));
    ui::AddressBookWindow book(test.context, addressbook::AddressBookMode::Browse);
    book.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&book));
    book.logic().setCurrentRow(1);
    book.logic().toggleMark();
    const std::vector<qint64> marked = book.logic().collectAddressList();
    ASSERT_EQ(marked.size(), 1U);
    auto* print = child<QPushButton>(&book, "btnTisk");
    ASSERT_TRUE(print->isEnabled());
    // The address book asks the navigator for the print window; the program's navigator opens it.
    ui::ProgramNavigator windows(test.context, nullptr);
    test.navigator.passOn(windows);
    bool opened = false;
    onNextModal([&](QWidget* modal) {
        auto* window = qobject_cast<ui::PrintWindow*>(modal);
        ASSERT_NE(window, nullptr);
        opened = true;
        EXPECT_EQ(window->grid()->item(0, 1)->text(), QStringLiteral("Seznam adresáře"));
        window->reject();
    });
    print->click();
    EXPECT_TRUE(opened);
    EXPECT_EQ(test.navigator.requests(),
              QStringList{QStringLiteral("printFirms %1").arg(marked.front())});
}

} // namespace
