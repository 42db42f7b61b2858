#pragma once

#include "backup/BackupDialogLogic.h"
#include "core/Navigator.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeWidget;

namespace orvento::core {
class AppContext;
}

namespace orvento::ui {

// "Zálohování" (frmZalohovani) on its backup or its restore page, bound to the dialog's logic.
class BackupDialog : public QDialog {
    Q_OBJECT

public:
    BackupDialog(backup::BackupDialogLogic& logic, QWidget* parent);

    // The menu's command: the session, the dialog, and what the program does afterwards.
    static core::BackupOutcome open(core::AppContext& context, core::BackupPage page,
                                    QWidget* parent);

private:
    void showFolder();
    void showRows();
    void chooseFolder();
    void confirm();
    void deleteCurrent();

    backup::BackupDialogLogic& m_logic;
    QCheckBox* m_standard;
    QLineEdit* m_folder;
    QToolButton* m_browse;
    QCheckBox* m_shared = nullptr;
    QTreeWidget* m_grid = nullptr;
    QPushButton* m_ok;
    QPushButton* m_delete;
};

} // namespace orvento::ui
