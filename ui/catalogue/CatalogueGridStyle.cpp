#include "ui/catalogue/CatalogueGridStyle.h"

#include "catalogue/CatalogueWindowLogic.h"

#include <QAbstractItemView>

namespace orvento::ui {

CatalogueRowDelegate::CatalogueRowDelegate(int markedRole, int errorRole, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_markedRole(markedRole)
    , m_errorRole(errorRole) {}

void CatalogueRowDelegate::initStyleOption(QStyleOptionViewItem* option,
                                           const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const bool focused = option->widget && option->widget->hasFocus();
    if (index.data(m_markedRole).toBool()) {
        option->backgroundBrush = focused ? QColor(0, 0, 128) : QColor(190, 190, 190);
        option->palette.setColor(QPalette::Text, focused ? Qt::white : Qt::black);
    }
    if (m_errorRole >= 0 && index.data(m_errorRole).toBool()) {
        option->font.setStrikeOut(true);
        option->palette.setColor(QPalette::Text, Qt::red);
        option->palette.setColor(QPalette::HighlightedText, Qt::red);
        option->palette.setColor(QPalette::Highlight, QColor(128, 0, 0));
        if (option->state & QStyle::State_Selected)
            option->palette.setColor(QPalette::HighlightedText, Qt::white);
    }
}

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
