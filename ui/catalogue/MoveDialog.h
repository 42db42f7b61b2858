#pragma once

#include "catalogue/MoveOperation.h"

#include <QDialog>

class QLineEdit;
class QProgressBar;
class QPushButton;

namespace orvento::core {
class UserInteraction;
}

namespace orvento::ui {

// frmPresunZkopiruj, "Hromadné operace": where the marked items or groups go, and the run with
// its progress bar and "Přerušit".
class MoveDialog : public QDialog {
    Q_OBJECT
public:
    MoveDialog(catalogue::MoveOperation& operation, core::UserInteraction& ui,
               QWidget* parent = nullptr);

    void chooseSheet();
    void chooseGroup();
    void accept() override;
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

protected:
    void reject() override;

private:
    void showChoice();

    catalogue::MoveOperation& m_operation;
    core::UserInteraction& m_ui;
    QLineEdit* m_sheet;
    QLineEdit* m_group;
    QProgressBar* m_progress;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    bool m_running = false;
};

} // namespace orvento::ui
