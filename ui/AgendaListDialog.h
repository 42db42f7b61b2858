#pragma once

#include "services/AgendaList.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeWidget;

namespace orvento::core {
class AppContext;
}

namespace orvento::ui {

// frmSeznamFirem: the agendas of the data folder, bound to services::AgendaList.
class AgendaListDialog : public QDialog {
    Q_OBJECT
public:
    AgendaListDialog(services::AgendaList& list, QWidget* parent = nullptr);

    // Checks the right, reads the data folder and shows the list; what happened there.
    static core::AgendaListOutcome run(core::AppContext& context, QWidget* parent);

    core::AgendaListOutcome outcome() const { return m_outcome; }
    QTreeWidget* grid() const { return m_grid; }

private:
    void showRows();
    void finish(core::AgendaListOutcome outcome);
    void updateButtons();

    services::AgendaList& m_list;
    core::AgendaListOutcome m_outcome = core::AgendaListOutcome::Stay;
    QLineEdit* m_folder;
    QToolButton* m_changeFolder;
    QTreeWidget* m_grid;
    QPushButton* m_open;
    QPushButton* m_add;
    QPushButton* m_demo;
    QPushButton* m_remove;
    QPushButton* m_repair;
    QPushButton* m_cancel;
};

} // namespace orvento::ui
