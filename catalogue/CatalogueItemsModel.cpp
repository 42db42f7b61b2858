#include "catalogue/CatalogueItemsModel.h"

#include "core/AmountFormat.h"
#include "core/CzechCollation.h"
#include "core/Database.h"

#include <algorithm>

namespace orvento::catalogue {

namespace {

const QString kPurchasePrice = QStringLiteral("NakCena");

bool isAmount(const QString& field) {
    return field == QLatin1String("PrCenaBDPH") || field == QLatin1String("PrCenaSDPH") ||
           field == kPurchasePrice;
}

// Sortable fields whose order is the Czech alphabetical one; the others are numbers.
bool isText(const QString& field) {
    return !isAmount(field) && field != QLatin1String("SazbaDPH");
}

// The grid field named by a stored sort field, or nothing.
QString fieldNamed(const QString& sortField) {
    for (const QString& f : CatalogueItemsModel::fields())
        if (f.compare(sortField.trimmed(), Qt::CaseInsensitive) == 0)
            return f;
    return {};
}

QString textOf(const QVariant& value) {
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble());
    return value.toString();
}

QStringList readColumns() {
    QStringList columns = CatalogueItemsModel::fields();
    columns << QStringLiteral("Chyba");
    return columns;
}

} // namespace

CatalogueItemsModel::CatalogueItemsModel(core::Database& db, QObject* parent)
    : core::RowBlockModel(db, QStringLiteral("Zasoby"), readColumns(), MarkedRole, parent) {}

CatalogueItemsModel::~CatalogueItemsModel() = default;

const QStringList& CatalogueItemsModel::fields() {
    static const QStringList list = {
        QStringLiteral("Popis"),      QStringLiteral("Katalog"),   QStringLiteral("PrCenaBDPH"),
        QStringLiteral("PrCenaSDPH"), QStringLiteral("Zkratka"),   QStringLiteral("PLU"),
        QStringLiteral("TextMJ"),     QStringLiteral("NakCena"),   QStringLiteral("SazbaDPH"),
        QStringLiteral("BarCode"),    QStringLiteral("Dostupnost")};
    return list;
}

bool CatalogueItemsModel::isSortable(const QString& field) {
    static const QStringList sortable = {QStringLiteral("POPIS"),      QStringLiteral("KATALOG"),
                                         QStringLiteral("PRCENABDPH"), QStringLiteral("PRCENASDPH"),
                                         QStringLiteral("ZKRATKA"),    QStringLiteral("PLU"),
                                         QStringLiteral("BARCODE")};
    return sortable.contains(field.trimmed().toUpper());
}

QString CatalogueItemsModel::normalisedSortField(const QString& field) {
    return isSortable(field) ? field.trimmed().toUpper() : QStringLiteral("POPIS");
}

QString CatalogueItemsModel::ownerColumn() const {
    return m_scope == Scope::Group ? QStringLiteral("Skupina") : QStringLiteral("Sklad");
}

QString CatalogueItemsModel::orderBy() const {
    return orderByClause(m_sortField);
}

QString CatalogueItemsModel::orderByClause(const QString& sortField) {
    const QString field = fieldNamed(normalisedSortField(sortField));
    // The ID breaks ties, so that the order is the same every time it is read.
    return isText(field) ? field + QStringLiteral(" COLLATE CZECH, ID")
                         : field + QStringLiteral(", ID");
}

bool CatalogueItemsModel::readIds() {
    if (m_scope == Scope::Nothing)
        return resetIds({}, {});
    // Names of columns come from the fixed list above, never from what was typed.
    return resetIds(QStringLiteral("SELECT ID FROM Zasoby WHERE ") + ownerColumn() +
                        QStringLiteral(" = :Owner") + m_filter.andClause() +
                        QStringLiteral(" ORDER BY ") + orderBy(),
                    withFilter({{QStringLiteral("Owner"), m_ownerId}}));
}

core::SqlParams CatalogueItemsModel::withFilter(core::SqlParams params) const {
    params.insert(params.end(), m_filter.params.begin(), m_filter.params.end());
    return params;
}

bool CatalogueItemsModel::load(Scope scope, qint64 ownerId, const QString& sortField) {
    m_scope = scope;
    m_ownerId = ownerId;
    m_sortField = normalisedSortField(sortField);
    return readIds();
}

void CatalogueItemsModel::clear() {
    load(Scope::Nothing, 0, m_sortField);
}

bool CatalogueItemsModel::reload() {
    return readIds();
}

bool CatalogueItemsModel::sortBy(const QString& field) {
    if (!isSortable(field))
        return false;
    m_sortField = normalisedSortField(field);
    return reload();
}

