#include "ui/output/PriceListPrintWindow.h"
#include "ui/catalogue/CatalogueWindow.h"
#include "ui/output/PrintWindow.h"

#include "catalogue/CatalogueRecords.h"
#include "core/AgendaInit.h"
#include "core/ProgramState.h"
#include "core/sources/Readers.h"
#include "support/ModalDialogs.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::child;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

// A check box or radio button takes a click on its mark, not on the empty width a layout gave it.
void tick(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

class PriceListPrintWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder();
        ASSERT_TRUE(testsupport::openEmptyAgendaAndGlobal(env, QStringLiteral("FIRMA")));
        core::ProgramState& state = core::programState();
        QDir().mkpath(state.folders.lock);
        QDir().mkpath(state.folders.print);
        ASSERT_TRUE(QFile::copy(QStringLiteral(ORVENTO_PROGRAM_DIR "/Res/FRMRES/_CENSK.xlsx"),
                                state.folders.print + QStringLiteral("_CENSK.xlsx")));
        core::ensureFirstSheet(db(), ui);
        sheet = catalogue::readSheets(db()).front().id;
        const qint64 basic = catalogue::basicGroupOf(db(), sheet);
        for (const auto& [name, net] : {std::pair{"Čerpadlo", 1500.0}, std::pair{"Hadice", 99.9}})
            EXPECT_TRUE(db().execute(
                QStringLiteral("INSERT INTO Zasoby (Sklad, Skupina, Popis, PrCenaBDPH, "
                               "PrCenaSDPH) VALUES (:S, :G, :P, :B, :D)"),
                {{QStringLiteral("S"), sheet},
                 {QStringLiteral("G"), basic},
                 {QStringLiteral("P"), QString::fromUtf8(name)},
                 {QStringLiteral("B"), net},
                 {QStringLiteral("D"), net * 1.21}}));
    }
    void TearDown() override { core::resetProgramState(); }

    static core::Database& db() { return core::programState().db->agenda; }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    qint64 sheet = 0;
};

// From the catalogue's "Tisk" through the window to the spreadsheet: the catalogue hands over
// what it shows, the person sets a dealer column and a heading, chooses the export, and the
// print window writes the workbook.
TEST_F(PriceListPrintWindowTest, FromTheCatalogueThroughAnExport) {
    {
        ui::CatalogueWindow catalogue(ui, test.profile, catalogue::CatalogueMode::Browse);
        catalogue.setNavigator(&test.navigator);
        catalogue.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&catalogue));
        auto* print = child<QPushButton>(&catalogue, "btnTisk");
        ASSERT_TRUE(print->isEnabled());
        test.navigator.answerWindow({core::NavigationStatus::Done, {}});
        QTest::mouseClick(print, Qt::LeftButton);
        EXPECT_EQ(test.navigator.count(QStringLiteral("openPriceListOutput")), 1);
    }
    const core::CatalogueView view = test.navigator.lastCatalogueView();
    EXPECT_EQ(view.sheetId, sheet);

    output::PriceListDialogs dialogs;
    QStringList captions;
    dialogs.choosePriceSource = [&captions](const QString& caption) {
        captions << caption;
        catalogue::PriceSource source;
        source.kind = catalogue::PriceSource::BasicPrice;
        return source;
    };
    ui::PriceListPrintWindow window(test.context, view, dialogs);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tisk - export ceníku"));
    EXPECT_EQ(child<QLabel>(&window, "lblFiltrPolozek")->text(), QStringLiteral("vypnutý"));
    auto* sources = child<QPushButton>(&window, "btnCena1");
    EXPECT_FALSE(sources->isEnabled());
    EXPECT_FALSE(child<QListWidget>(&window, "chckLBVyberListu")->isEnabled());
    tick(child<QRadioButton>(&window, "rbVybraneListy"));
    EXPECT_TRUE(child<QListWidget>(&window, "chckLBVyberListu")->isEnabled());
    tick(child<QRadioButton>(&window, "rbAktualniList"));

    tick(child<QCheckBox>(&window, "chckDealersky"));
    ASSERT_TRUE(sources->isEnabled());
    QTest::mouseClick(sources, Qt::LeftButton);
    EXPECT_EQ(captions, QStringList{QStringLiteral("1. sloupec")});
    EXPECT_EQ(child<QLabel>(&window, "lblCena1")->text(), QStringLiteral("zákl. prodejní"));
    QTest::keyClicks(child<QLineEdit>(&window, "edtNadpis1"), QStringLiteral("Cena = \"MOC\""));
    tick(child<QRadioButton>(&window, "rbExport"));

    QTemporaryDir out;
    const QString file = out.filePath(QStringLiteral("cenik.xlsx"));
    std::optional<int> printType;
    window.setPrinter([&](const output::PrintRequest& request) {
        printType = request.printType;
        ui::PrintWindow print(test.context, request, [] { return output::PrinterList{}; });
        print.show();
        auto* field = child<QLineEdit>(&print, "edtExportSoubor");
        field->clear();
        QTest::keyClicks(field, file);
        QTest::mouseClick(child<QPushButton>(&print, "btnExport"), Qt::LeftButton);
        print.reject();
    });
    QTest::mouseClick(child<QPushButton>(&window, "btnOK"), Qt::LeftButton);
    EXPECT_EQ(printType, output::print_type::CatalogueWithGroupsExport);
    EXPECT_FALSE(window.isVisible()) << "the window closes after OK";
    EXPECT_FALSE(ui.sawContaining(Kind::Error, QStringLiteral("Při exportu")));

    QString error;
    auto book = core::sources::openWorkbook(file, error);
    ASSERT_TRUE(book) << qPrintable(error);
    const auto rows = book->rawGrid(book->activeTable(), error);
    ASSERT_TRUE(rows);
    QStringList texts;
    for (const auto& row : *rows)
        for (const auto& cell : row)
            texts << cell.toText();
    EXPECT_TRUE(texts.contains(QStringLiteral("Čerpadlo")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Hadice")));
    EXPECT_TRUE(texts.contains(QStringLiteral("List 1")));
}

} // namespace
