#include "ui/PickList.h"

#include <QHeaderView>
#include <QTableWidget>

namespace orvento::ui {

void setUpPickList(QTableWidget* table, const QStringList& titles) {
    table->setColumnCount(static_cast<int>(titles.size()));
    table->setHorizontalHeaderLabels(titles);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
}

} // namespace orvento::ui
