#pragma once

#include "backup/BackupDialogLogic.h"

#include <QDialog>

class QCheckBox;
class QLabel;

namespace orvento::ui {

// "Obnova ze záložní kopie" (frmZalObnov): what to restore from the chosen archive. OK hands the
// choice to the backup dialog's logic; the dialog stays while nothing is chosen.
class RestoreDialog : public QDialog {
    Q_OBJECT

public:
    RestoreDialog(backup::BackupDialogLogic& logic, int row, QWidget* parent);

    // The last OK's outcome; Declined after "Zpět".
    backup::RestoreStep step() const { return m_step; }

private:
    void confirm();

    backup::BackupDialogLogic& m_logic;
    int m_row;
    QCheckBox* m_agenda;
    QCheckBox* m_global;
    QCheckBox* m_templates;
    backup::RestoreStep m_step = backup::RestoreStep::Declined;
};

} // namespace orvento::ui
