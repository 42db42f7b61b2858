#pragma once

#include "core/StartupHooks.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;
class QPushButton;

namespace orvento::core {
class UserInteraction;
}

namespace orvento::ui {

// frmVyberLocNet: where the data folder is, local or on the network.
class DataFolderDialog : public QDialog {
    Q_OBJECT
public:
    DataFolderDialog(const QString& proposedLocal, core::UserInteraction& ui,
                     QWidget* parent = nullptr);

    core::DataFolderChoice choice() const;
    void chooseNetwork(const QString& folder);
    void accept() override;

    // Shows the dialog; nothing when the person pressed "Storno".
    static std::optional<core::DataFolderChoice> ask(const QString& proposedLocal,
                                                     core::UserInteraction& ui);

private:
    void updateEnabled();

    core::UserInteraction& m_ui;
    QRadioButton* m_local;
    QRadioButton* m_network;
    QLineEdit* m_localFolder;
    QLineEdit* m_networkFolder;
    QPushButton* m_browse;
};

} // namespace orvento::ui
