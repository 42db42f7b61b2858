#include "ui/catalogue/CatalogueGridStyle.h"

#include "catalogue/CatalogueWindowLogic.h"

namespace orvento::ui {

CatalogueGroupsModel::CatalogueGroupsModel(const catalogue::CatalogueWindowLogic& logic,
                                           QObject* parent)
    : QAbstractTableModel(parent)
    , m_logic(logic) {}

void CatalogueGroupsModel::refresh() {
    beginResetModel();
    endResetModel();
}

int CatalogueGroupsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_logic.groups().size());
}

int CatalogueGroupsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant CatalogueGroupsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const catalogue::GroupRow& g = m_logic.groups()[static_cast<size_t>(index.row())];
    if (role == MarkedRole)
        return m_logic.isGroupMarked(g.id);
    if (role == Qt::DisplayRole)
        return index.column() == 0 ? g.nazev : g.kod;
    return {};
}

QVariant CatalogueGroupsModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return section == 0 ? QStringLiteral("Nazev") : QStringLiteral("Kod");
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace orvento::ui
