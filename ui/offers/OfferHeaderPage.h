#pragma once

#include "offers/OfferRecords.h"

#include <QWidget>

#include <functional>
#include <memory>

class QLineEdit;
class QPushButton;

namespace Ui {
class OfferHeaderPage;
}
namespace orvento::core {
class AppContext;
}
namespace orvento::offers {
class OfferCardLogic;
}

namespace orvento::ui {

// The offer card's page "Hlavička" (its fields laid out in OfferHeaderPage.ui): number,
// description, payment, transport, state, title, dates, the customer and the price level.
// Every edit goes into the working copy at once.
class OfferHeaderPage : public QWidget {
    Q_OBJECT
public:
    OfferHeaderPage(core::AppContext& context, offers::OfferCardLogic& logic, QWidget* parent);
    ~OfferHeaderPage() override;

    // The fields as the working copy has them.
    void showHeader();
    // The date fields as they stand, typed but not yet left.
    void readDates();
    QPushButton* pickFirmButton() const;
    QLineEdit* descriptionField() const;

signals:
    // A customer or price level changed the items' prices: the card shows them again.
    void itemsChanged();
    // A customer from the address book was taken: the work goes on in the item grid.
    void customerLinked();

private:
    void bindNumber();
    void bindTexts();
    void bindChoices();
    void bindDates();
    void bindCustomer();
    void bindLevel();
    void runOnItems(const std::function<void()>& command);
    void showState();
    void showCustomer();
    void showLevel();

    core::AppContext& m_context;
    offers::OfferCardLogic& m_logic;
    std::unique_ptr<Ui::OfferHeaderPage> m_form;
    bool m_showing = false;
};

} // namespace orvento::ui
