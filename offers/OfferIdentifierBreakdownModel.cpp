#include "offers/OfferIdentifierBreakdownModel.h"

#include "core/AmountFormat.h"
#include "offers/OfferIdentifierBreakdown.h"

#include <QColor>

namespace orvento::offers {

namespace {

// Marked rows as the offer card's item grid shows them.
const QColor kMarkedBackground(190, 190, 190);

double amountOf(const IdentifierBreakdownRow& row, const QString& field) {
    if (field == QLatin1String("NakCena"))
        return row.NakCena;
    if (field == QLatin1String("ProdBDPH"))
        return row.ProdBDPH;
    if (field == QLatin1String("ProdSDPH"))
        return row.ProdSDPH;
    return row.Zisk;
}

} // namespace

IdentifierBreakdownModel::IdentifierBreakdownModel(const IdentifierBreakdown& breakdown,
                                                   QObject* parent)
    : QAbstractTableModel(parent)
    , m_breakdown(breakdown) {}

void IdentifierBreakdownModel::refreshMarks() {
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

std::optional<int> IdentifierBreakdownModel::findRow(int column, const QString& part) const {
    for (int row = 0; row < rowCount(); ++row)
        if (data(index(row, column)).toString().startsWith(part, Qt::CaseInsensitive))
            return row;
    return std::nullopt;
}

int IdentifierBreakdownModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_breakdown.rows().size());
}

int IdentifierBreakdownModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(IdentifierBreakdown::columns().size());
}

QVariant IdentifierBreakdownModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const IdentifierBreakdownRow& row = m_breakdown.rows()[static_cast<std::size_t>(index.row())];
    const IdentifierBreakdown::Column& column =
        IdentifierBreakdown::columns()[static_cast<std::size_t>(index.column())];
    const bool marked = m_breakdown.marks()[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        if (column.amount)
            return core::formatAmount(amountOf(row, column.field));
        return column.field == QLatin1String("ZkrIdent") ? row.ZkrIdent : row.PopisIdent;
    case Qt::TextAlignmentRole:
        if (column.amount)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case Qt::BackgroundRole:
        return marked ? QVariant(kMarkedBackground) : QVariant();
    case MarkedRole:
        return marked;
    default:
        return {};
    }
}

QVariant IdentifierBreakdownModel::headerData(int section, Qt::Orientation orientation,
                                              int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= columnCount())
        return {};
    return IdentifierBreakdown::columns()[static_cast<std::size_t>(section)].title;
}

} // namespace orvento::offers
