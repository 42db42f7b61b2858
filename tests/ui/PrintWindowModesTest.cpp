#include "core/ProgramState.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"
#include "support/ModalDialogs.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"
#include "ui/output/PrintWindow.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::child;
using testsupport::ScriptedInteraction;

namespace {

class PrintWindowModes : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder();
        ASSERT_TRUE(testsupport::openEmptyAgendaAndGlobal(env, QStringLiteral("FIRMA")));
        QDir().mkpath(core::programState().folders.print);
    }
    void TearDown() override { core::resetProgramState(); }

    static output::PrinterSource twoPrinters() {
        return [] {
            return output::PrinterList{{QStringLiteral("Laser"), QStringLiteral("Inkoust")},
                                       QStringLiteral("Laser")};
        };
    }
    static QAction* menuAction(QWidget* window, const QString& text) {
        for (auto* button : window->findChildren<QToolButton*>())
            if (button->menu())
                for (QAction* action : button->menu()->actions())
                    if (action->text() == text)
                        return action;
        return nullptr;
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
};

// A spreadsheet price list: the export file (as remembered) instead of the printer, pages and
// "Tisk"; "Export" is the default button.
TEST_F(PrintWindowModes, ExportingShowsTheExportFileInsteadOfThePrinter) {
    services::profile::saveValue(services::profile::value::CatalogueWithoutGroupsExportFile,
                                 QStringLiteral("/tmp/cenik.xls"));
    ui::PrintRequest request;
    request.printType = output::print_type::CatalogueWithoutGroupsExport;
    ui::PrintWindow window(test.context, request, twoPrinters());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(child<QGroupBox>(&window, "gbxExtFunc")->title(),
              QStringLiteral("Exportovat do souboru"));
    auto* file = child<QLineEdit>(&window, "edtExportSoubor");
    EXPECT_TRUE(file->isVisible());
    EXPECT_EQ(file->text(), QStringLiteral("/tmp/cenik.xls"));
    EXPECT_FALSE(child<QPushButton>(&window, "btnTisk")->isVisible());
    auto* exportButton = child<QPushButton>(&window, "btnExport");
    EXPECT_TRUE(exportButton->isVisible());
    EXPECT_TRUE(exportButton->isDefault());
    EXPECT_FALSE(window.printerBox()->isEnabled());
    for (const char* name : {"edtOdStr", "edtDoStr", "edtPocetKopii"})
        EXPECT_FALSE(child<QSpinBox>(&window, name)->isEnabled()) << name;
    QAction* printerDefault =
        menuAction(&window, QStringLiteral(">> tiskárnu jako výchozí pro tento tisk"));
    ASSERT_NE(printerDefault, nullptr);
    EXPECT_FALSE(printerDefault->isEnabled());
    ASSERT_NE(menuAction(&window, QStringLiteral(">> sestavu jako výchozí pro tento tisk")),
              nullptr);
    // The built-in spreadsheet price lists, the one with the note as a comment among them.
    ASSERT_EQ(window.grid()->rowCount(), 7);
    EXPECT_EQ(window.grid()->item(2, 1)->text(),
              QStringLiteral("Standardní ceník s pozn. (komentář)"));
}

// The offer list prints every offer report; after saving an offer only the reports of one offer
// are offered. The e-mail link goes with a report of one offer only.
TEST_F(PrintWindowModes, OfferReportsWithTheEmailLink) {
    ui::PrintWindow list(test.context, ui::PrintRequest::offers(0, {}), twoPrinters());
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    EXPECT_EQ(child<QGroupBox>(&list, "gbxExtFunc")->title(), QStringLiteral("Přídavné funkce"));
    EXPECT_FALSE(child<QLineEdit>(&list, "edtExportSoubor")->isVisible());
    EXPECT_TRUE(child<QPushButton>(&list, "btnTisk")->isDefault());
    EXPECT_TRUE(list.printerBox()->isEnabled());
    EXPECT_EQ(list.printerBox()->currentText(), QStringLiteral("Laser"));
    const int rows = list.grid()->rowCount();
    ASSERT_EQ(rows, 8);
    EXPECT_EQ(list.grid()->item(rows - 1, 1)->text(), QStringLiteral("Seznam nabídek"));
    QWidget* mail = nullptr;
    for (auto* label : list.findChildren<QLabel*>())
        if (label->text().contains(QStringLiteral("e-mailem")))
            mail = label->parentWidget();
    ASSERT_NE(mail, nullptr);
    EXPECT_TRUE(mail->isVisible());
    list.grid()->setCurrentCell(rows - 1, 1);
    EXPECT_FALSE(mail->isVisible());
    list.grid()->setCurrentCell(0, 1);
    EXPECT_TRUE(mail->isVisible());
    list.reject();

    ui::PrintWindow saved(test.context, ui::PrintRequest::savedOffer(7), twoPrinters());
    saved.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&saved));
    ASSERT_EQ(saved.grid()->rowCount(), 7);
    for (int i = 0; i < saved.grid()->rowCount(); ++i)
        EXPECT_NE(saved.grid()->item(i, 1)->text(), QStringLiteral("Seznam nabídek"));
    EXPECT_EQ(saved.logic().printType(), output::print_type::Offers);
}

} // namespace
