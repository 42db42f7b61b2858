#pragma once

#include "core/UserInteraction.h"
#include "services/RecordRefresh.h"

#include <functional>
#include <optional>
#include <vector>

namespace orvento::catalogue {

// The rows of a small list of coded records (price levels, price groups) with its current row:
// reload keeping the current row, locate by ID or code, and the neighbour to move to after a
// delete.
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
    // After a delete: reload and move to the neighbour.
    void reloadAt(qint64 neighbour) {
        reload();
        if (neighbour >= 0)
            locate(neighbour);
    }

private:
    Reader m_reader;
    core::UserInteraction& m_ui;
    std::vector<Record> m_rows;
    std::optional<size_t> m_current;
};

} // namespace orvento::catalogue
