#include "ui/offers/OfferListWindow.h"

#include "core/ProgramState.h"
#include "support/ModalDialogs.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "ui/MainWindow.h"
#include "ui/ProgramNavigator.h"
#include "ui/offers/OfferFilterDialog.h"
#include "ui/offers/OfferSumsDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::child;
using testsupport::onNextModal;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

class OfferListWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder();
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("FIRMA")));
        QDir().mkpath(core::programState().folders.lock);
        db().execute(QStringLiteral("DELETE FROM Nabidky"));
        for (const char* firm : {"Čížek s.r.o.", "Cihelna Brno", "Adam a syn"})
            addOffer(QString::fromUtf8(firm));
    }
    void TearDown() override { core::programState().db->agenda.close(); }

    static core::Database& db() { return core::programState().db->agenda; }
    qint64 addOffer(const QString& firm) {
        EXPECT_TRUE(db().execute(
            QStringLiteral("INSERT INTO Nabidky (Doklad, AdrNazev, IDStav, Celkem, CelkemBDPH, "
                           "Zamek) VALUES (:Doklad, :AdrNazev, 0, 121, 100, 0)"),
            {{QStringLiteral("Doklad"), QStringLiteral("NB%1").arg(++m_number)},
             {QStringLiteral("AdrNazev"), firm}}));
        return db().newRowId();
    }
    static QString cell(QTableView* grid, int column) {
        return grid->model()->index(grid->currentIndex().row(), column).data().toString();
    }
    static qint64 count() {
        return db().scalar(QStringLiteral("SELECT COUNT(*) FROM Nabidky"))->toLongLong();
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    int m_number = 0;
};

TEST_F(OfferListWindowTest, FindFilterLockSumAndDeleteThroughTheWindow) {
    test.navigator.setOfferCardAvailable(false);
    ui::OfferListWindow window(test.context);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Seznam nabídek"));
    // Without the offer card its commands are off rather than doing nothing.
    for (const char* name : {"btnPridat", "btnOpravit", "btnKopirovat"})
        EXPECT_FALSE(window.button(QString::fromLatin1(name))->isEnabled()) << name;
    EXPECT_TRUE(window.button(QStringLiteral("btnVyjmout"))->isEnabled());
    EXPECT_TRUE(window.legend()->isVisible());

    // Sort by the firm's name, then a quick find in Czech order and any case.
    QTableView* grid = window.grid();
    window.logic().sortBy(QStringLiteral("AdrNazev"));
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_C);
    ASSERT_TRUE(window.findBox()->isVisible());
    EXPECT_EQ(cell(grid, 1), QStringLiteral("Cihelna Brno"));
    QKeyEvent accent(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("Č"));
    window.findBox()->setText(QString());
    QApplication::sendEvent(window.findBox(), &accent);
    EXPECT_EQ(cell(grid, 1), QStringLiteral("Čížek s.r.o."));
    QTest::keyClick(window.findBox(), Qt::Key_Tab);
    EXPECT_FALSE(window.findBox()->isVisible());

    // Lock the current offer through the menu; the grid shows the mark.
    window.otherAction(QStringLiteral("actUzamknout"))->trigger();
    EXPECT_EQ(cell(grid, 8), QStringLiteral("×"));
    // A locked offer is not deleted.
    ui.answer(true);
    QTest::mouseClick(window.button(QStringLiteral("btnVyjmout")), Qt::LeftButton);
    EXPECT_TRUE(ui.saw(Kind::Warning, QStringLiteral("Uzamčený doklad není možné smazat.")));
    EXPECT_EQ(count(), 3);
    window.otherAction(QStringLiteral("actOdemknout"))->trigger();
    EXPECT_EQ(cell(grid, 8), QString());

    // The filter dialog: a part of the name in other letter case; the button says it is on.
    onNextModal([](QWidget* dialog) {
        auto* filter = qobject_cast<ui::OfferFilterDialog*>(dialog);
        ASSERT_NE(filter, nullptr);
        EXPECT_TRUE(filter->activeBox()->isChecked());
        filter->checkBox(QStringLiteral("chckFirmaText"))->setChecked(true);
        filter->textField(QStringLiteral("edtFirmaText"))->setText(QStringLiteral("ČÍŽ"));
        filter->accept();
    });
    window.showFilter();
    EXPECT_EQ(grid->model()->rowCount(), 1);
    EXPECT_EQ(window.button(QStringLiteral("btnFiltr"))->text(), QStringLiteral("Filtr !"));

    onNextModal([](QWidget* dialog) {
        auto* sums = qobject_cast<ui::OfferSumsDialog*>(dialog);
        ASSERT_NE(sums, nullptr);
        EXPECT_EQ(sums->shown(QStringLiteral("lblPocet")), QStringLiteral("1"));
        EXPECT_EQ(sums->shown(QStringLiteral("lblCelkem")), QStringLiteral("121,00"));
        dialog->close();
    });
    window.otherAction(QStringLiteral("actSoucet"))->trigger();

    // Deleting the only offer shown leaves an empty list with its row commands off.
    ui.answer(true);
    QTest::mouseClick(window.button(QStringLiteral("btnVyjmout")), Qt::LeftButton);
    EXPECT_EQ(count(), 2);
    EXPECT_EQ(grid->model()->rowCount(), 0);
    EXPECT_FALSE(window.button(QStringLiteral("btnVyjmout"))->isEnabled());
    EXPECT_FALSE(window.button(QStringLiteral("btnOstatni"))->isEnabled());
    window.resize(900, 500);
    window.reject();
    // Its place is remembered for the profile.
    const services::WindowPlacement placed = test.profile.placement(services::WindowId::OfferList);
    EXPECT_EQ(placed.width.value_or(0), 900);
    EXPECT_EQ(placed.height.value_or(0), 500);
}

TEST_F(OfferListWindowTest, MainWindowOpensTheListAndHistoryGoesThroughTheNavigator) {
    ui::MainWindow main(test.context);
    main.show();
    QAction* offers = main.action(QStringLiteral("actNabidky"));
    ASSERT_TRUE(offers->isEnabled());
    // The main window asks the navigator for the list; the program's navigator opens it.
    ui::ProgramNavigator windows(test.context, nullptr);
    test.navigator.passOn(windows);
    onNextModal([this](QWidget* list) {
        auto* window = qobject_cast<ui::OfferListWindow*>(list);
        ASSERT_NE(window, nullptr);
        test.navigator.answerWindow({core::NavigationStatus::Done, {}});
        window->otherAction(QStringLiteral("actHistorie"))->trigger();
        EXPECT_EQ(test.navigator.requests().last(),
                  QStringLiteral("showOfferHistory %1").arg(window->logic().currentId()));
        window->reject();
    });
    offers->trigger();
    EXPECT_EQ(test.navigator.requests().first(), QStringLiteral("openList offers"));
    main.closeWithoutClosingSteps();
}

} // namespace