QVariant CatalogueItemsModel::value(int row, const QString& field) const {
    const std::vector<QVariant>* r = rowValues(row);
    if (!r)
        return {};
    if (field.compare(QLatin1String("Chyba"), Qt::CaseInsensitive) == 0)
        return r->back();
    const qsizetype column = fields().indexOf(fieldNamed(field));
    return column < 0 ? QVariant() : (*r)[static_cast<size_t>(column)];
}

int CatalogueItemsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(fields().size());
}

QVariant CatalogueItemsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int row = index.row();
    switch (role) {
    case IdRole:
        return idAt(row);
    case MarkedRole:
        return isMarked(idAt(row));
    case ErrorRole: {
        const std::vector<QVariant>* r = rowValues(row);
        return r ? r->back().toBool() : false;
    }
    case RawValueRole:
    case Qt::DisplayRole:
    case Qt::TextAlignmentRole:
        break;
    default:
        return {};
    }
    const QString& field = fields().at(index.column());
    if (role == Qt::TextAlignmentRole)
        return isAmount(field) || field == QLatin1String("SazbaDPH")
                   ? QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter))
                   : QVariant();
    const std::vector<QVariant>* r = rowValues(row);
    if (!r)
        return {};
    const QVariant& v = (*r)[static_cast<size_t>(index.column())];
    if (role == RawValueRole)
        return v;
    if (field == kPurchasePrice && !m_purchasePricesVisible)
        return {};
    if (isAmount(field))
        return v.isNull() ? QString() : core::formatAmount(v.toDouble());
    if (field == QLatin1String("SazbaDPH"))
        return v.isNull() ? QString() : QString::number(v.toDouble());
    return v.toString();
}

QVariant CatalogueItemsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= fields().size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return fields().at(section);
}

std::optional<int> CatalogueItemsModel::quickFind(const QString& text) const {
    if (text.isEmpty() || ids().empty())
        return std::nullopt;
    if (isText(fieldNamed(m_sortField)))
        if (const auto found = findByRange(text))
            return found;
    return findByScan(text);
}

// The rows from the text on in the Czech order, read through the index of the sort field; the
// first of them that starts with the text. Upper and lower case sort together, so the search
// starts from whichever form of the text sorts first.
std::optional<int> CatalogueItemsModel::findByRange(const QString& text) const {
    const QString field = fieldNamed(m_sortField);
    const QString lower = text.toLower();
    const QString upper = text.toUpper();
    const QString from = core::compareCzech(upper, lower) < 0 ? upper : lower;
    QSqlQuery q = db().select(
        QStringLiteral("SELECT ID, ") + field + QStringLiteral(" FROM Zasoby WHERE ") +
            ownerColumn() + QStringLiteral(" = :Owner AND ") + field +
            QStringLiteral(" >= :From COLLATE CZECH") + m_filter.andClause() +
            QStringLiteral(" ORDER BY ") + orderBy() + QStringLiteral(" LIMIT 200"),
        withFilter({{QStringLiteral("Owner"), m_ownerId}, {QStringLiteral("From"), from}}));
    while (q.next()) {
        if (q.value(1).toString().startsWith(text, Qt::CaseInsensitive))
            return rowOfId(q.value(0).toLongLong());
    }
    return std::nullopt;
}

// Every row whose value starts with the text, letter case ignored in every alphabet (the Czech
// find function, not the engine's LIKE, which folds only English letters), checked here once
// more; the one shown first wins. Used for numbers and where the range gives nothing, as for a
// "c" that only "ch" words start with, which sort after "h".
std::optional<int> CatalogueItemsModel::findByScan(const QString& text) const {
    const QString field = fieldNamed(m_sortField);
    QSqlQuery q = db().select(
        QStringLiteral("SELECT ID, ") + field + QStringLiteral(" FROM Zasoby WHERE ") +
            ownerColumn() + QStringLiteral(" = :Owner AND CZECH_FIND(CAST(") + field +
            QStringLiteral(" AS TEXT), :Text) = 1") + m_filter.andClause(),
        withFilter({{QStringLiteral("Owner"), m_ownerId}, {QStringLiteral("Text"), text}}));
    std::optional<int> best;
    while (q.next()) {
        if (!textOf(q.value(1)).startsWith(text, Qt::CaseInsensitive))
            continue;
        const auto row = rowOfId(q.value(0).toLongLong());
        if (row && (!best || *row < *best))
            best = row;
    }
    return best;
}

void CatalogueItemsModel::setPurchasePricesVisible(bool visible) {
    if (m_purchasePricesVisible == visible)
        return;
    m_purchasePricesVisible = visible;
    const int column = static_cast<int>(fields().indexOf(kPurchasePrice));
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, column), index(rowCount() - 1, column));
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

} // namespace orvento::catalogue
