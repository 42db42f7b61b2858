#include "core/RowBlockModel.h"

#include <algorithm>

namespace orvento::core {

RowBlockModel::RowBlockModel(Database& db, QString table, QStringList columns, int markedRole,
                             QObject* parent)
    : QAbstractTableModel(parent)
    , m_db(db)
    , m_table(std::move(table))
    , m_columns(std::move(columns))
    , m_markedRole(markedRole) {}

RowBlockModel::~RowBlockModel() = default;

bool RowBlockModel::resetIds(const QString& sql, const SqlParams& params,
                             const std::function<void(const QSqlQuery&)>& eachRow) {
    beginResetModel();
    m_blocks.clear();
    m_blockUse.clear();
    m_ids.clear();
    m_rowOfId.clear();
    bool ok = true;
    if (!sql.isEmpty()) {
        QSqlQuery q = m_db.select(sql, params);
        ok = q.isActive();
        while (ok && q.next()) {
            const qint64 id = q.value(0).toLongLong();
            m_rowOfId.emplace(id, static_cast<int>(m_ids.size()));
            m_ids.push_back(id);
            if (eachRow)
                eachRow(q);
        }
    }
    endResetModel();
    return ok;
}

void RowBlockModel::dropMarksNotShown() {
    std::erase_if(m_marks, [this](qint64 id) { return !m_rowOfId.contains(id); });
    m_markedSet = {m_marks.begin(), m_marks.end()};
}

qint64 RowBlockModel::idAt(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= m_ids.size())
        return -1;
    return m_ids[static_cast<size_t>(row)];
}

std::optional<int> RowBlockModel::rowOfId(qint64 id) const {
    const auto it = m_rowOfId.find(id);
    if (it == m_rowOfId.end())
        return std::nullopt;
    return it->second;
}

const RowBlockModel::Block* RowBlockModel::block(int number) const {
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
        // Table and column names come from the subclass's fixed lists, never from input.
        QString sql = QStringLiteral("SELECT ID, ") + m_columns.join(QStringLiteral(", ")) +
                      QStringLiteral(" FROM ") + m_table + QStringLiteral(" WHERE ID IN (");
        for (int i = 0; i < kBlockRows; ++i)
            sql += (i ? QStringLiteral(", :I") : QStringLiteral(":I")) + QString::number(i);
        m_blockQuery = std::make_unique<Statement>(m_db, sql + QLatin1Char(')'));
    }
    // A short last block asks for the ID -1 in the places it does not fill.
    SqlParams params;
    for (size_t i = 0; i < static_cast<size_t>(kBlockRows); ++i)
        params.emplace_back(QStringLiteral("I") + QString::number(i),
                            first + i < last ? m_ids[first + i] : qint64(-1));
    std::unordered_map<qint64, std::vector<QVariant>> byId;
    Statement& q = *m_blockQuery;
    q.exec(params);
    const int width = static_cast<int>(m_columns.size());
    while (q.next()) {
        std::vector<QVariant> values;
        values.reserve(static_cast<size_t>(width));
        for (int c = 0; c < width; ++c)
            values.push_back(q.value(c + 1));
        byId.emplace(q.value(0).toLongLong(), std::move(values));
    }
    q.finish();
    Block rows(last - first);
    for (size_t i = first; i < last; ++i) {
        // A row deleted elsewhere since the IDs were read stays empty until the next reload.
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

const std::vector<QVariant>* RowBlockModel::rowValues(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= m_ids.size())
        return nullptr;
    const Block* b = block(row / kBlockRows);
    if (!b)
        return nullptr;
    const std::vector<QVariant>& r = (*b)[static_cast<size_t>(row % kBlockRows)];
    return r.empty() ? nullptr : &r;
}

int RowBlockModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_ids.size());
}

void RowBlockModel::setMarked(int row, bool marked) {
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
    Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1), {m_markedRole});
}

void RowBlockModel::markAll() {
    m_marks = m_ids;
    m_markedSet = {m_ids.begin(), m_ids.end()};
    if (!m_ids.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {m_markedRole});
}

void RowBlockModel::clearMarks() {
    const bool had = !m_marks.empty();
    m_marks.clear();
    m_markedSet.clear();
    if (had && !m_ids.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {m_markedRole});
}

std::vector<qint64> RowBlockModel::marksInListOrder() const {
    std::vector<qint64> ordered;
    ordered.reserve(m_marks.size());
    for (const qint64 id : m_ids)
        if (m_markedSet.contains(id))
            ordered.push_back(id);
    return ordered;
}

} // namespace orvento::core
