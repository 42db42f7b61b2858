#include "offers/OfferListModel.h"

#include "core/AmountFormat.h"
#include "core/Database.h"
#include "offers/OfferStates.h"

#include <algorithm>

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

OfferListModel::OfferListModel(core::Database& db, QObject* parent)
    : QAbstractTableModel(parent)
    , m_db(db) {}

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
    return field + QStringLiteral(", ID");
}

bool OfferListModel::readIds() {
    m_ids.clear();
    const SqlCondition c = shownCondition();
    // Column names come from the fixed list above; every value is bound.
    QSqlQuery q = m_db.select(QStringLiteral("SELECT ID FROM Nabidky") + withWhere(c) +
                                  QStringLiteral(" ORDER BY ") + orderBy(),
                              c.params);
    if (!q.isActive())
        return false;
    while (q.next())
        m_ids.push_back(q.value(0).toLongLong());
    return true;
}

bool OfferListModel::reload() {
    beginResetModel();
    dropCache();
    const bool ok = readIds();
    // Marks of offers no longer shown go with them.
    const std::unordered_set<qint64> shown(m_ids.begin(), m_ids.end());
    std::erase_if(m_marks, [&](qint64 id) { return !shown.contains(id); });
    m_markedSet = {m_marks.begin(), m_marks.end()};
    endResetModel();
    return ok;
}

bool OfferListModel::sortBy(const QString& field) {
    if (!isSortable(field))
        return false;
    m_sortField = normalisedSortField(field);
    return reload();
}

void OfferListModel::dropCache() {
    m_blocks.clear();
    m_blockUse.clear();
}

qint64 OfferListModel::idAt(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= m_ids.size())
        return -1;
    return m_ids[static_cast<size_t>(row)];
}

std::optional<int> OfferListModel::rowOfId(qint64 id) const {
    const auto it = std::find(m_ids.begin(), m_ids.end(), id);
    if (it == m_ids.end())
        return std::nullopt;
    return static_cast<int>(it - m_ids.begin());
}

const OfferListModel::Block* OfferListModel::block(int number) const {
    if (const auto it = m_blocks.find(number); it != m_blocks.end()) {
        m_blockUse.remove(number);
        m_blockUse.push_front(number);
        return &it->second;
    }
    const size_t first = static_cast<size_t>(number) * kBlockRows;
    const size_t last = std::min(m_ids.size(), first + kBlockRows);
    if (first >= last)
        return nullptr;
    if (!m_blockQuery) {
        QString sql = QStringLiteral("SELECT ID, ") + fields().join(QStringLiteral(", ")) +
                      QStringLiteral(", IDStav FROM Nabidky WHERE ID IN (");
        for (int i = 0; i < kBlockRows; ++i)
            sql += (i ? QStringLiteral(", :I") : QStringLiteral(":I")) + QString::number(i);
        m_blockQuery = std::make_unique<core::Statement>(m_db, sql + QLatin1Char(')'));
    }
    // A short last block asks for the ID -1 in the places it does not fill.
    core::SqlParams params;
    for (size_t i = 0; i < static_cast<size_t>(kBlockRows); ++i)
        params.emplace_back(QStringLiteral("I") + QString::number(i),
                            first + i < last ? m_ids[first + i] : qint64(-1));
    std::unordered_map<qint64, Row> byId;
    core::Statement& q = *m_blockQuery;
    q.exec(params);
    const int width = static_cast<int>(fields().size()) + 1;
    while (q.next()) {
        Row row;
        row.values.reserve(static_cast<size_t>(width));
        for (int c = 0; c < width; ++c)
            row.values.push_back(q.value(c + 1));
        byId.emplace(q.value(0).toLongLong(), std::move(row));
    }
    q.finish();
    Block rows(last - first);
    for (size_t i = first; i < last; ++i) {
        // An offer deleted elsewhere since the IDs were read stays as an empty row until the
        // next reload.
        if (auto it = byId.find(m_ids[i]); it != byId.end())
            rows[i - first] = std::move(it->second);
    }
    while (m_blocks.size() >= kMaxBlocks && !m_blockUse.empty()) {
        m_blocks.erase(m_blockUse.back());
        m_blockUse.pop_back();
    }
    m_blockUse.push_front(number);
    return &m_blocks.emplace(number, std::move(rows)).first->second;
}

