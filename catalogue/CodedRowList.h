#pragma once

#include "core/CzechCollation.h"
#include "core/Database.h"
#include "core/UserInteraction.h"
#include "services/RecordRefresh.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

namespace orvento::catalogue {

// The columns of a list of coded records, as its grid shows them.
enum class CodedColumn { Zkratka = 0, Popis = 1 };

// The name column of a row. A record that holds its name in another member gives its own
// codedRowName beside it, found by argument-dependent look-up.
template <class Record> const QString& codedRowName(const Record& row) {
    return row.Popis;
}

// The rows of a small list of coded records (price levels, price groups) with its current row:
// reload keeping the current row, locate by ID or code, sorting by a column in Czech order and
// the quick find over it, and the neighbour to move to after a delete.
template <class Record> class CodedRowList {
public:
    using Reader = std::function<std::optional<std::vector<Record>>()>;

    CodedRowList(Reader reader, core::UserInteraction& ui)
        : m_reader(std::move(reader))
        , m_ui(ui) {}

    bool reload() {
        const std::optional<qint64> keep = currentId();
        auto rows = m_reader();
        if (!rows)
            return false;
        m_rows = std::move(*rows);
        sortRows();
        m_current.reset();
        if (!m_rows.empty() && !(keep && locate(*keep)))
            m_current = 0;
        return true;
    }
    const std::vector<Record>& rows() const { return m_rows; }
    bool hasRows() const { return !m_rows.empty(); }
    std::optional<size_t> currentIndex() const { return m_current; }
    void setCurrentIndex(size_t index) {
        if (index < m_rows.size())
            m_current = index;
    }
    const Record* current() const { return m_current ? &m_rows[*m_current] : nullptr; }
    std::optional<qint64> currentId() const {
        if (!m_current || *m_current >= m_rows.size())
            return std::nullopt;
        return m_rows[*m_current].ID;
    }
    bool locate(qint64 id) {
        for (size_t i = 0; i < m_rows.size(); ++i)
            if (m_rows[i].ID == id) {
                m_current = i;
                return true;
            }
        return false;
    }
    // Reload and find the current row again; false after the warning when it is gone.
    bool refreshAndRelocate() {
        const std::optional<qint64> id = currentId();
        if (!id || !reload() || !locate(*id)) {
            m_ui.warning(services::recordGoneMessage());
            reload();
            return false;
        }
        return true;
    }
    // The row after the current one, or the one before when it is the last; -1 with fewer
    // than two rows.
    qint64 neighbourId() const {
        if (!m_current || m_rows.size() < 2)
            return -1;
        return *m_current + 1 < m_rows.size() ? m_rows[*m_current + 1].ID
                                              : m_rows[*m_current - 1].ID;
    }
    CodedColumn sortColumn() const { return m_sort; }
    // A click on a column title: the rows in that column's order, on the same row.
    void sortBy(CodedColumn column) {
        const std::optional<qint64> keep = currentId();
        m_sort = column;
        sortRows();
        if (keep)
            locate(*keep);
    }
    // The quick find: moves to the first row whose sort column starts with the text, ignoring
    // letter case; the row, or nothing (staying put) when none does.
    std::optional<size_t> quickFind(const QString& text) {
        if (text.isEmpty())
            return std::nullopt;
        for (size_t i = 0; i < m_rows.size(); ++i)
            if (sortKey(m_rows[i]).startsWith(text, Qt::CaseInsensitive)) {
                m_current = i;
                return i;
            }
        return std::nullopt;
    }
    // After a card closed: the rows again, on the row it saved when it saved one; a new row
    // that cannot be found again says so.
    void afterCard(std::optional<qint64> savedId) {
        reload();
        if (savedId && !locate(*savedId))
            m_ui.error(core::newRowNotFoundMessage());
    }
    // After a delete: reload and move to the neighbour.
    void reloadAt(qint64 neighbour) {
        reload();
        if (neighbour >= 0)
            locate(neighbour);
    }

private:
    const QString& sortKey(const Record& row) const {
        return m_sort == CodedColumn::Popis ? codedRowName(row) : row.Zkratka;
    }
    void sortRows() {
        std::stable_sort(m_rows.begin(), m_rows.end(), [this](const Record& a, const Record& b) {
            return core::compareCzech(sortKey(a), sortKey(b)) < 0;
        });
    }

    Reader m_reader;
    core::UserInteraction& m_ui;
    std::vector<Record> m_rows;
    std::optional<size_t> m_current;
    CodedColumn m_sort = CodedColumn::Zkratka;
};

} // namespace orvento::catalogue
