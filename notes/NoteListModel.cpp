#include "notes/NoteListModel.h"

#include "notes/NoteList.h"

#include <QBrush>
#include <QColor>

namespace orvento::notes {

QColor settledColour() {
    return QColor(0x1b, 0x8a, 0x3a);
}

NoteListModel::NoteListModel(NoteList& list, QObject* parent)
    : QAbstractListModel(parent)
    , m_list(list) {
    connect(&m_list, &NoteList::reloaded, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

int NoteListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_list.rowCount();
}

QVariant NoteListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_list.rowCount())
        return {};
    const NoteRow& row = m_list.row(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return row.Nazev;
    case Qt::ForegroundRole:
        return row.Vyrizeno ? QVariant(QBrush(settledColour())) : QVariant();
    case SettledRole:
        return row.Vyrizeno;
    default:
        return {};
    }
}

} // namespace orvento::notes
