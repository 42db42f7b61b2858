#pragma once

#include "offers/OfferCardLogic.h"
#include "offers/OfferItemsModel.h"
#include "ui/offers/OfferItemDialogs.h"

#include <QDialog>

#include <memory>

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QTextEdit;

namespace orvento::core {
class AppContext;
}

namespace orvento::ui {

class OfferDocumentsPage;
class OfferHeaderPage;
class OfferItemsPanel;
class OfferTextPage;
class OfferTotalsPanel;

// frmNabidkaKart, "Karta nabídky": the pages of the header, the texts and the documents over
// the items panel, the totals and the card's commands.
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
    QTableView* itemGrid() const;
    QLineEdit* field(const QString& objectName) const;
    QPushButton* button(const QString& objectName) const;
    QTextEdit* textBefore() const;
    QTextEdit* textAfter() const;
    QLabel* totalLabel(const QString& objectName) const;

    // The commands, as the buttons run them.
    void confirm();
    void addCatalogueItems();
    void showItems();
    // "Šablony" (Alt+S): a template from the template list over the texts and the title.
    void chooseTemplate();
    // "Rozpis identifikátorů" (F3): the breakdown window, which may mark items.
    void showBreakdown();

    void accept() override;
    void reject() override;

private:
    QTabWidget* buildPages();
    QHBoxLayout* buildCommands();
    void layOut(QHBoxLayout* commands);
    void installKeys();
    void showFirst();
    void showHeader();
    void applyPurchasePriceVisibility();

    core::AppContext& m_context;
    std::unique_ptr<OfferItemDialogs> m_ownEditor;
    offers::OfferCardLogic m_logic;
    offers::OfferItemsModel m_model;
    QTabWidget* m_pages = nullptr;
    OfferHeaderPage* m_header = nullptr;
    OfferTextPage* m_textBefore = nullptr;
    OfferTextPage* m_textAfter = nullptr;
    OfferDocumentsPage* m_documents = nullptr;
    OfferItemsPanel* m_items = nullptr;
    OfferTotalsPanel* m_totals = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace orvento::ui
