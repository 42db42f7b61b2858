#pragma once

#include "offers/OfferBulkOperations.h"

#include <QDialog>

class QDoubleSpinBox;
class QRadioButton;

namespace orvento::ui {

// frmSlevaKarta: one value (discount, margin, rabat or VAT rate) set on, added to or reset on
// the affected items of an offer.
class BulkValueDialog : public QDialog {
    Q_OBJECT
public:
    BulkValueDialog(offers::OfferBulkOperations& operations, offers::BulkField field,
                    core::UserInteraction& ui, QWidget* parent = nullptr);

    // What the offer card calls with its working copy and the marks of its item grid; true when
    // the items were changed.
    static bool run(offers::OfferWorkingCopy& offer, const std::vector<bool>& marks,
                    offers::BulkField field, core::UserInteraction& ui, QWidget* parent);

    void accept() override;
    QDoubleSpinBox* valueField() const { return m_value; }
    QRadioButton* modeButton(offers::BulkMode mode) const;

private:
    offers::OfferBulkOperations& m_operations;
    offers::BulkField m_field;
    QDoubleSpinBox* m_value = nullptr;
    std::vector<QRadioButton*> m_modes;
};

} // namespace orvento::ui
