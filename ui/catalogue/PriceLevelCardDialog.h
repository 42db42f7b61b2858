#pragma once

#include "catalogue/CardOutcome.h"
#include "catalogue/PriceLevelRecords.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QLineEdit;

namespace orvento::ui {

// frmCenHladDetail: the fields of one price level. Used for a level itself (bound to the card's
// logic through `confirm`) and for a group's level row, where the code and name are read-only
// and "převzít nastavení z původní cenové hladiny" is offered.
class PriceLevelCardDialog : public QDialog {
    Q_OBJECT
public:
    // OK: the caller checks and writes; the outcome keeps the dialog open or closes it.
    using Confirm = std::function<orvento::catalogue::CardOutcome()>;

    PriceLevelCardDialog(orvento::catalogue::PriceLevel& level, bool editable, Confirm confirm,
                         QWidget* parent = nullptr);
    // The row variant: `prevzato` is shown and edited too.
    PriceLevelCardDialog(orvento::catalogue::PriceLevel& level, bool& prevzato,
                         QWidget* parent = nullptr);

    void accept() override;

private:
    void build(bool rowMode);
    void readFields();
    void updateEnabled();

    orvento::catalogue::PriceLevel& m_level;
    bool* m_prevzato = nullptr;
    Confirm m_confirm;
    QLineEdit* m_code;
    QLineEdit* m_name;
    QDoubleSpinBox* m_value;
    QComboBox* m_type;
    QComboBox* m_base;
    QComboBox* m_rounding;
    QComboBox* m_priceType;
    QCheckBox* m_fixed;
    QCheckBox* m_takeOver = nullptr;
    QFormLayout* m_form = nullptr;
};

} // namespace orvento::ui