const OfferListModel::Row* OfferListModel::rowAt(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= m_ids.size())
        return nullptr;
    const Block* b = block(row / kBlockRows);
    if (!b)
        return nullptr;
    const Row& r = (*b)[static_cast<size_t>(row % kBlockRows)];
    return r.values.empty() ? nullptr : &r;
}

QVariant OfferListModel::value(int row, const QString& field) const {
    const Row* r = rowAt(row);
    if (!r)
        return {};
    if (field.compare(QLatin1String("IDStav"), Qt::CaseInsensitive) == 0)
        return r->values.back();
    const qsizetype column = fields().indexOf(fieldNamed(field));
    return column < 0 ? QVariant() : r->values[static_cast<size_t>(column)];
}

bool OfferListModel::isExpired(const Row& row) const {
    const int state = row.values.back().toInt();
    if (isSettledState(state))
        return false;
    const QDateTime valid = core::Database::toDateTime(row.values[4]);
    return valid.isValid() && valid.date() < m_today;
}

int OfferListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_ids.size());
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
    const Row* r = rowAt(row);
    if (!r)
        return {};
    if (role == StateRole)
        return r->values.back().toInt();
    if (role == ExpiredRole)
        return isExpired(*r);
    const QVariant& v = r->values[static_cast<size_t>(index.column())];
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
    if (text.isEmpty() || m_ids.empty() || field.isEmpty())
        return std::nullopt;
    // The value as the grid shows it: dates as dd.mm.yyyy, amounts as plain numbers (a typed
    // decimal comma counts as the point, blanks between thousands are left out).
    QString shown = field;
    QString typed = text;
    if (isDate(field)) {
        shown = QStringLiteral("substr(%1, 9, 2) || '.' || substr(%1, 6, 2) || '.' || "
                               "substr(%1, 1, 4)")
                    .arg(field);
    } else if (isAmount(field)) {
        shown = QStringLiteral("CAST(%1 AS TEXT)").arg(field);
        typed.replace(QLatin1Char(','), QLatin1Char('.'));
        typed.remove(QLatin1Char(' '));
    }
    SqlCondition c = shownCondition();
    c.add(QStringLiteral("CZECH_FIND(") + shown + QStringLiteral(", :Hledat) = 1"),
          {{QStringLiteral("Hledat"), typed}});
    QSqlQuery q =
        m_db.select(QStringLiteral("SELECT ID FROM Nabidky") + withWhere(c) +
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
    if (!m_ids.empty())
        Q_EMIT dataChanged(index(0, column), index(rowCount() - 1, column));
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

void OfferListModel::setMarked(int row, bool marked) {
    const qint64 id = idAt(row);
    if (id < 0 || isMarked(id) == marked)
        return;
    if (marked) {
        m_marks.push_back(id);
        m_markedSet.insert(id);
    } else {
        std::erase(m_marks, id);
        m_markedSet.erase(id);
    }
    Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1), {MarkedRole});
}

void OfferListModel::markAll() {
    m_marks = m_ids;
    m_markedSet = {m_ids.begin(), m_ids.end()};
    if (!m_ids.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {MarkedRole});
}

void OfferListModel::clearMarks() {
    const bool had = !m_marks.empty();
    m_marks.clear();
    m_markedSet.clear();
    if (had && !m_ids.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {MarkedRole});
}

std::vector<qint64> OfferListModel::marksInListOrder() const {
    std::vector<qint64> ordered;
    ordered.reserve(m_marks.size());
    for (const qint64 id : m_ids)
        if (m_markedSet.contains(id))
            ordered.push_back(id);
    return ordered;
}

} // namespace orvento::offers
