#include "offers/OfferListModel.h"

#include "core/AmountFormat.h"
#include "core/Database.h"
#include "offers/OfferStates.h"

namespace orvento::offers {

namespace {

bool isAmount(const QString& field) {
    return field == QLatin1String("CelkemBDPH") || field == QLatin1String("Celkem") ||
           field == QLatin1String("Zisk");
}

bool isDate(const QString& field) {
    return field == QLatin1String("DatVystaveni") || field == QLatin1String("DatPlatnosti");
}

// The grid field named by a stored sort field, or nothing.
QString fieldNamed(const QString& sortField) {
    for (const QString& f : OfferListModel::fields())
        if (f.compare(sortField.trimmed(), Qt::CaseInsensitive) == 0)
            return f;
    return {};
}

QString dateText(const QVariant& stored) {
    const QDateTime when = core::Database::toDateTime(stored);
    return when.isValid() ? when.date().toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

QString withWhere(const SqlCondition& condition) {
    return condition.where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condition.where;
}

} // namespace

namespace {

QStringList readColumns() {
    QStringList columns = OfferListModel::fields();
    columns << QStringLiteral("IDStav");
    return columns;
}

} // namespace

OfferListModel::OfferListModel(core::Database& db, QObject* parent)
    : core::RowBlockModel(db, QStringLiteral("Nabidky"), readColumns(), MarkedRole, parent) {}

OfferListModel::~OfferListModel() = default;

const QStringList& OfferListModel::fields() {
    static const QStringList list = {QStringLiteral("Doklad"),       QStringLiteral("AdrNazev"),
                                     QStringLiteral("Popis"),        QStringLiteral("DatVystaveni"),
                                     QStringLiteral("DatPlatnosti"), QStringLiteral("CelkemBDPH"),
                                     QStringLiteral("Celkem"),       QStringLiteral("Zisk"),
                                     QStringLiteral("Zamek"),        QStringLiteral("Vytvoril")};
    return list;
}

bool OfferListModel::isSortable(const QString& field) {
    static const QStringList sortable = {
        QStringLiteral("DOKLAD"),       QStringLiteral("ADRNAZEV"),
        QStringLiteral("DATVYSTAVENI"), QStringLiteral("DATPLATNOSTI"),
        QStringLiteral("CELKEMBDPH"),   QStringLiteral("CELKEM"),
        QStringLiteral("ZISK")};
    return sortable.contains(field.trimmed().toUpper());
}

QString OfferListModel::normalisedSortField(const QString& field) {
    return isSortable(field) ? field.trimmed().toUpper() : QString();
}

SqlCondition OfferListModel::shownCondition() const {
    SqlCondition c = m_visibility;
    if (!m_filter.where.isEmpty())
        c.add(QLatin1Char('(') + m_filter.where + QLatin1Char(')'), m_filter.params);
    return c;
}

QString OfferListModel::orderBy() const {
    const QString field = fieldNamed(m_sortField);
    if (field.isEmpty())
        return QStringLiteral("ID");
    // The ID breaks ties, so that the order is the same every time it is read.
    if (field == QLatin1String("Doklad") || field == QLatin1String("AdrNazev"))
        return field + QStringLiteral(" COLLATE CZECH, ID");
    // An unset date comes first on every engine; a server would put it last by itself.
    if (isDate(field))
        return field + QStringLiteral(" NULLS FIRST, ID");
    return field + QStringLiteral(", ID");
}

bool OfferListModel::reload() {
    const SqlCondition c = shownCondition();
    // Column names come from the fixed list above; every value is bound.
    const bool ok = resetIds(QStringLiteral("SELECT ID FROM Nabidky") + withWhere(c) +
                                 QStringLiteral(" ORDER BY ") + orderBy(),
                             c.params);
    dropMarksNotShown();
    return ok;
}

bool OfferListModel::sortBy(const QString& field) {
    if (!isSortable(field))
        return false;
    m_sortField = normalisedSortField(field);
    return reload();
}

QVariant OfferListModel::value(int row, const QString& field) const {
    const std::vector<QVariant>* r = rowValues(row);
    if (!r)
        return {};
    if (field.compare(QLatin1String("IDStav"), Qt::CaseInsensitive) == 0)
        return r->back();
    const qsizetype column = fields().indexOf(fieldNamed(field));
    return column < 0 ? QVariant() : (*r)[static_cast<size_t>(column)];
}

bool OfferListModel::isExpired(const std::vector<QVariant>& row) const {
    const int state = row.back().toInt();
    if (isSettledState(state))
        return false;
    const QDateTime valid = core::Database::toDateTime(row[4]);
    return valid.isValid() && valid.date() < m_today;
}

int OfferListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(fields().size());
}

QVariant OfferListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int row = index.row();
    const QString& field = fields().at(index.column());
    switch (role) {
    case IdRole:
        return idAt(row);
    case MarkedRole:
        return isMarked(idAt(row));
    case Qt::TextAlignmentRole:
        if (isAmount(field))
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        if (field == QLatin1String("Zamek"))
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        return {};
    case StateRole:
    case ExpiredRole:
    case RawValueRole:
    case Qt::DisplayRole:
        break;
    default:
        return {};
    }
    const std::vector<QVariant>* r = rowValues(row);
    if (!r)
        return {};
    if (role == StateRole)
        return r->back().toInt();
    if (role == ExpiredRole)
        return isExpired(*r);
    const QVariant& v = (*r)[static_cast<size_t>(index.column())];
    if (role == RawValueRole)
        return v;
    if (field == QLatin1String("Zisk") && !m_profitVisible)
        return {};
    if (isAmount(field))
        return v.isNull() ? QString() : core::formatAmount(v.toDouble());
    if (isDate(field))
        return dateText(v);
    if (field == QLatin1String("Zamek"))
        return v.toInt() != 0 ? QStringLiteral("×") : QString();
    return v.toString();
}

