#pragma once

#include "offers/OfferIdentifierBreakdown.h"
#include "offers/OfferIdentifierBreakdownModel.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;

namespace orvento::core {
class AppContext;
}

namespace orvento::ui {

class QuickFindPanel;

// frmRozpisIdentif, "Rozpis identifikátorů": the identifiers of the offer card's items with
// their sums, marks with their footer, and "Označit v nabídce", which marks the items of the
// chosen identifiers in the card and closes.
class IdentifierBreakdownWindow : public QDialog {
    Q_OBJECT
public:
    IdentifierBreakdownWindow(offers::IdentifierBreakdown breakdown, QWidget* parent = nullptr);

    // Built over the card's items and shown modally; true when it marked items in the card.
    static bool run(core::AppContext& context, offers::OfferCardLogic& card, QWidget* parent);

    offers::IdentifierBreakdown& logic() { return m_logic; }
    QTableView* grid() const { return m_grid; }

    // "Označit v nabídce".
    void markInOffer();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildGrid();
    QWidget* buildFooter();
    void layOut(QWidget* footer);
    void installKeys();
    void marksChanged();
    void showMarkedSums();
    void applyPurchasePriceVisibility();

    offers::IdentifierBreakdown m_logic;
    offers::IdentifierBreakdownModel m_model;
    QTableView* m_grid = nullptr;
    QuickFindPanel* m_find = nullptr;
    QCheckBox* m_sumMarked = nullptr;
    QWidget* m_footer = nullptr;
    QLabel* m_purchaseSum = nullptr;
    QLabel* m_netSum = nullptr;
    QLabel* m_grossSum = nullptr;
    QLabel* m_profitSum = nullptr;
    QPushButton* m_mark = nullptr;
};

} // namespace orvento::ui
