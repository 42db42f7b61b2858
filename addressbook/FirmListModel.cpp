#include "addressbook/FirmListModel.h"

#include "core/Database.h"

#include <QSqlQuery>

#include <algorithm>

namespace orvento::addressbook {

namespace {

// The grid field named by a stored sort field, or nothing.
QString fieldNamed(const QString& sortField) {
    for (const QString& f : FirmListModel::fields())
        if (f.compare(sortField.trimmed(), Qt::CaseInsensitive) == 0)
            return f;
    return {};
}

} // namespace

FirmListModel::FirmListModel(core::Database& db, QObject* parent)
    : QAbstractTableModel(parent)
    , m_db(db) {}

FirmListModel::~FirmListModel() = default;

const QStringList& FirmListModel::fields() {
    static const QStringList list = {
        QStringLiteral("Nazev"),   QStringLiteral("Ulice"), QStringLiteral("Misto"),
        QStringLiteral("Psc"),     QStringLiteral("Stat"),  QStringLiteral("ICO"),
        QStringLiteral("Telefon"), QStringLiteral("Fax"),   QStringLiteral("Email"),
        QStringLiteral("WWW"),     QStringLiteral("EANKod")};
    return list;
}

bool FirmListModel::isSortable(const QString& field) {
    static const QStringList sortable = {QStringLiteral("NAZEV"), QStringLiteral("ULICE"),
                                         QStringLiteral("MISTO"), QStringLiteral("PSC"),
                                         QStringLiteral("ICO"),   QStringLiteral("EMAIL"),
                                         QStringLiteral("EANKOD")};
    return sortable.contains(field.trimmed().toUpper());
}

QString FirmListModel::normalisedSortField(const QString& field) {
    return isSortable(field) ? field.trimmed().toUpper() : QStringLiteral("NAZEV");
}

bool FirmListModel::read() {
    m_ids.clear();
    m_keys.clear();
    m_rowOfId.clear();
    m_blocks.clear();
    m_blockUse.clear();
    const QString field = fieldNamed(m_sortField);
    m_sortColumn = static_cast<int>(fields().indexOf(field));
    // Names of columns come from the fixed list above, never from what was typed.
    QSqlQuery q = m_db.select(QStringLiteral("SELECT ID, ") + field +
                              QStringLiteral(" FROM Adresar ORDER BY ") + field +
                              QStringLiteral(" COLLATE CZECH, ID"));
    if (!q.isActive())
        return false;
    while (q.next()) {
        const qint64 id = q.value(0).toLongLong();
        m_rowOfId.emplace(id, static_cast<int>(m_ids.size()));
        m_ids.push_back(id);
        m_keys.push_back(q.value(1).toString());
    }
    // Marks of firms that are gone (deleted elsewhere) name nothing any more.
    std::erase_if(m_marks, [this](qint64 id) { return !m_rowOfId.contains(id); });
    m_markedSet = {m_marks.begin(), m_marks.end()};
    return true;
}

const FirmListModel::Block& FirmListModel::block(int number) const {
    if (const auto it = m_blocks.find(number); it != m_blocks.end()) {
        m_blockUse.remove(number);
        m_blockUse.push_front(number);
        return it->second;
    }
    const size_t first = static_cast<size_t>(number) * kBlockRows;
    const size_t last = std::min(m_ids.size(), first + kBlockRows);
    if (!m_blockQuery) {
        QString sql = QStringLiteral("SELECT ID, ") + fields().join(QStringLiteral(", ")) +
                      QStringLiteral(" FROM Adresar WHERE ID IN (");
        for (int i = 0; i < kBlockRows; ++i)
            sql += (i ? QStringLiteral(", :I") : QStringLiteral(":I")) + QString::number(i);
        m_blockQuery = std::make_unique<core::Statement>(m_db, sql + QLatin1Char(')'));
    }
    // A short last block asks for the ID -1 in the places it does not fill.
    core::SqlParams params;
    for (size_t i = 0; i < static_cast<size_t>(kBlockRows); ++i)
        params.emplace_back(QStringLiteral("I") + QString::number(i),
                            first + i < last ? m_ids[first + i] : qint64(-1));
    std::unordered_map<qint64, QStringList> byId;
    core::Statement& q = *m_blockQuery;
    q.exec(params);
    const int width = static_cast<int>(fields().size());
    while (q.next()) {
        QStringList row;
        row.reserve(width);
        for (int c = 1; c <= width; ++c)
            row << q.value(c).toString();
        byId.emplace(q.value(0).toLongLong(), std::move(row));
    }
    q.finish();
    Block rows(last > first ? last - first : 0);
    for (size_t i = first; i < last; ++i) {
        // A firm deleted elsewhere since the IDs were read stays an empty row until the next
        // reload.
        if (auto it = byId.find(m_ids[i]); it != byId.end())
            rows[i - first] = std::move(it->second);
    }
    while (m_blocks.size() >= kMaxBlocks && !m_blockUse.empty()) {
        m_blocks.erase(m_blockUse.back());
        m_blockUse.pop_back();
    }
    m_blockUse.push_front(number);
    return m_blocks.emplace(number, std::move(rows)).first->second;
}

const QStringList* FirmListModel::rowAt(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= m_ids.size())
        return nullptr;
    const Block& b = block(row / kBlockRows);
    const QStringList& r = b[static_cast<size_t>(row % kBlockRows)];
    return r.isEmpty() ? nullptr : &r;
}

