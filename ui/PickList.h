#pragma once

#include <QStringList>

class QTableWidget;

namespace orvento::ui {

// Makes a table one of the program's pick lists: whole rows, one at a time, read only, no row
// numbers, under these column titles.
void setUpPickList(QTableWidget* table, const QStringList& titles);

} // namespace orvento::ui
