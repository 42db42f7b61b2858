#include "addressbook/PostCodeList.h"

#include "core/CzechCollation.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/ProgressScope.h"
#include "core/UserInteraction.h"
#include "services/RecordLock.h"
#include "services/RecordRefresh.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace orvento::addressbook {

namespace {

const QString kMista = QStringLiteral("Mista");

QString sortKeyOf(const PostCodeRow& row, const QString& field) {
    return field == QLatin1String(kSortByMisto) ? row.misto : row.psc;
}

} // namespace

QString normalisedPostCode(const QString& typed) {
    QString psc = typed.trimmed();
    psc.remove(QLatin1Char(' '));
    return psc;
}

QString placeOfPostCode(core::Database& global, const QString& psc) {
    const auto place =
        global.scalar(QStringLiteral("SELECT Misto FROM Mista WHERE PSC = :PSC ORDER BY ID"),
                      {{QStringLiteral("PSC"), normalisedPostCode(psc)}});
    return place ? place->toString() : QString();
}

PostCodeList::PostCodeList(core::Database& global, core::UserInteraction& ui, Mode mode)
    : m_db(global)
    , m_ui(ui)
    , m_mode(mode) {}

bool PostCodeList::open() {
    const core::ProgressScope wait(m_ui, QStringLiteral("Načítám seznam PSČ\nprosím čekejte..."), 0,
                                   false);
    const core::ProgramState& state = core::programState();
    m_sortField = state.postCodeSortField.toUpper();
    if (m_sortField != QLatin1String(kSortByPsc) && m_sortField != QLatin1String(kSortByMisto))
        m_sortField.clear();
    const bool ok = read();
    m_current = indexOf(state.postCodeListId);
    if (!m_current && !m_rows.empty())
        m_current = 0;
    return ok;
}

void PostCodeList::close() {
    core::ProgramState& state = core::programState();
    if (const PostCodeRow* row = currentRow())
        state.postCodeListId = row->id;
    state.postCodeSortField = m_sortField.toUpper();
}

const PostCodeRow* PostCodeList::currentRow() const {
    return m_current && *m_current < m_rows.size() ? &m_rows[*m_current] : nullptr;
}

void PostCodeList::setCurrent(std::optional<std::size_t> index) {
    m_current = index && *index < m_rows.size() ? index : std::nullopt;
}

void PostCodeList::sortBy(const QString& field) {
    const QString upper = field.toUpper();
    if (upper != QLatin1String(kSortByPsc) && upper != QLatin1String(kSortByMisto))
        return;
    const std::optional<qint64> id =
        currentRow() ? std::optional<qint64>(currentRow()->id) : std::nullopt;
    m_sortField = upper;
    sortRows();
    m_current = id ? indexOf(*id) : std::nullopt;
}

std::optional<std::size_t> PostCodeList::quickFind(const QString& text) const {
    if (text.isEmpty())
        return std::nullopt;
    const QString field = m_sortField.isEmpty() ? QString::fromLatin1(kSortByPsc) : m_sortField;
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        if (sortKeyOf(m_rows[i], field).startsWith(text, Qt::CaseInsensitive))
            return i;
    return std::nullopt;
}

bool PostCodeList::read() {
    QSqlQuery query = m_db.select(QStringLiteral("SELECT * FROM Mista"));
    if (!query.isActive())
        return false;
    m_rows.clear();
    // The whole Czech list has some 16,600 rows: the columns are found once, not per row.
    const QSqlRecord columns = query.record();
    const int idColumn = columns.indexOf(QStringLiteral("ID"));
    const int pscColumn = columns.indexOf(QStringLiteral("PSC"));
    const int mistoColumn = columns.indexOf(QStringLiteral("Misto"));
    while (query.next())
        m_rows.push_back({query.value(idColumn).toLongLong(), query.value(pscColumn).toString(),
                          query.value(mistoColumn).toString()});
    sortRows();
    return true;
}

void PostCodeList::sortRows() {
    if (m_sortField.isEmpty())
        return;
    const QString field = m_sortField;
    std::stable_sort(m_rows.begin(), m_rows.end(),
                     [&field](const PostCodeRow& a, const PostCodeRow& b) {
                         return core::compareCzech(sortKeyOf(a, field), sortKeyOf(b, field)) < 0;
                     });
}

std::optional<std::size_t> PostCodeList::indexOf(qint64 id) const {
    const auto it = std::find_if(m_rows.begin(), m_rows.end(),
                                 [id](const PostCodeRow& row) { return row.id == id; });
    if (it == m_rows.end())
        return std::nullopt;
    return static_cast<std::size_t>(it - m_rows.begin());
}

bool PostCodeList::refreshAndLocate(std::optional<qint64> id) {
    const std::size_t was = m_current.value_or(0);
    if (!read())
        return false;
    if (id) {
        m_current = indexOf(*id);
        if (m_current)
            return true;
    }
    m_current = m_rows.empty() ? std::nullopt
                               : std::optional<std::size_t>(std::min(was, m_rows.size() - 1));
    return !id;
}

bool PostCodeList::refresh() {
    const PostCodeRow* row = currentRow();
    return refreshAndLocate(row ? std::optional<qint64>(row->id) : std::nullopt);
}

bool PostCodeList::removeCurrent() {
    const PostCodeRow* row = currentRow();
    if (!row)
        return false;
    const qint64 id = row->id;
    if (!refreshAndLocate(id)) {
        m_ui.warning(services::recordGoneMessage());
        return false;
    }
    if (!services::mayDeleteRecord(kMista, id, m_ui, services::LockScope::Global))
        return false;
    // The row after the deleted one, or the one before when the last row goes.
    std::optional<qint64> neighbour;
    if (*m_current + 1 < m_rows.size())
        neighbour = m_rows[*m_current + 1].id;
    else if (*m_current > 0)
        neighbour = m_rows[*m_current - 1].id;
    if (!m_db.execute(QStringLiteral("DELETE FROM Mista WHERE ID = :ID"),
                      {{QStringLiteral("ID"), id}})) {
        m_ui.error(core::saveFailedMessage());
        return false;
    }
    refreshAndLocate(neighbour);
    return true;
}

} // namespace orvento::addressbook
