#pragma once

#include "offers/OfferBulkOperations.h"

#include <QDialog>

class QDoubleSpinBox;
class QRadioButton;

namespace orvento::ui {

// frmReCalcDiscount "Výpočet slevy": the one discount that brings the offer to a typed total.
class DiscountToTotalDialog : public QDialog {
    Q_OBJECT
public:
    DiscountToTotalDialog(offers::OfferBulkOperations& operations, QWidget* parent = nullptr);

    // What the offer card calls; true when the discount was computed and set.
    static bool run(offers::OfferWorkingCopy& offer, const std::vector<bool>& marks,
                    core::UserInteraction& ui, QWidget* parent);

    void accept() override;
    QDoubleSpinBox* totalField() const { return m_total; }
    QRadioButton* withVatButton() const { return m_withVat; }
    const offers::DiscountSearch& search() const { return m_result; }

private:
    offers::OfferBulkOperations& m_operations;
    QDoubleSpinBox* m_total = nullptr;
    QRadioButton* m_withoutVat = nullptr;
    QRadioButton* m_withVat = nullptr;
    offers::DiscountSearch m_result;
};

} // namespace orvento::ui
