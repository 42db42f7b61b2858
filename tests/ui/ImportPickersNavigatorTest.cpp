#include "catalogue/PriceLevelRecords.h"
#include "core/ProgramState.h"
#include "support/ModalDialogs.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"
#include "ui/ProgramNavigator.h"

#include <QDialog>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvento;
using core::NavigationStatus;
using testsupport::child;
using testsupport::onNextModal;

namespace {

// The definition editor's pickers answer through the program's windows with the chosen IDs (and
// the price group's code).
class ImportPickersNavigatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder();
        ASSERT_TRUE(testsupport::openEmptyAgendaAndGlobal(env, QStringLiteral("FIRMA")));
        QDir().mkpath(core::programState().folders.lock);
    }
    void TearDown() override { core::resetProgramState(); }
    static core::Database& db() { return core::programState().db->agenda; }
    static qint64 insert(const QString& sql, const core::SqlParams& params = {}) {
        const auto id = db().insertRow(sql, params);
        EXPECT_TRUE(id) << db().lastError().toStdString();
        return id.value_or(0);
    }

    testsupport::TestEnvironment env;
    testsupport::ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    ui::ProgramNavigator windows{test.context, nullptr};
};

TEST_F(ImportPickersNavigatorTest, SheetGroupAndPriceGroupArePickedInTheirWindows) {
    db().execute(QStringLiteral("DELETE FROM Sklady"));
    insert(QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES ('A', 1)"));
    const qint64 second =
        insert(QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES ('B', 2)"));
    const qint64 group = insert(
        QStringLiteral("INSERT INTO Skupiny (Sklad, Nazev, Kod, Zakladni) VALUES (:S, 'G', '', 0)"),
        {{QStringLiteral("S"), second}});

    onNextModal([](QWidget* window) {
        auto* list = child<QListWidget>(window, "grSklady");
        ASSERT_EQ(list->count(), 2);
        list->setCurrentRow(1);
        QTest::mouseClick(child<QPushButton>(window, "btnOK"), Qt::LeftButton);
    });
    const auto sheet = windows.pickSheet();
    ASSERT_TRUE(sheet->answered());
    EXPECT_EQ(sheet->result().status, NavigationStatus::Done);
    EXPECT_EQ(sheet->result().ids, std::vector<qint64>{second});

    onNextModal([](QWidget* window) {
        auto* table = child<QTableWidget>(window, "grSkupiny");
        ASSERT_EQ(table->rowCount(), 1);
        table->setCurrentCell(0, 0);
        QTest::mouseClick(child<QPushButton>(window, "btnOK"), Qt::LeftButton);
    });
    const auto picked = windows.pickGroup(second);
    EXPECT_EQ(picked->result().ids, std::vector<qint64>{group});

    catalogue::PriceGroup wholesale;
    wholesale.Zkratka = QStringLiteral("VO");
    wholesale.Popis = QStringLiteral("Velkoobchod");
    ASSERT_TRUE(catalogue::priceGroupMapping().insert(db(), wholesale));
    const qint64 wholesaleId = db().newRowId();
    onNextModal([](QWidget* window) {
        QTest::mouseClick(child<QPushButton>(window, "btnOK"), Qt::LeftButton);
    });
    const auto priceGroup = windows.pickPriceGroup(QStringLiteral("vo"));
    EXPECT_EQ(priceGroup->result().status, NavigationStatus::Done);
    EXPECT_EQ(priceGroup->result().ids, std::vector<qint64>{wholesaleId});
    EXPECT_EQ(priceGroup->result().code, QStringLiteral("VO"));

    onNextModal([](QWidget* window) { qobject_cast<QDialog*>(window)->reject(); });
    EXPECT_EQ(windows.pickSheet()->result().status, NavigationStatus::Cancelled);
}

} // namespace
