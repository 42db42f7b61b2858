#pragma once

#include "offers/OfferCardLogic.h"
#include "offers/OfferItemsModel.h"

#include <QDialog>

#include <functional>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;
class QTableWidget;
class QTabWidget;
class QTextEdit;
class QTextCharFormat;
class QVBoxLayout;

namespace orvento::core {
class AppContext;
}

namespace orvento::ui {

class GridBinding;
class QuickFindPanel;

// The item dialogs of the program, for the card's logic.
class OfferItemDialogs : public offers::OfferItemEditor {
public:
    OfferItemDialogs(core::UserInteraction& ui, QWidget* parent)
        : m_ui(ui)
        , m_parent(parent) {}
    bool editNew(offers::OfferWorkingCopy& offer, std::optional<std::size_t> current) override;
    bool editFromCatalogue(offers::OfferWorkingCopy& offer, qint64 catalogueId,
                           std::optional<std::size_t> current) override;
    bool editExisting(offers::OfferWorkingCopy& offer, std::size_t index, bool copy) override;
    bool editNewText(offers::OfferWorkingCopy& offer, bool title,
                     std::optional<std::size_t> current) override;
    bool editExistingText(offers::OfferWorkingCopy& offer, std::size_t index, bool copy) override;

private:
    core::UserInteraction& m_ui;
    QWidget* m_parent;
};

// frmNabidkaKart, "Karta nabídky".
class OfferCardWindow : public QDialog {
    Q_OBJECT
public:
    // `editor` answers the item dialogs; the program's own dialogs when none is given.
    OfferCardWindow(core::AppContext& context, offers::OpenedOffer opened,
                    offers::OfferItemEditor* editor = nullptr, QWidget* parent = nullptr);
    ~OfferCardWindow() override;

    // Opens the offer and shows its card modally; the saved offer's ID when it was saved.
    static std::optional<qint64> run(core::AppContext& context, core::OfferCardMode mode,
                                     qint64 offerId, QWidget* parent);

    offers::OfferCardLogic& logic() { return m_logic; }
    QTableView* itemGrid() const { return m_grid; }
    QLineEdit* field(const QString& objectName) const;
    QPushButton* button(const QString& objectName) const;
    QTextEdit* textBefore() const { return m_textPred; }
    QTextEdit* textAfter() const { return m_textZa; }
    QLabel* totalLabel(const QString& objectName) const;

    // The commands, as the buttons run them.
    void confirm();
    void addCatalogueItems();
    void showItems();

    void accept() override;
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildHeaderPage();
    QWidget* buildTextPage(QTextEdit*& editor, const QString& objectName);
    QWidget* buildDocumentsPage();
    QWidget* buildItemsPanel();
    void buildFrozenMarkers();
    QVBoxLayout* buildItemButtons(QWidget* panel);
    QMenu* buildBulkMenu();
    void buildGridMenu();
    QWidget* buildTotalsPanel();
    void bindHeaderField(QLineEdit* edit, QString offers::OfferHeader::*member);
    void showHeader();
    void showCustomer();
    void showLevel();
    void showTotals();
    // The documents, on the one at `current` when it is given.
    void showDocuments(std::optional<std::size_t> current = std::nullopt);
    void showState();
    void takeText(const QTextEdit* editor);
    // The date fields as they stand, typed but not yet left.
    void readDates();
    void runOnItems(const std::function<void()>& command);
    void selectCurrent();
    void sortBy(const QString& field);
    void applyPurchasePriceVisibility();
    void addDocument();
    void openDocument();
    void bulk(int field);
    void formatText(const std::function<void(QTextCharFormat&)>& change);
    QTextEdit* focusedText() const;

    core::AppContext& m_context;
    std::unique_ptr<OfferItemDialogs> m_ownEditor;
    offers::OfferCardLogic m_logic;
    offers::OfferItemsModel m_model;
    QTabWidget* m_pages = nullptr;
    QTableView* m_grid = nullptr;
    QTableView* m_frozen = nullptr;
    GridBinding* m_binding = nullptr;
    QuickFindPanel* m_findPanel = nullptr;
    QComboBox* m_state = nullptr;
    QComboBox* m_payment = nullptr;
    QComboBox* m_transport = nullptr;
    QLineEdit* m_number = nullptr;
    QLineEdit* m_issued = nullptr;
    QLineEdit* m_valid = nullptr;
    QLineEdit* m_settled = nullptr;
    std::vector<QLineEdit*> m_addressFields;
    QPushButton* m_pickFirm = nullptr;
    QPushButton* m_showFirm = nullptr;
    QLineEdit* m_level = nullptr;
    QPushButton* m_pickLevel = nullptr;
    QPushButton* m_clearLevel = nullptr;
    QCheckBox* m_levelFromAddress = nullptr;
    QTextEdit* m_textPred = nullptr;
    QTextEdit* m_textZa = nullptr;
    QPushButton* m_font = nullptr;
    QTableWidget* m_documents = nullptr;
    QuickFindPanel* m_documentFind = nullptr;
    QLabel* m_marks = nullptr;
    QCheckBox* m_sumMarked = nullptr;
    QWidget* m_markedSums = nullptr; // the grid's footer
    QPushButton* m_discount = nullptr;
    QPushButton* m_ok = nullptr;
    bool m_showing = false;
};

} // namespace orvento::ui
