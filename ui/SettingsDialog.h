#pragma once

#include "services/SettingsDialogLogic.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace orvento::core {
class AppContext;
}

namespace orvento::ui {

// frmNastaveni: the agenda's firm data, its global settings and the user's profile options, on
// three pages shown by the user's rights. The fields are bound to SettingsDialogLogic, which
// checks and saves.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    SettingsDialog(services::SettingsDialogLogic& logic, core::AppContext& context,
                   QWidget* parent = nullptr);

    // Loads the settings and shows the dialog. True when the person confirmed and it was saved.
    static bool run(core::AppContext& context, QWidget* parent);

    void accept() override;

    QTabWidget* pages() const { return m_tabs; }

private:
    QWidget* buildFirmPage();
    QWidget* buildGlobalPage();
    QWidget* buildProfilePage();
    void showValues();
    void takeValues();
    void showLogo();
    void unlockPicturesFolder();

    services::SettingsDialogLogic& m_logic;
    core::AppContext& m_context;
    QTabWidget* m_tabs = nullptr;
    std::array<QLineEdit*, 12> m_firm{};
    QLabel* m_logo = nullptr;
    QLineEdit* m_prefix = nullptr;
    QSpinBox* m_cislo = nullptr;
    QSpinBox* m_pocetMist = nullptr;
    QDoubleSpinBox* m_sazbaZakladni = nullptr;
    QDoubleSpinBox* m_sazbaSnizena = nullptr;
    QCheckBox* m_zaokrouhlit = nullptr;
    QLineEdit* m_obrazky = nullptr;
    QToolButton* m_obrazkyBrowse = nullptr;
    QLabel* m_zmenit = nullptr;
    QLineEdit* m_mena = nullptr;
    QComboBox* m_historie = nullptr;
    QCheckBox* m_tisk = nullptr;
    QCheckBox* m_sablona = nullptr;
    QLineEdit* m_sablonaZkratka = nullptr;
    QToolButton* m_sablonaVyber = nullptr;
    QCheckBox* m_dotaz = nullptr;
    QCheckBox* m_hromadne = nullptr;
    QCheckBox* m_nezobrazovat = nullptr;
};

} // namespace orvento::ui
