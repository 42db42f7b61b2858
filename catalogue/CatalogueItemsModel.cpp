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

QString likePattern(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    escaped.replace(QLatin1String("%"), QLatin1String("\\%"));
    escaped.replace(QLatin1String("_"), QLatin1String("\\_"));
    return escaped + QLatin1Char('%');
}

QString textOf(const QVariant& value) {
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble());
    return value.toString();
}

} // namespace

CatalogueItemsModel::CatalogueItemsModel(core::Database& db, QObject* parent)
    : QAbstractTableModel(parent)
    , m_db(db) {}

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
    const QString field = fieldNamed(m_sortField);
    // The ID breaks ties, so that the order is the same every time it is read.
    return isText(field) ? field + QStringLiteral(" COLLATE CZECH, ID")
                         : field + QStringLiteral(", ID");
}

bool CatalogueItemsModel::readIds() {
    m_ids.clear();
    if (m_scope == Scope::Nothing)
        return true;
    // Names of columns come from the fixed list above, never from what was typed.
    QSqlQuery q = m_db.select(QStringLiteral("SELECT ID FROM Zasoby WHERE ") + ownerColumn() +
                                  QStringLiteral(" = :Owner ORDER BY ") + orderBy(),
                              {{QStringLiteral("Owner"), m_ownerId}});
    if (!q.isActive())
        return false;
    while (q.next())
        m_ids.push_back(q.value(0).toLongLong());
    return true;
}

bool CatalogueItemsModel::load(Scope scope, qint64 ownerId, const QString& sortField) {
    beginResetModel();
    m_scope = scope;
    m_ownerId = ownerId;
    m_sortField = normalisedSortField(sortField);
    dropCache();
    const bool ok = readIds();
    endResetModel();
    return ok;
}

void CatalogueItemsModel::clear() {
    load(Scope::Nothing, 0, m_sortField);
}

bool CatalogueItemsModel::reload() {
    beginResetModel();
    dropCache();
    const bool ok = readIds();
    endResetModel();
    return ok;
}

bool CatalogueItemsModel::sortBy(const QString& field) {
    if (!isSortable(field))
        return false;
    m_sortField = normalisedSortField(field);
    return reload();
}

void CatalogueItemsModel::dropCache() {
    m_blocks.clear();
    m_blockUse.clear();
}

qint64 CatalogueItemsModel::idAt(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= m_ids.size())
        return -1;
    return m_ids[static_cast<size_t>(row)];
}

std::optional<int> CatalogueItemsModel::rowOfId(qint64 id) const {
    const auto it = std::find(m_ids.begin(), m_ids.end(), id);
    if (it == m_ids.end())
        return std::nullopt;
    return static_cast<int>(it - m_ids.begin());
}

const CatalogueItemsModel::Block* CatalogueItemsModel::block(int number) const {
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
                      QStringLiteral(", Chyba FROM Zasoby WHERE ID IN (");
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
        // An item deleted elsewhere since the IDs were read stays as an empty row until the
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

const CatalogueItemsModel::Row* CatalogueItemsModel::rowAt(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= m_ids.size())
        return nullptr;
    const Block* b = block(row / kBlockRows);
    if (!b)
        return nullptr;
    const Row& r = (*b)[static_cast<size_t>(row % kBlockRows)];
    return r.values.empty() ? nullptr : &r;
}

QVariant CatalogueItemsModel::value(int row, const QString& field) const {
    const Row* r = rowAt(row);
    if (!r)
        return {};
    if (field.compare(QLatin1String("Chyba"), Qt::CaseInsensitive) == 0)
        return r->values.back();
    const qsizetype column = fields().indexOf(fieldNamed(field));
    return column < 0 ? QVariant() : r->values[static_cast<size_t>(column)];
}

int CatalogueItemsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_ids.size());
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
        const Row* r = rowAt(row);
        return r ? r->values.back().toBool() : false;
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
    const Row* r = rowAt(row);
    if (!r)
        return {};
    const QVariant& v = r->values[static_cast<size_t>(index.column())];
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
    if (text.isEmpty() || m_ids.empty())
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
    QSqlQuery q =
        m_db.select(QStringLiteral("SELECT ID, ") + field + QStringLiteral(" FROM Zasoby WHERE ") +
                        ownerColumn() + QStringLiteral(" = :Owner AND ") + field +
                        QStringLiteral(" >= :From COLLATE CZECH ORDER BY ") + orderBy() +
                        QStringLiteral(" LIMIT 200"),
                    {{QStringLiteral("Owner"), m_ownerId}, {QStringLiteral("From"), from}});
    while (q.next()) {
        if (q.value(1).toString().startsWith(text, Qt::CaseInsensitive))
            return rowOfId(q.value(0).toLongLong());
    }
    return std::nullopt;
}

// Every row whose value starts with the text as far as SQL can tell (LIKE folds only the letters
// of the English alphabet, so every case form of the text is asked for), checked here; the one
// shown first wins. Used for numbers and where the range gives nothing, as for a "c" that only
// "ch" words start with, which sort after "h".
std::optional<int> CatalogueItemsModel::findByScan(const QString& text) const {
    const QString field = fieldNamed(m_sortField);
    QStringList forms = {text, text.toLower(), text.toUpper()};
    forms.removeDuplicates();
    QString condition;
    core::SqlParams params = {{QStringLiteral("Owner"), m_ownerId}};
    for (int i = 0; i < forms.size(); ++i) {
        const QString name = QStringLiteral("P%1").arg(i);
        condition += (i ? QStringLiteral(" OR ") : QString()) + QStringLiteral("CAST(") + field +
                     QStringLiteral(" AS TEXT) LIKE :") + name + QStringLiteral(" ESCAPE '\\'");
        params.emplace_back(name, likePattern(forms.at(i)));
    }
    QSqlQuery q = m_db.select(QStringLiteral("SELECT ID, ") + field +
                                  QStringLiteral(" FROM Zasoby WHERE ") + ownerColumn() +
                                  QStringLiteral(" = :Owner AND (") + condition + QLatin1Char(')'),
                              params);
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

void CatalogueItemsModel::setMarked(int row, bool marked) {
    const qint64 id = idAt(row);
    if (id < 0 || isMarked(id) == marked)
        return;
    if (marked) {
        m_marks.push_back(id);
        m_markedSet.insert(id);
    } else {
        m_marks.erase(std::remove(m_marks.begin(), m_marks.end(), id), m_marks.end());
        m_markedSet.erase(id);
    }
    Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1), {MarkedRole});
}

void CatalogueItemsModel::markAll() {
    m_marks = m_ids;
    m_markedSet = {m_ids.begin(), m_ids.end()};
    if (!m_ids.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {MarkedRole});
}

void CatalogueItemsModel::clearMarks() {
    const bool had = !m_marks.empty();
    m_marks.clear();
    m_markedSet.clear();
    if (had && !m_ids.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {MarkedRole});
}

void CatalogueItemsModel::setPurchasePricesVisible(bool visible) {
    if (m_purchasePricesVisible == visible)
        return;
    m_purchasePricesVisible = visible;
    const int column = static_cast<int>(fields().indexOf(kPurchasePrice));
    if (!m_ids.empty())
        Q_EMIT dataChanged(index(0, column), index(rowCount() - 1, column));
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

} // namespace orvento::catalogue
