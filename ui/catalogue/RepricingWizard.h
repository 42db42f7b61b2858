#pragma once

#include "catalogue/RepricingWizardLogic.h"
#include "ui/catalogue/RepricingWizardFrame.h"

class QComboBox;
class QSpinBox;

namespace orvento::core {
class Database;
class Navigator;
class UserInteraction;
} // namespace orvento::core

namespace orvento::ui {

class NumberField;

// frmPreceneni, "Hromadné operace - přecenění".
class RepricingWizard : public RepricingWizardFrame {
    Q_OBJECT
public:
    RepricingWizard(core::Database& db, core::UserInteraction& ui, core::Navigator& navigator,
                    catalogue::SelectionMode mode, catalogue::MarkedRows marked,
                    QWidget* parent = nullptr);

    // Opens the wizard after the rights check: 0 when it ran to its end, else -1.
    static int open(core::Database& db, core::UserInteraction& ui, core::Navigator& navigator,
                    catalogue::SelectionMode mode, catalogue::MarkedRows marked, QWidget* parent);

    catalogue::RepricingWizardLogic& logic() { return m_logic; }

protected:
    void storeSettings() override;
    void showSettings() override;

private:
    struct ValueRow {
        QCheckBox* on = nullptr;
        QComboBox* action = nullptr;
        NumberField* value = nullptr;
    };
    QWidget* buildWelcomePage();
    QWidget* buildSettingsPage();
    ValueRow valueRow(const char* name, const QString& text, bool withMultiply, QWidget* page);
    static catalogue::ValueSetting valueOf(const ValueRow& row);
    static void show(const ValueRow& row, const catalogue::ValueSetting& value);

    catalogue::RepricingWizardLogic m_logic;
    QCheckBox* m_withSettings = nullptr;
    QCheckBox* m_rateOn = nullptr;
    QSpinBox* m_rate = nullptr;
    ValueRow m_purchase;
    ValueRow m_margin;
    ValueRow m_rabat;
    ValueRow m_sale;
    QCheckBox* m_groupOn = nullptr;
    QLineEdit* m_group = nullptr;
    QPushButton* m_groupPick = nullptr;
    QPushButton* m_groupClear = nullptr;
    QCheckBox* m_roundingOn = nullptr;
    QComboBox* m_rounding = nullptr;
    QCheckBox* m_typeOn = nullptr;
    QComboBox* m_type = nullptr;
    QCheckBox* m_recomputeOn = nullptr;
    QComboBox* m_recompute = nullptr;
    QComboBox* m_valueType = nullptr;
    bool m_syncing = false;
};

} // namespace orvento::ui