bool FirmListModel::load(const QString& sortField) {
    beginResetModel();
    m_sortField = normalisedSortField(sortField);
    const bool ok = read();
    endResetModel();
    return ok;
}

bool FirmListModel::reload() {
    return load(m_sortField);
}

bool FirmListModel::sortBy(const QString& field) {
    if (!isSortable(field))
        return false;
    return load(field);
}

qint64 FirmListModel::idAt(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= m_ids.size())
        return -1;
    return m_ids[static_cast<size_t>(row)];
}

std::optional<int> FirmListModel::rowOfId(qint64 id) const {
    const auto it = m_rowOfId.find(id);
    if (it == m_rowOfId.end())
        return std::nullopt;
    return it->second;
}

QString FirmListModel::value(int row, const QString& field) const {
    const QStringList* r = rowAt(row);
    const qsizetype column = fields().indexOf(fieldNamed(field));
    return !r || column < 0 ? QString() : r->at(column);
}

std::optional<int> FirmListModel::quickFind(const QString& text) const {
    if (text.isEmpty() || m_sortColumn < 0)
        return std::nullopt;
    for (size_t row = 0; row < m_keys.size(); ++row)
        if (m_keys[row].startsWith(text, Qt::CaseInsensitive))
            return static_cast<int>(row);
    return std::nullopt;
}

void FirmListModel::setMarked(int row, bool marked) {
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

void FirmListModel::markAll() {
    m_marks = m_ids;
    m_markedSet = {m_ids.begin(), m_ids.end()};
    if (!m_ids.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {MarkedRole});
}

void FirmListModel::clearMarks() {
    const bool had = !m_marks.empty();
    m_marks.clear();
    m_markedSet.clear();
    if (had && !m_ids.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {MarkedRole});
}

int FirmListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_ids.size());
}

int FirmListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(fields().size());
}

QVariant FirmListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    switch (role) {
    case IdRole:
        return idAt(index.row());
    case MarkedRole:
        return isMarked(idAt(index.row()));
    case Qt::DisplayRole: {
        const QStringList* r = rowAt(index.row());
        return r ? r->at(index.column()) : QVariant();
    }
    default:
        return {};
    }
}

QVariant FirmListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= fields().size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return fields().at(section);
}

} // namespace orvento::addressbook
