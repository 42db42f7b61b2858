#include "addressbook/PostCodeListModel.h"

#include "addressbook/PostCodeList.h"

namespace orvento::addressbook {

PostCodeListModel::PostCodeListModel(const PostCodeList& list, QObject* parent)
    : QAbstractTableModel(parent)
    , m_list(list) {}

void PostCodeListModel::reload() {
    beginResetModel();
    endResetModel();
}

int PostCodeListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_list.rows().size());
}

int PostCodeListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant PostCodeListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    const PostCodeRow& row = m_list.rows()[static_cast<std::size_t>(index.row())];
    return index.column() == PscColumn ? row.psc : row.misto;
}

QVariant PostCodeListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return section == PscColumn ? QStringLiteral("PSČ") : QStringLiteral("Místo");
}

} // namespace orvento::addressbook
