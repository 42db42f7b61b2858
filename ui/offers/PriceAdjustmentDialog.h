#pragma once

#include "offers/OfferItemCard.h"

#include <QDialog>

#include <optional>

class QDoubleSpinBox;
class QGridLayout;
class QLabel;

namespace orvento::core {
class UserInteraction;
}

namespace orvento::ui {

// frmUpravaCeny "Úprava ceny": the percentage calculator of the offer item card.
class PriceAdjustmentDialog : public QDialog {
    Q_OBJECT
public:
    PriceAdjustmentDialog(double start, bool purchase, core::UserInteraction& ui,
                          QWidget* parent = nullptr);

    // The new price, or nothing after "Storno".
    static std::optional<double> ask(double start, bool purchase, core::UserInteraction& ui,
                                     QWidget* parent);

    double newPrice() const { return m_adjustment.newPrice(); }
    QDoubleSpinBox* percentField() const { return m_percent; }
    QDoubleSpinBox* newPriceField() const { return m_newPrice; }

private:
    QLabel* buildExplanation();
    QGridLayout* buildFields(bool purchase);
    void connectFields();
    // Both fields from the calculation, but for the one the person is typing in.
    void refresh(const QDoubleSpinBox* typed = nullptr);

    offers::PriceAdjustment m_adjustment;
    QDoubleSpinBox* m_percent = nullptr;
    QDoubleSpinBox* m_newPrice = nullptr;
    QLabel* m_discountWord = nullptr;
    QLabel* m_surchargeWord = nullptr;
};

} // namespace orvento::ui
