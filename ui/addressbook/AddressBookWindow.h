#pragma once

#include "addressbook/AddressBookLogic.h"
#include "addressbook/FirmCard.h"

#include <QDialog>

#include <optional>

class QLineEdit;
class QMenu;
class QPushButton;
class QVBoxLayout;
class QTableView;
class QWidget;

namespace orvento::core {
class AppContext;
}

namespace orvento::ui {

class GridBinding;
class WindowPlacementBinding;

// frmAdresar, "Adresář firem": the firms of the open agenda, browsed or picked for an offer.
class AddressBookWindow : public QDialog {
    Q_OBJECT
public:
    // On the firm `startOn` when it is given, else where the person left the list.
    AddressBookWindow(core::AppContext& context, addressbook::AddressBookMode mode,
                      QWidget* parent = nullptr, std::optional<qint64> startOn = std::nullopt);
    ~AddressBookWindow() override;

    // Opens the address book after the rights check. In pick mode, the firm chosen with "OK".
    static std::optional<qint64> open(core::AppContext& context, addressbook::AddressBookMode mode,
                                      QWidget* parent,
                                      std::optional<qint64> startOn = std::nullopt);
    // A firm's card only to look at (from an offer), without the list.
    // False when it did not open.
    static bool showFirm(core::AppContext& context, qint64 firmId, QWidget* parent);

    addressbook::AddressBookLogic& logic() { return m_logic; }
    QTableView* grid() const { return m_grid; }
    QLineEdit* findBox() const { return m_find; }
    std::optional<qint64> pickedFirm() const { return m_picked; }

    // The commands, as the buttons run them.
    // Enter and double-click: pick in pick mode, the card otherwise.
    void activate();
    void addFirm();
    // "Přidat adresu z internetového registru ARES": a new card filled from the register.
    void addFromRegister();
    void editCurrent();
    void copyCurrent();
    void removeCurrent();
    void printFirms();
    void exportXml();
    void refresh();
    void pick();

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The panels, built in this order (it is the order of the Tab key).
    void buildGrid();
    void buildFindPanel();
    QVBoxLayout* buildButtons();
    QMenu* buildOtherMenu();
    void installKeys();
    void openCard(addressbook::FirmCardMode mode, qint64 firmId,
                  const QString& icoToLoad = QString());
    void showCurrentRow();
    void updateButtons();
    void sortBy(const QString& field);
    void openFind(const QString& first);
    void closeFind();

    core::AppContext& m_context;
    addressbook::AddressBookLogic m_logic;
    QTableView* m_grid;
    GridBinding* m_binding;
    WindowPlacementBinding* m_placement = nullptr;
    QWidget* m_findPanel;
    QLineEdit* m_find;
    QPushButton* m_edit;
    QPushButton* m_copy;
    QPushButton* m_remove;
    QPushButton* m_print;
    QPushButton* m_other;
    QPushButton* m_ok;
    std::optional<qint64> m_picked;
    bool m_updating = false;
    bool m_closed = false;
};

} // namespace orvento::ui
