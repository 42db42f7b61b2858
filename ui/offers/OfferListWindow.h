#pragma once

#include "offers/OfferListLogic.h"

#include <QDialog>

#include <functional>

class QAction;
class QCheckBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;
class QVBoxLayout;
class QWidget;

namespace orvento::core {
class AppContext;
}

namespace orvento::ui {

class GridBinding;
class QuickFindPanel;

// frmNabidky, "Seznam nabídek".
class OfferListWindow : public QDialog {
    Q_OBJECT
public:
    OfferListWindow(core::AppContext& context, QWidget* parent = nullptr);
    ~OfferListWindow() override;

    // Opens the list after the rights check, modally.
    static void open(core::AppContext& context, QWidget* parent);

    offers::OfferListLogic& logic() { return m_logic; }
    QTableView* grid() const { return m_grid; }
    QLineEdit* findBox() const;
    QPushButton* button(const QString& objectName) const;
    QAction* otherAction(const QString& objectName) const;
    QWidget* legend() const { return m_legend; }

    // The commands, as the buttons and menus run them.
    void openCard(core::OfferCardMode mode);
    void removeSelected();
    void printOffers();
    void showFilter();
    void refresh();
    void showSums();
    void showHistory();
    void setLocked(bool locked);
    void toggleMark();

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void bindGrid();
    QVBoxLayout* buildCommands();
    QMenu* buildOtherMenu();
    void layOut(QVBoxLayout* commands);
    void connectKeysAndEvents();
    void showOpenedList();
    void showRows();
    void showCurrentRow();
    void updateButtons();
    void sortBy(const QString& field);
    // A command still busy with its previous press ignores the next one.
    void runOnce(bool& busy, const std::function<void()>& work);

    core::AppContext& m_context;
    offers::OfferListLogic m_logic;
    QTableView* m_grid;
    GridBinding* m_binding = nullptr;
    QuickFindPanel* m_findPanel;
    QWidget* m_legend = nullptr;
    QCheckBox* m_legendSwitch;
    QPushButton* m_add;
    QPushButton* m_edit;
    QPushButton* m_copy;
    QPushButton* m_remove;
    QPushButton* m_filter;
    QPushButton* m_print;
    QPushButton* m_other;
    QAction* m_export = nullptr;
    bool m_addBusy = false;
    bool m_editBusy = false;
    bool m_copyBusy = false;
    bool m_removeBusy = false;
    bool m_printBusy = false;
    bool m_exportBusy = false;
    bool m_updating = false;
    bool m_closed = false;
};

} // namespace orvento::ui
