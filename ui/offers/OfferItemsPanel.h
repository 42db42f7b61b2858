#pragma once

#include <QWidget>

#include <functional>

class QKeyEvent;
class QLabel;
class QTableView;

namespace orvento::core {
class AppContext;
}
namespace orvento::offers {
class OfferCardLogic;
class OfferItemsModel;
} // namespace orvento::offers

namespace orvento::ui {

class GridBinding;
class OfferItemCommands;
class QuickFindPanel;

// The items of the offer card: the grid with its frozen marker columns, quick find, context menu
// and keys, the marked items' count and sums under it, and the item commands beside it.
class OfferItemsPanel : public QWidget {
    Q_OBJECT
public:
    OfferItemsPanel(core::AppContext& context, offers::OfferCardLogic& logic,
                    offers::OfferItemsModel& model, QWidget* parent);

    QTableView* grid() const { return m_grid; }
    // The items as the working copy has them, on the current one.
    void showItems();
    // The purchase-price columns shown or hidden as the person may see them.
    void applyPurchasePriceVisibility();

signals:
    // A command may have changed the items: the card shows them again.
    void itemsChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void bindGrid();
    void buildFrozenMarkers();
    void buildQuickFind();
    void buildGridMenu();
    void buildMarkedSums();
    void layOut();
    void findItem(const QString& text);
    bool runGridKey(const QKeyEvent* key);
    void runOnItems(const std::function<void()>& command);
    void selectCurrent();
    void showMarkedSums();
    void placeFrozenMarkers();
    void sortBy(const QString& field);

    core::AppContext& m_context;
    offers::OfferCardLogic& m_logic;
    offers::OfferItemsModel& m_model;
    QTableView* m_grid = nullptr;
    QTableView* m_frozen = nullptr;
    GridBinding* m_binding = nullptr;
    QuickFindPanel* m_find = nullptr;
    OfferItemCommands* m_commands = nullptr;
    QLabel* m_marks = nullptr;
    QWidget* m_markedSums = nullptr; // the grid's footer
    bool m_showing = false;
};

} // namespace orvento::ui
