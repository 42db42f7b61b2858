#pragma once

#include "offers/OfferBulkOperations.h"

#include <QWidget>

#include <functional>
#include <initializer_list>

class QCheckBox;
class QMenu;
class QPushButton;
class QVBoxLayout;

namespace orvento::core {
class AppContext;
}
namespace orvento::offers {
class OfferCardLogic;
}

namespace orvento::ui {

// The column of item commands beside the offer card's grid: add, copy, edit, remove, move, the
// discount, margin and rabat dialogs, the bulk menu, and "součet ozn.".
class OfferItemCommands : public QWidget {
    Q_OBJECT
public:
    OfferItemCommands(core::AppContext& context, offers::OfferCardLogic& logic, QWidget* parent);

    // Whether the marked items' sums are shown under the grid.
    bool sumOfMarks() const;
    // "součet ozn." as remembered, after another window switched it.
    void showSumOfMarksSwitch();
    // "Sleva !" while any item has a discount.
    void showDiscount(bool anyDiscount);

signals:
    // A command may have changed the items: the card shows them again.
    void itemsChanged();

private:
    void buildButtons();
    void connectButtons();
    QVBoxLayout* layOut() const;
    QMenu* buildBulkMenu();
    // Runs a command and shows the items again, on a click and on each of its keys.
    void bind(QPushButton* button, std::initializer_list<QKeySequence> keys,
              const std::function<void()>& command);
    void runOnItems(const std::function<void()>& command);
    void bulk(offers::BulkField field);

    core::AppContext& m_context;
    offers::OfferCardLogic& m_logic;
    QPushButton* m_add = nullptr;
    QPushButton* m_addCatalogue = nullptr;
    QPushButton* m_addTitle = nullptr;
    QPushButton* m_addText = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
    QPushButton* m_discount = nullptr;
    QPushButton* m_margin = nullptr;
    QPushButton* m_rabat = nullptr;
    QPushButton* m_bulkMenu = nullptr;
    QCheckBox* m_sumMarked = nullptr;
};

} // namespace orvento::ui