QVariant OfferListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= fields().size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return fields().at(section);
}

std::optional<int> OfferListModel::quickFind(const QString& text) const {
    const QString field = fieldNamed(m_sortField);
    if (text.isEmpty() || ids().empty() || field.isEmpty())
        return std::nullopt;
    // The value as the grid shows it: dates as dd.mm.yyyy, amounts as "1 234,50".
    QString shown = field;
    QString typed = text;
    if (isDate(field)) {
        shown = QStringLiteral("substr(%1, 9, 2) || '.' || substr(%1, 6, 2) || '.' || "
                               "substr(%1, 1, 4)")
                    .arg(field);
    } else if (isAmount(field)) {
        shown = QStringLiteral("%1(%2)").arg(QLatin1String(core::kAmountTextName), field);
        // A blank that does not break, pasted from elsewhere, is the blank the list shows.
        typed.replace(QChar(0x00A0), QLatin1Char(' '));
    }
    SqlCondition c = shownCondition();
    c.add(QStringLiteral("CZECH_FIND(") + shown + QStringLiteral(", :Hledat) = 1"),
          {{QStringLiteral("Hledat"), typed}});
    QSqlQuery q =
        db().select(QStringLiteral("SELECT ID FROM Nabidky") + withWhere(c) +
                        QStringLiteral(" ORDER BY ") + orderBy() + QStringLiteral(" LIMIT 1"),
                    c.params);
    if (!q.next())
        return std::nullopt;
    return rowOfId(q.value(0).toLongLong());
}

void OfferListModel::setProfitVisible(bool visible) {
    if (m_profitVisible == visible)
        return;
    m_profitVisible = visible;
    const int column = static_cast<int>(fields().indexOf(QStringLiteral("Zisk")));
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, column), index(rowCount() - 1, column));
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

} // namespace orvento::offers
