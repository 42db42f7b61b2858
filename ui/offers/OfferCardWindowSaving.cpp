// The offer card's opening, save and leaving.
#include "ui/offers/OfferCardWindow.h"

#include "ui/offers/OfferHeaderPage.h"
#include "ui/offers/VatRatesDialog.h"

namespace orvento::ui {

std::optional<qint64> OfferCardWindow::run(core::AppContext& context, core::OfferCardMode mode,
                                           qint64 offerId, QWidget* parent) {
    auto opened = offers::OfferCardLogic::open(context, mode, offerId);
    if (!opened)
        return std::nullopt;
    const bool ratesDiffer = opened->ratesDifferFromAgenda;
    OfferCardWindow window(context, std::move(*opened), nullptr, parent);
    if (ratesDiffer && VatRatesDialog::run(window.logic().offer(), &window))
        window.showItems();
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    return window.logic().savedId();
}

void OfferCardWindow::confirm() {
    if (m_logic.readOnly())
        return;
    // Typed but not yet left: the date fields as they stand.
    m_header->readDates();
    if (m_logic.confirm()) {
        QDialog::accept();
        return;
    }
    showHeader();
}

void OfferCardWindow::accept() {
    confirm();
}

void OfferCardWindow::reject() {
    if (m_logic.mayLeave())
        QDialog::reject();
}

} // namespace orvento::ui
