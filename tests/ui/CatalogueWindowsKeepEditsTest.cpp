#include "catalogue/CatalogueAgenda.h"

#include "catalogue/CatalogueItemsModel.h"
#include "catalogue/ItemCard.h"
#include "catalogue/PriceLevelCard.h"
#include "core/ProgramEvents.h"
#include "services/ProfileSession.h"
#include "services/RecordRefresh.h"
#include "support/ModalDialogs.h"
#include "ui/CardWidgets.h"
#include "ui/catalogue/CatalogueWindow.h"
#include "ui/catalogue/GroupPickerDialog.h"
#include "ui/catalogue/ItemCardDialog.h"
#include "ui/catalogue/PriceLevelCardDialog.h"
#include "ui/catalogue/PriceLevelListWindow.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace orvento;
using testsupport::child;
using Kind = testsupport::ScriptedInteraction::Kind;

namespace {

class CatalogueWindowsKeepEditsTest : public testsupport::CatalogueAgenda {
protected:
    void SetUp() override {
        CatalogueAgenda::SetUp();
        catalogue::ItemRecord item;
        item.Popis = QStringLiteral("Zásuvka 230 V");
        item.price.NakCena = 80.0;
        item.price.PrCenaBDPH = 100.0;
        itemId = addItem(item);
    }
    static void showActive(QWidget& window) {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    // A card that should not open is closed again, and the test fails.
    static void failOnAnyModal() {
        QTimer::singleShot(0, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "unexpected " << modal->objectName().toStdString();
                modal->close();
            }
        });
    }
    static QString purchaseTitle(ui::CatalogueWindow& window) {
        const int column = static_cast<int>(
            catalogue::CatalogueItemsModel::fields().indexOf(QStringLiteral("NakCena")));
        return window.itemsView()->model()->headerData(column, Qt::Horizontal).toString();
    }

    services::ProfileSession session;
    core::ProgramEvents events;
    qint64 itemId = 0;
};

// Picking for an offer: Alt+O ("Opravit") opens the item card, so that an item refused as
// unfinished can be mended there; Enter picks it.
TEST_F(CatalogueWindowsKeepEditsTest, PickModeOpensTheItemCardOnOpravitAndPicksOnEnter) {
    ui::CatalogueWindow window(ui, session, catalogue::CatalogueMode::Pick, nullptr, &events);
    showActive(window);
    window.itemsView()->setFocus();
    ASSERT_EQ(window.logic().currentItemId(), itemId);
    // The shortcut presses the button, which clicks once its press is drawn; the card that
    // opens then is closed again.
    bool cardOpened = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == QLatin1String("frmKartaZasoby")) {
            cardOpened = true;
            modal->close();
        }
    });
    watch.start(10);
    QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&cardOpened] { return cardOpened; }, 2000));
    watch.stop();
    QTest::qWait(20);
    EXPECT_TRUE(window.pickedItems().empty());
    EXPECT_TRUE(window.isVisible());

    window.itemsView()->setFocus();
    QTest::keyClick(window.itemsView(), Qt::Key_Return);
    EXPECT_EQ(window.pickedItems(), std::vector<qint64>{itemId});
    EXPECT_EQ(window.result(), QDialog::Accepted);
}

// Ctrl+Q in the catalogue and in its item card is told to every window through the program's
// events, and both follow a switch made elsewhere.
TEST_F(CatalogueWindowsKeepEditsTest, CtrlQGoesThroughTheProgramsEvents) {
    QSignalSpy told(&events, &core::ProgramEvents::purchasePricesDisplayChanged);
    ui::CatalogueWindow window(ui, session, catalogue::CatalogueMode::Browse, nullptr, &events);
    showActive(window);
    ASSERT_FALSE(purchaseTitle(window).isEmpty());
    ui.answer(true);
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    ASSERT_EQ(told.count(), 1);
    EXPECT_FALSE(told.last().at(0).toBool());
    EXPECT_TRUE(purchaseTitle(window).isEmpty());
    // Another window switches the display back on.
    core::programState().showPurchasePrices = true;
    Q_EMIT events.purchasePricesDisplayChanged(true);
    EXPECT_FALSE(purchaseTitle(window).isEmpty());

    catalogue::ItemCard card(db(), ui);
    ASSERT_TRUE(card.open(catalogue::ItemCardMode::Edit, itemId, sheet, 0));
    ui::ItemCardDialog dialog(card, ui, &window, &events);
    showActive(dialog);
    ASSERT_FALSE(dialog.purchaseField()->isHidden());
    ui.answer(true);
    QTest::keyClick(&dialog, Qt::Key_Q, Qt::ControlModifier);
    ASSERT_EQ(told.count(), 3);
    EXPECT_TRUE(dialog.purchaseField()->isHidden());
    EXPECT_TRUE(purchaseTitle(window).isEmpty()); // the catalogue behind the card follows
    core::programState().showPurchasePrices = true;
    Q_EMIT events.purchasePricesDisplayChanged(true);
    EXPECT_FALSE(dialog.purchaseField()->isHidden());
}

