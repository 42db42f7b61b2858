#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLayout;
class QLineEdit;
class QTableWidget;

namespace orvento::core {
class UserInteraction;
}
namespace orvento::catalogue {
class PriceGroupCard;
}

namespace orvento::ui {

// frmCenSkupDetail "Karta cenové skupiny": the group's fields and its level rows.
class PriceGroupCardDialog : public QDialog {
    Q_OBJECT
public:
    PriceGroupCardDialog(orvento::catalogue::PriceGroupCard& card, core::UserInteraction& ui,
                         QWidget* parent = nullptr);

    void accept() override;
    QTableWidget* levelGrid() const { return m_grid; }
    void addLevel();
    void editRow();
    void editOriginalLevel();
    void removeRow();

private:
    QLayout* buildNameFields();
    void buildBasicGroup();
    void buildLevelsGroup();
    QLayout* buildRowButtons();
    QWidget* buildLimitNote();
    void showGroup();
    void readFields();
    void showRows();
    void updateEnabled();
    std::optional<size_t> currentRow() const;

    orvento::catalogue::PriceGroupCard& m_card;
    core::UserInteraction& m_ui;
    QLineEdit* m_code;
    QLineEdit* m_name;
    QComboBox* m_priceType;
    QComboBox* m_rounding;
    QCheckBox* m_recompute;
    QComboBox* m_valueType;
    QDoubleSpinBox* m_margin;
    QDoubleSpinBox* m_rabat;
    QCheckBox* m_own;
    QGroupBox* m_basic;
    QGroupBox* m_levels;
    QTableWidget* m_grid;
};

} // namespace orvento::ui
