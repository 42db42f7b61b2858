#include "addressbook/FirmCard.h"
#include "catalogue/PriceLevelRecords.h"
#include "core/ProgramState.h"
#include "support/ModalDialogs.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"
#include "ui/MainWindow.h"
#include "ui/ProgramNavigator.h"
#include "ui/addressbook/FirmCardDialog.h"
#include "ui/catalogue/PriceLevelListWindow.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace orvento;
using core::NavigationStatus;
using testsupport::child;
using testsupport::onNextModal;

namespace {

// Other windows are asked for through the navigator: the scripted one shows what was asked, the
// program's one opens the real windows.
class NavigatorWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder();
        ASSERT_TRUE(testsupport::openEmptyAgendaAndGlobal(env, QStringLiteral("FIRMA")));
        QDir().mkpath(core::programState().folders.lock);
    }
    void TearDown() override { core::resetProgramState(); }
    static core::Database& db() { return core::programState().db->agenda; }

    static qint64 addLevel(const QString& code) {
        catalogue::PriceLevel level;
        level.Zkratka = code;
        level.Popis = code + QStringLiteral(" ceny");
        EXPECT_TRUE(catalogue::priceLevelMapping().insert(db(), level));
        return db().newRowId();
    }
    static core::NavigationResult pickedLevel(qint64 id, const QString& code) {
        core::NavigationResult result{NavigationStatus::Done, {id}};
        result.code = code;
        return result;
    }

    testsupport::TestEnvironment env;
    testsupport::ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    ui::ProgramNavigator windows{test.context, nullptr};
};

TEST_F(NavigatorWindowsTest, MainWindowAsksTheNavigatorForEachOfItsLists) {
    ui::MainWindow main(test.context);
    for (const char* command :
         {"actNabidky", "actCenik", "actAdresar", "actCenoveSkupiny", "actCenoveHladiny"}) {
        test.navigator.answerWindow({NavigationStatus::Done, {}});
        QAction* action = main.action(QString::fromLatin1(command));
        ASSERT_NE(action, nullptr) << command;
        action->trigger();
    }
    EXPECT_EQ(
        test.navigator.requests(),
        (QStringList{QStringLiteral("openList offers"), QStringLiteral("openList catalogue"),
                     QStringLiteral("openList addressBook"), QStringLiteral("openList priceGroups"),
                     QStringLiteral("openList priceLevels")}));
    main.closeWithoutClosingSteps();
}

TEST_F(NavigatorWindowsTest, ProgramNavigatorOpensTheListsToManage) {
    const auto opened = [this](core::ListWindow list) {
        QString name;
        bool adds = false;
        onNextModal([&](QWidget* window) {
            name = window->objectName();
            if (auto* add = window->findChild<QPushButton*>(QStringLiteral("btnPridat")))
                adds = add->isVisible();
            qobject_cast<QDialog*>(window)->reject();
        });
        EXPECT_EQ(windows.openList(list)->result().status, NavigationStatus::Done);
        return std::pair{name, adds};
    };
    EXPECT_EQ(opened(core::ListWindow::PriceLevels),
              (std::pair{QStringLiteral("frmCenHlad"), true}));
    EXPECT_EQ(opened(core::ListWindow::PriceGroups),
              (std::pair{QStringLiteral("frmCenSkup"), true}));
    EXPECT_EQ(opened(core::ListWindow::AddressBook),
              (std::pair{QStringLiteral("frmAdresar"), true}));
}

// The pick answers with the level's ID and its code, starting on the level asked for.
TEST_F(NavigatorWindowsTest, ProgramNavigatorPicksAPriceLevelWithItsCode) {
    addLevel(QStringLiteral("MO"));
    const qint64 wholesale = addLevel(QStringLiteral("VO"));
    addLevel(QStringLiteral("ZV"));

    QString startedOn;
    bool manages = true;
    onNextModal([&](QWidget* window) {
        auto* list = qobject_cast<ui::PriceLevelListWindow*>(window);
        ASSERT_NE(list, nullptr);
        startedOn = list->table()->item(list->table()->currentRow(), 0)->text();
        manages = list->findChild<QPushButton*>(QStringLiteral("btnPridat"))->isVisible();
        QTest::mouseClick(child<QPushButton>(list, "btnOK"), Qt::LeftButton);
    });
    const auto picked = windows.pickPriceLevel(QStringLiteral("VO"));
    ASSERT_TRUE(picked->answered());
    EXPECT_EQ(startedOn, QStringLiteral("VO"));
    EXPECT_FALSE(manages);
    EXPECT_EQ(picked->result().status, NavigationStatus::Done);
    EXPECT_EQ(picked->result().ids, std::vector<qint64>{wholesale});
    EXPECT_EQ(picked->result().code, QStringLiteral("VO"));

    onNextModal([](QWidget* window) { qobject_cast<QDialog*>(window)->reject(); });
    const auto cancelled = windows.pickPriceLevel(QString());
    EXPECT_EQ(cancelled->result().status, NavigationStatus::Cancelled);
    EXPECT_TRUE(cancelled->result().code.isEmpty());
}

// The firm card's "..." of the level asks the navigator, starting on the level in the field, and
// takes the chosen code; a cancelled pick leaves the field as it was.
TEST_F(NavigatorWindowsTest, FirmCardTakesTheLevelPickedThroughTheNavigator) {
    ASSERT_TRUE(db().execute(
        QStringLiteral("INSERT INTO Adresar (Nazev, CenHladina) VALUES ('Alfa', 'MO')")));
    const qint64 firm = db().newRowId();
    addressbook::FirmCard card(db(), core::programState().db->global, ui);
    ASSERT_TRUE(card.open(addressbook::FirmCardMode::Edit, firm));
    ui::FirmCardDialog dialog(test.context, card);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* pick = child<QToolButton>(&dialog, "btnHladina");
    QLineEdit* level = dialog.field(QStringLiteral("CenHladina"));

    test.navigator.answerWindow(pickedLevel(7, QStringLiteral("VO")));
    pick->click();
    EXPECT_EQ(level->text(), QStringLiteral("VO"));
    test.navigator.answerWindow({NavigationStatus::Cancelled, {}});
    pick->click();
    EXPECT_EQ(level->text(), QStringLiteral("VO"));
    EXPECT_EQ(test.navigator.requests(), (QStringList{QStringLiteral("pickPriceLevel MO"),
                                                      QStringLiteral("pickPriceLevel VO")}));
    dialog.reject();
}

} // namespace
