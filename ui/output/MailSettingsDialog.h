#pragma once

#include "output/MailSettingsLogic.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace orvento::core {
class AppContext;
}

namespace orvento::output {
class MailPasswords;
}

namespace orvento::ui {

// "Nastavení e-mailu": how this workstation sends e-mail.
class MailSettingsDialog : public QDialog {
    Q_OBJECT
public:
    MailSettingsDialog(core::AppContext& context, output::MailSettingsLogic& logic,
                       QWidget* parent = nullptr);
    void accept() override;

    // Checks the right, then shows the dialog modally; true when the settings were saved.
    static bool open(core::AppContext& context, QWidget* parent);

private:
    void take();
    void showMethod();

    core::AppContext& m_context;
    output::MailSettingsLogic& m_logic;
    QComboBox* m_method = nullptr;
    QLineEdit* m_command = nullptr;
    QLineEdit* m_server = nullptr;
    QSpinBox* m_port = nullptr;
    QComboBox* m_security = nullptr;
    QLineEdit* m_user = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_caFile = nullptr;
    QPushButton* m_browse = nullptr;
    QSpinBox* m_timeout = nullptr;
};

} // namespace orvento::ui