// The group picker's "Opravit" on a group deleted elsewhere gives the refresh warning and opens
// no card.
TEST_F(CatalogueWindowsKeepEditsTest, GroupPickerRefreshesBeforeItsCard) {
    ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Skupiny (Sklad, Nazev, Kod, Zakladni) "
                                            "VALUES (:Sklad, :Nazev, :Kod, :Zakladni)"),
                             {{QStringLiteral("Sklad"), sheet},
                              {QStringLiteral("Nazev"), QStringLiteral("Kabely")},
                              {QStringLiteral("Kod"), QStringLiteral("KAB")},
                              {QStringLiteral("Zakladni"), false}}));
    const qint64 group = db().newRowId();
    ui::GroupPickerDialog picker(ui, sheet);
    showActive(picker);
    picker.logic().reload(group);
    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM Skupiny WHERE ID = :ID"),
                             {{QStringLiteral("ID"), group}}));
    failOnAnyModal();
    child<QPushButton>(&picker, "btnOpravit")->click();
    EXPECT_TRUE(ui.saw(Kind::Warning, services::recordGoneMessage()));
    EXPECT_FALSE(ui.saw(Kind::Error, core::newRowNotFoundMessage()));
    EXPECT_EQ(picker.table()->rowCount(), 1);
}

// The level list: a click on "Popis cenové hladiny" sorts by the name, and a typed letter opens
// the quick find, which moves to the first name starting with it.
TEST_F(CatalogueWindowsKeepEditsTest, LevelListSortsByATitleClickAndFindsWhatIsTyped) {
    addLevel(QStringLiteral("A1"), testsupport::computed(0, 1));
    addLevel(QStringLiteral("B2"), testsupport::computed(0, 2));
    ASSERT_TRUE(db().execute(QStringLiteral("UPDATE CenHlad SET Popis = CASE Zkratka WHEN 'A1' "
                                            "THEN 'Velkoobchod' ELSE 'Dealeři' END")));
    ui::PriceLevelListWindow window(ui, catalogue::ListMode::Manage, true);
    showActive(window);
    QTableWidget* table = window.table();
    EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("A1"));
    const QHeaderView* header = table->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 10, header->height() / 2));
    EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("Dealeři"));
    table->setFocus();
    QTest::keyClick(table, Qt::Key_V);
    ASSERT_TRUE(window.findBox()->isVisible());
    EXPECT_EQ(table->currentRow(), 1);
    EXPECT_EQ(window.list().current()->Zkratka, QStringLiteral("A1"));
    QTest::keyClick(window.findBox(), Qt::Key_Tab);
    EXPECT_FALSE(window.findBox()->isVisible());
}

// A level card whose save fails says so and stays open with what the person typed.
TEST_F(CatalogueWindowsKeepEditsTest, AFailedLevelSaveKeepsItsCardOpen) {
    ASSERT_TRUE(db().execute(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON CenHlad "
                                            "BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    catalogue::PriceLevelCard card(db(), ui);
    ASSERT_TRUE(card.startNew());
    ui::PriceLevelCardDialog dialog(card.level(), true, [&card] { return card.confirm(); });
    showActive(dialog);
    QTest::keyClicks(child<QLineEdit>(&dialog, "edtZkratka"), QStringLiteral("vo"));
    QTest::keyClicks(child<QLineEdit>(&dialog, "edtPopis"), QStringLiteral("Velkoobchod"));
    QTest::mouseClick(child<QPushButton>(&dialog, "btnOK"), Qt::LeftButton);
    EXPECT_TRUE(ui.saw(Kind::Error, core::saveFailedMessage()));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(child<QLineEdit>(&dialog, "edtZkratka")->text(), QStringLiteral("VO"));
    EXPECT_EQ(child<QLineEdit>(&dialog, "edtPopis")->text(), QStringLiteral("Velkoobchod"));
}

} // namespace
