#include "offers/OfferItemsModel.h"

#include "core/AmountFormat.h"
#include "offers/OfferCardLogic.h"

#include <QColor>
#include <QFont>
#include <QLocale>

namespace orvento::offers {

namespace {

QString number(double value, int decimals) {
    return QLocale(QLocale::Czech).toString(value, 'f', decimals);
}

} // namespace

OfferItemsModel::OfferItemsModel(OfferCardLogic& logic, QObject* parent)
    : QAbstractTableModel(parent)
    , m_logic(logic) {}

const QStringList& OfferItemsModel::fields() {
    static const QStringList names = {
        QStringLiteral("Empty1"),    QStringLiteral("Empty2"),     QStringLiteral("Empty3"),
        QStringLiteral("Popis"),     QStringLiteral("Katalog"),    QStringLiteral("PCBDPHMJ"),
        QStringLiteral("PCSDPHMJ"),  QStringLiteral("PocetMJ"),    QStringLiteral("MJ"),
        QStringLiteral("PCBDPHPOL"), QStringLiteral("PCSDPHPOL"),  QStringLiteral("SazbaDPH"),
        QStringLiteral("Sleva"),     QStringLiteral("Marze"),      QStringLiteral("Rabat"),
        QStringLiteral("NakCena"),   QStringLiteral("NakCenaPol"), QStringLiteral("ZiskMJ"),
        QStringLiteral("ZiskPol"),   QStringLiteral("CenHladina"), QStringLiteral("Identif"),
        QStringLiteral("Poradi")};
    return names;
}

int OfferItemsModel::columnOf(const QString& field) {
    return static_cast<int>(fields().indexOf(field));
}

void OfferItemsModel::reload() {
    beginResetModel();
    endResetModel();
}

void OfferItemsModel::refreshValues() {
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int OfferItemsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_logic.itemCount();
}

int OfferItemsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(fields().size());
}

std::optional<int> OfferItemsModel::findRow(int column, const QString& part) const {
    for (int row = 0; row < rowCount(); ++row)
        if (text(row, column).startsWith(part, Qt::CaseInsensitive))
            return row;
    return std::nullopt;
}

QString OfferItemsModel::text(int row, int column) const {
    const auto& items = m_logic.offer().items();
    if (row < 0 || row >= static_cast<int>(items.size()))
        return {};
    const OfferItem& item = items[static_cast<std::size_t>(row)];
    const QString field = fields().value(column);
    if (field == QLatin1String("Empty1"))
        return item.isCatalogueItem() ? QStringLiteral("•") : QString();
    if (field == QLatin1String("Empty2"))
        return item.isPriceItem() && item.Nakladova ? QStringLiteral("•") : QString();
    if (field == QLatin1String("Empty3"))
        return item.IgnorHr ? QStringLiteral("•") : QString();
    if (field == QLatin1String("Popis"))
        return item.Popis;
    if (field == QLatin1String("Poradi"))
        return QString::number(item.Poradi);
    // Title and text items show only their text and position.
    if (!item.isPriceItem())
        return {};
    if (field == QLatin1String("Katalog"))
        return item.Katalog;
    if (field == QLatin1String("MJ"))
        return item.MJ;
    if (field == QLatin1String("Identif"))
        return item.Identif;
    if (field == QLatin1String("CenHladina"))
        return item.CenHladina.isEmpty() ? QStringLiteral("<zákl. prodejní>") : item.CenHladina;
    if (field == QLatin1String("PocetMJ"))
        return core::formatQuantity(item.PocetMJ);
    if (field == QLatin1String("SazbaDPH"))
        return number(item.SazbaDPH, 0);
    if (field == QLatin1String("Sleva"))
        return number(item.Sleva, 2);
    if (field == QLatin1String("Marze"))
        return number(item.Marze, 2);
    if (field == QLatin1String("Rabat"))
        return number(item.Rabat, 2);
    const double amount = field == QLatin1String("PCBDPHMJ")     ? item.PCBDPHMJ
                          : field == QLatin1String("PCSDPHMJ")   ? item.PCSDPHMJ
                          : field == QLatin1String("PCBDPHPOL")  ? item.PCBDPHPOL
                          : field == QLatin1String("PCSDPHPOL")  ? item.PCSDPHPOL
                          : field == QLatin1String("NakCena")    ? item.NakCena
                          : field == QLatin1String("NakCenaPol") ? item.NakCenaPol
                          : field == QLatin1String("ZiskMJ")     ? item.ZiskMJ
                                                                 : item.ZiskPol;
    return core::formatAmount(amount);
}

QVariant OfferItemsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    const OfferItem& item = m_logic.offer().items()[row];
    switch (role) {
    case Qt::DisplayRole:
        return text(index.row(), index.column());
    case Qt::FontRole:
        if (item.Nadpisova) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() < kMarkerColumns)
            return QVariant::fromValue(Qt::AlignCenter);
        if (index.column() >= columnOf(QStringLiteral("PCBDPHMJ")) &&
            index.column() <= columnOf(QStringLiteral("ZiskPol")) &&
            index.column() != columnOf(QStringLiteral("MJ")))
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case MarkedRole:
        return row < m_logic.marks().size() && m_logic.marks()[row];
    case CostRole:
        return item.isPriceItem() && item.Nakladova;
    case TitleRole:
        return item.Nadpisova;
    default:
        return {};
    }
}

QVariant OfferItemsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    return fields().at(section);
}

} // namespace orvento::offers
