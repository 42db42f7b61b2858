#pragma once

#include "offers/OfferBulkOperations.h"

#include <QDialog>

namespace orvento::ui {

// frmDPH "Sazby DPH": the offer's VAT rates beside the agenda's current ones, and
// "Nastavit aktuální" that moves the offer to the current ones.
class VatRatesDialog : public QDialog {
    Q_OBJECT
public:
    VatRatesDialog(offers::OfferWorkingCopy& offer, const offers::OfferRates& current,
                   QWidget* parent = nullptr);

    // What the offer card calls ("DPH", and on opening a copy whose rates differ); true when the
    // offer took the current rates.
    static bool run(offers::OfferWorkingCopy& offer, QWidget* parent);

    void accept() override;

private:
    offers::OfferWorkingCopy& m_offer;
    offers::OfferRates m_current;
};

} // namespace orvento::ui
