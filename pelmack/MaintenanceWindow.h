#pragma once

#include "services/DatabaseMaintenance.h"

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace orvento::pelmack {

// The window of the maintenance tool: the data folder's databases with a check box each, the
// command that maintains the chosen ones, and the report of what was done.
class MaintenanceWindow : public QWidget {
    Q_OBJECT
public:
    explicit MaintenanceWindow(const QString& dataFolder, QWidget* parent = nullptr);

    void run();
    QTreeWidget* list() const { return m_list; }
    QString report() const;

private:
    void fill();
    void say(const QString& line);

    services::DatabaseMaintenance m_maintenance;
    QTreeWidget* m_list;
    QPlainTextEdit* m_report;
    QPushButton* m_start;
};

} // namespace orvento::pelmack
