#pragma once

#include "catalogue/BulkItemUpdateWizardLogic.h"
#include "ui/catalogue/RepricingWizardFrame.h"

#include <array>

class QComboBox;
class QPlainTextEdit;

namespace orvento::core {
class Database;
class Navigator;
class UserInteraction;
} // namespace orvento::core

namespace orvento::ui {

// frmNastavText, "Hromadné operace - nastavení textových údajů".
class BulkItemUpdateWizard : public RepricingWizardFrame {
    Q_OBJECT
public:
    // The one-line texts, "Popis" to "Měrnou jednotku".
    static constexpr std::size_t kTextFieldCount = 6;

    BulkItemUpdateWizard(core::Database& db, core::UserInteraction& ui, core::Navigator& navigator,
                         catalogue::SelectionMode mode, catalogue::MarkedRows marked,
                         QWidget* parent = nullptr);

    // Opens the wizard after the rights check: 0 when it ran to its end, else -1.
    static int open(core::Database& db, core::UserInteraction& ui, core::Navigator& navigator,
                    catalogue::SelectionMode mode, catalogue::MarkedRows marked, QWidget* parent);

    catalogue::BulkItemUpdateWizardLogic& logic() { return m_logic; }

protected:
    void storeSettings() override;
    void showSettings() override;

private:
    QWidget* buildWelcomePage();
    QWidget* buildSettingsPage();

    catalogue::BulkItemUpdateWizardLogic m_logic;
    std::array<QCheckBox*, kTextFieldCount> m_textOn{};
    std::array<QLineEdit*, kTextFieldCount> m_texts{};
    QCheckBox* m_noteOn = nullptr;
    QPlainTextEdit* m_note = nullptr;
    QCheckBox* m_identifiersOn = nullptr;
    QComboBox* m_identifierAction = nullptr;
    QLineEdit* m_identifiers = nullptr;
    QPushButton* m_identifiersEdit = nullptr;
    QCheckBox* m_availabilityOn = nullptr;
    QComboBox* m_availability = nullptr;
    bool m_syncing = false;
};

} // namespace orvento::ui
