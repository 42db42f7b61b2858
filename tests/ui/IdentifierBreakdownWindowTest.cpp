#include "catalogue/CatalogueAgenda.h"

#include "catalogue/IdentifierRecords.h"
#include "core/AmountFormat.h"
#include "offers/NoItemEditor.h"
#include "offers/OfferItemCard.h"
#include "offers/OfferItemPricing.h"
#include "offers/OfferTotals.h"
#include "support/ModalDialogs.h"
#include "support/TestContext.h"
#include "ui/offers/IdentifierBreakdownWindow.h"
#include "ui/offers/OfferCardWindow.h"
#include "ui/offers/OfferItemCardDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvento;
using core::NavigationStatus;
using testsupport::child;

namespace {

// In the breakdown: the rows as built, the sum of marks switched on, row B found by the quick
// find and marked with Space, and "Označit v nabídce" chosen with Enter.
void chooseSecondRow(ui::IdentifierBreakdownWindow& breakdown, bool& seen) {
    seen = true;
    QTableView* grid = breakdown.grid();
    ASSERT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(grid->model()->index(0, 0).data().toString(), QStringLiteral("A"));
    EXPECT_EQ(grid->model()->index(1, 1).data().toString(), QStringLiteral("Služby"));
    EXPECT_EQ(grid->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Bez DPH "));
    EXPECT_EQ(grid->model()->index(0, 3).data().toString(), core::formatAmount(150.0));
    QTest::mouseClick(child<QCheckBox>(&breakdown, "chkSoucetOzn"), Qt::LeftButton);
    grid->setFocus();
    // The quick find goes to "B" for a typed "b"; Tab hands the focus back to the grid.
    QTest::keyClick(grid, Qt::Key_B);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(grid->currentIndex().row(), 1);
    QTest::keyClick(grid, Qt::Key_Space);
    EXPECT_EQ(child<QLabel>(&breakdown, "lblSoucetBezDPH")->text(), core::formatAmount(50.0));
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_FALSE(breakdown.isVisible());
}

class IdentifierBreakdownWindowTest : public testsupport::CatalogueAgenda {
protected:
    void SetUp() override {
        CatalogueAgenda::SetUp();
        if (HasFatalFailure())
            return;
        clearOffersWithNewSeries();
        offers::OfferCardLogic::rememberSumOfMarks(false);
        catalogue::Identifier b{-1, QStringLiteral("B"), QStringLiteral("Služby"), false};
        ASSERT_TRUE(catalogue::identifierMapping().insert(db(), b));
    }
    void TearDown() override { offers::OfferCardLogic::rememberSumOfMarks(false); }

    static offers::OfferItem item(const QString& popis, const QString& identif, double net) {
        offers::OfferItem i;
        i.Popis = popis;
        i.Identif = identif;
        i.PocetMJ = 1.0;
        i.PCBDPHPOL = net;
        i.PCSDPHPOL = net * 1.21;
        return i;
    }

    std::unique_ptr<ui::OfferCardWindow> openCard() {
        auto opened = offers::OfferCardLogic::open(test.context, core::OfferCardMode::New, 0);
        if (!opened)
            return nullptr;
        opened->copy.insertItem(1, item(QStringLiteral("Kabel"), QStringLiteral("_A_"), 100.0));
        opened->copy.insertItem(2, item(QStringLiteral("Montáž"), QStringLiteral("_a_B_"), 50.0));
        auto window = std::make_unique<ui::OfferCardWindow>(test.context, std::move(*opened));
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return window;
    }

    testsupport::TestContext test{ui};
};

// F3 on the card opens the breakdown over its items; the person goes to row B, switches the
// sum of marks on, marks it and chooses "Označit v nabídce" with Enter: only the second item is
// marked in the card, the first mark gone, and the card's own switch follows.
TEST_F(IdentifierBreakdownWindowTest, TheWindowMarksTheItemsOfTheChosenIdentifierInTheCard) {
    auto window = openCard();
    ASSERT_TRUE(window);
    window->logic().setMark(0, true);
    window->showItems();
    ASSERT_TRUE(window->button(QStringLiteral("btnRozpis"))->isEnabled());

    bool seen = false;
    testsupport::onNextModal([&seen](QWidget* modal) {
        auto* breakdown = qobject_cast<ui::IdentifierBreakdownWindow*>(modal);
        if (breakdown)
            chooseSecondRow(*breakdown, seen);
        // A failed step above leaves the window open: it must not hold the test up.
        if (modal->isVisible())
            modal->close();
    });
    QTest::keyClick(window.get(), Qt::Key_F3);
    EXPECT_TRUE(seen);
    EXPECT_EQ(window->logic().marks(), (std::vector<bool>{false, true}));
    EXPECT_TRUE(child<QCheckBox>(window.get(), "chkSoucetOzn")->isChecked());
    EXPECT_TRUE(offers::OfferCardLogic::sumOfMarksShown());

    // "Zavřít" leaves the marks alone.
    testsupport::onNextModal([](QWidget* modal) {
        QTest::mouseClick(child<QPushButton>(modal, "btnZavrit"), Qt::LeftButton);
    });
    QTest::mouseClick(window->button(QStringLiteral("btnRozpis")), Qt::LeftButton);
    EXPECT_EQ(window->logic().marks(), (std::vector<bool>{false, true}));
}

// An offer whose items carry no identifier: an empty breakdown, nothing to mark.
TEST_F(IdentifierBreakdownWindowTest, NoIdentifiersNoRowsAndNothingToMark) {
    auto opened = offers::OfferCardLogic::open(test.context, core::OfferCardMode::New, 0);
    ASSERT_TRUE(opened);
    opened->copy.insertItem(1, item(QStringLiteral("Kabel"), QString(), 100.0));
    testsupport::NoItemEditor editor;
    offers::OfferCardLogic card(test.context, std::move(*opened), editor);
    auto logic = offers::IdentifierBreakdown::open(test.context, card);
    ASSERT_TRUE(logic);
    ui::IdentifierBreakdownWindow window(std::move(*logic));
    EXPECT_EQ(window.grid()->model()->rowCount(), 0);
    EXPECT_FALSE(child<QPushButton>(&window, "btnOznacit")->isEnabled());
}

// "..." and F3 at "Identifikátory" on the offer item card ask the identifier editor for the
// item's list; its answer is what the item carries after OK, a cancel changes nothing.
TEST_F(IdentifierBreakdownWindowTest, TheOfferItemCardEditsIdentifiersThroughTheEditor) {
    offers::OfferWorkingCopy offer(offers::OfferMode::New);
    offers::OfferItemCard card(db(), ui, offer, {21.0, 12.0, 1});
    card.openNew(std::nullopt);
    card.item().Identif = QStringLiteral("_HW_");
    ui::OfferItemCardDialog dialog(card, ui, test.navigator);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QLineEdit* identif = child<QLineEdit>(&dialog, "edtIdentif");
    ASSERT_TRUE(child<QPushButton>(&dialog, "btnIdentif")->isEnabled());

    core::NavigationResult edited{NavigationStatus::Done, {}};
    edited.code = QStringLiteral("_HW_SLUZBY_");
    test.navigator.answerWindow(edited);
    QTest::keyClick(&dialog, Qt::Key_F3);
    EXPECT_EQ(identif->text(), QStringLiteral("_HW_SLUZBY_"));

    test.navigator.answerWindow({NavigationStatus::Cancelled, {}});
    QTest::mouseClick(child<QPushButton>(&dialog, "btnIdentif"), Qt::LeftButton);
    EXPECT_EQ(identif->text(), QStringLiteral("_HW_SLUZBY_"));
    EXPECT_EQ(test.navigator.requests(),
              (QStringList{"editIdentifiers _HW_", "editIdentifiers _HW_SLUZBY_"}));

    dialog.descriptionField()->setText(QStringLiteral("Montáž rozvaděče"));
    dialog.priceField()->setValue(100.0);
    dialog.accept();
    ASSERT_EQ(offer.items().size(), 1u);
    EXPECT_EQ(offer.items()[0].Identif, QStringLiteral("_HW_SLUZBY_"));
}

} // namespace
