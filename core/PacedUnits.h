#pragma once

#include "core/Database.h"

#include <QElapsedTimer>

#include <cstddef>
#include <optional>

namespace orvento::core {

// Rows written one at a time as they are read (from an outside file, say), in short units of work
// like the slices of core/SlicedWrite: a unit begins with the first row written into it and is due
// to end once it holds `maxRows` rows or has held the write lock for kSliceLockBudget. The caller
// commits it then, and also before it asks or tells the person anything, so nobody waits behind
// an open dialog and a stop keeps every row written before it. A statement that fails inside a
// unit leaves the unit usable (only its own row is missing): commit it, then report the failure.
// A unit still open when this object goes is rolled back.
class PacedUnits {
public:
    PacedUnits(Database& db, std::size_t maxRows);

    // Before writing a row: a unit is open (the pause after the previous one kept first). False
    // when none could begin; Database::lastError() tells why.
    bool ensureOpen();
    // A row was written into the open unit.
    void rowWritten() { ++m_rows; }
    bool isOpen() const { return m_unit.has_value(); }
    // Whether the open unit has reached its row count or its time.
    bool due() const;
    // Ends the open unit (true without one). False when its commit failed and its rows are gone.
    bool commit();

private:
    Database& m_db;
    std::size_t m_maxRows;
    std::optional<Transaction> m_unit;
    QElapsedTimer m_held;
    std::size_t m_rows = 0;
    bool m_hadUnit = false;
};

} // namespace orvento::core
