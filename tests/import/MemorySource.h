#pragma once

#include "core/sources/ImportSource.h"
#include "import/SourceOpener.h"

#include <QStringList>

#include <memory>
#include <utility>
#include <vector>

namespace orvento::testsupport {

// A source table held in memory: the columns and rows a test gives, read forward once.
class MemoryTable : public core::sources::SourceTable {
public:
    MemoryTable(QStringList columns, std::vector<core::sources::Row> rows)
        : m_columns(std::move(columns))
        , m_rows(std::move(rows)) {}
    QStringList columns() const override { return m_columns; }
    qint64 rowCount() const override { return static_cast<qint64>(m_rows.size()); }
    bool next(core::sources::Row& row) override {
        if (m_next >= m_rows.size())
            return false;
        row = m_rows[m_next++];
        row.resize(static_cast<std::size_t>(m_columns.size()));
        return true;
    }
    QString error() const override { return {}; }

private:
    QStringList m_columns;
    std::vector<core::sources::Row> m_rows;
    std::size_t m_next = 0;
};

// A single-table source over the same rows every time it is opened.
class MemorySource : public core::sources::ImportSource {
public:
    MemorySource(QStringList columns, std::vector<core::sources::Row> rows)
        : m_columns(std::move(columns))
        , m_rows(std::move(rows)) {}
    QStringList tables() const override { return {QStringLiteral("tabulka")}; }
    std::unique_ptr<core::sources::SourceTable> openTable(const QString&, QString&) override {
        return std::make_unique<MemoryTable>(m_columns, m_rows);
    }

    // An opener that hands out this source (or fails with `error` when told to).
    static import::SourceOpener opener(QStringList columns, std::vector<core::sources::Row> rows) {
        return [columns, rows](core::sources::SourceKind, const QString&, QString&) {
            return std::make_unique<MemorySource>(columns, rows);
        };
    }

private:
    QStringList m_columns;
    std::vector<core::sources::Row> m_rows;
};

// Shorthands for cells.
inline core::sources::Cell txt(const QString& value) {
    return core::sources::Cell::text(value);
}
inline core::sources::Cell num(double value) {
    return core::sources::Cell::number(value);
}

} // namespace orvento::testsupport
