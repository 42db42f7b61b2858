#include "ui/catalogue/CatalogueWindow.h"
#include "catalogue/CatalogueRecords.h"
#include "core/AgendaInit.h"
#include "core/ProgramState.h"
#include "services/ProfileSession.h"
#include "support/ModalDialogs.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::child;
using testsupport::onNextModal;
using testsupport::ScriptedInteraction;

namespace {

class CatalogueWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder();
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("FIRMA")));
        QDir().mkpath(core::programState().folders.lock);
        core::ensureFirstSheet(db(), ui);
        sheet = catalogue::readSheets(db()).front().id;
        basic = catalogue::basicGroupOf(db(), sheet);
        for (const char* name : {"Čerpadlo", "Cihla", "Chladič", "Hadice", "abeceda", "Adaptér"})
            addItem(QString::fromUtf8(name));
    }
    void TearDown() override { core::programState().db->agenda.close(); }

    static core::Database& db() { return core::programState().db->agenda; }
    qint64 addItem(const QString& popis) {
        EXPECT_TRUE(db().execute(QStringLiteral("INSERT INTO Zasoby (Sklad, Skupina, Popis) VALUES "
                                                "(:Sklad, :Skupina, :Popis)"),
                                 {{QStringLiteral("Sklad"), sheet},
                                  {QStringLiteral("Skupina"), basic},
                                  {QStringLiteral("Popis"), popis}}));
        return db().newRowId();
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    services::ProfileSession session;
    qint64 sheet = 0;
    qint64 basic = 0;
};

TEST_F(CatalogueWindowTest, SheetGroupMoveAndDeleteThroughTheWindow) {
    ui::CatalogueWindow window(ui, session, catalogue::CatalogueMode::Browse);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Ceník"));
    EXPECT_EQ(window.tabs()->count(), 1);
    EXPECT_EQ(window.tabs()->tabText(0), QStringLiteral("List 1"));
    // Items cannot be added or edited until their card exists, and the window says so by
    // disabled commands.
    EXPECT_FALSE(child<QPushButton>(&window, "btnOK")->isVisible());

    // Quick find: typing "c" then "h" in the items grid lands on "Chladič", after "Hadice".
    QTableView* items = window.itemsView();
    items->setFocus();
    QTest::keyClick(items, Qt::Key_C);
    ASSERT_TRUE(window.findBox()->isVisible());
    EXPECT_EQ(items->model()->index(items->currentIndex().row(), 0).data().toString(),
              QStringLiteral("Cihla"));
    QTest::keyClick(window.findBox(), Qt::Key_H);
    EXPECT_EQ(items->model()->index(items->currentIndex().row(), 0).data().toString(),
              QStringLiteral("Chladič"));
    QTest::keyClick(window.findBox(), Qt::Key_Tab);
    EXPECT_FALSE(window.findBox()->isVisible());

    // A new sheet through the sheet list and its card; the picked sheet becomes active.
    onNextModal([](QWidget* list) {
        EXPECT_EQ(list->objectName(), QStringLiteral("frmSklady"));
        onNextModal([](QWidget* card) {
            EXPECT_EQ(card->objectName(), QStringLiteral("frmKartaSkladu"));
            child<QLineEdit>(card, "edtNazev")->setText(QStringLiteral("Služby"));
            QTest::keyClick(card, Qt::Key_Return);
        });
        child<QPushButton>(list, "btnPridat")->click();
        EXPECT_EQ(child<QListWidget>(list, "grSklady")->currentItem()->text(),
                  QStringLiteral("Služby"));
        child<QPushButton>(list, "btnOK")->click();
    });
    window.showSheetList();
    ASSERT_EQ(window.tabs()->count(), 2);
    EXPECT_EQ(window.tabs()->currentIndex(), 1);
    const qint64 services = catalogue::readSheets(db()).back().id;
    EXPECT_EQ(window.logic().activeSheet(), services);
    EXPECT_GT(catalogue::basicGroupOf(db(), services), 0);

    // Back on the first sheet, a new group.
    window.tabs()->setCurrentIndex(0);
    EXPECT_EQ(window.logic().activeSheet(), sheet);
    onNextModal([](QWidget* card) {
        EXPECT_EQ(card->objectName(), QStringLiteral("frmKartaSkupiny"));
        child<QLineEdit>(card, "edtNazev")->setText(QStringLiteral("Čerpadla a \"_%\""));
        child<QLineEdit>(card, "edtKod")->setText(QStringLiteral("cer"));
        QTest::keyClick(card, Qt::Key_Return);
    });
    window.addGroup();
    const auto group = window.logic().currentGroup();
    ASSERT_TRUE(group);
    EXPECT_EQ(group->nazev, QStringLiteral("Čerpadla a \"_%\""));
    EXPECT_EQ(group->kod, QStringLiteral("CER"));
    EXPECT_EQ(window.groupsView()->model()->rowCount(), 2);

    // Move "Čerpadlo" from the basic group into the new group.
    window.logic().setCurrentGroup(*catalogue::indexOfId(window.logic().groups(), basic));
    window.refresh();
    const int row = *window.logic().items().quickFind(QStringLiteral("Čerp"));
    const qint64 pump = window.logic().items().idAt(row);
    items->setFocus();
    items->setCurrentIndex(items->model()->index(row, 0));
    QTest::keyClick(items, Qt::Key_Space);
    EXPECT_TRUE(window.logic().items().isMarked(pump));
    onNextModal([](QWidget* move) {
        EXPECT_EQ(move->objectName(), QStringLiteral("frmPresunZkopiruj"));
        onNextModal([](QWidget* picker) {
            EXPECT_EQ(picker->objectName(), QStringLiteral("frmSklSkupiny"));
            auto* table = child<QTableWidget>(picker, "grSkupiny");
            for (int r = 0; r < table->rowCount(); ++r)
                if (table->item(r, 1)->text() == QLatin1String("CER"))
                    table->setCurrentCell(r, 0);
            child<QPushButton>(picker, "btnOK")->click();
        });
        child<QPushButton>(move, "btnSkupina")->click();
        EXPECT_EQ(child<QLineEdit>(move, "edtSkupina")->text(),
                  QStringLiteral("Čerpadla a \"_%\""));
        child<QPushButton>(move, "btnOK")->click();
    });
    window.moveMarked(false);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Skupina FROM Zasoby WHERE ID = :ID"),
                          {{QStringLiteral("ID"), pump}})
                  ->toLongLong(),
              group->id);
    EXPECT_TRUE(window.logic().items().marks().empty());

    // Delete the new group with its item.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.groupsView()->setFocus();
    EXPECT_EQ(window.logic().focusedGrid(), catalogue::CatalogueGrid::Groups);
    window.logic().setCurrentGroup(*catalogue::indexOfId(window.logic().groups(), group->id));
    ui.answer(true);
    window.removeCurrent();
    EXPECT_TRUE(ui.saw(ScriptedInteraction::Kind::Question,
                       QStringLiteral("Varování: mazání CELÉ SKUPINY!\n\nVyjmutí skupiny je "
                                      "nevratná operace, opravdu chcete pokračovat ? Budou smazány "
                                      "všechny položky ve skupině!")));
    EXPECT_FALSE(catalogue::readGroup(db(), group->id));
    EXPECT_FALSE(db().scalar(QStringLiteral("SELECT ID FROM Zasoby WHERE ID = :ID"),
                             {{QStringLiteral("ID"), pump}}));
    EXPECT_EQ(window.groupsView()->model()->rowCount(), 1);
}

} // namespace
