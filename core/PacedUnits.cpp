#include "core/PacedUnits.h"

#include "core/SlicedWrite.h"

#include <QThread>

#include <algorithm>

namespace orvento::core {

PacedUnits::PacedUnits(Database& db, std::size_t maxRows)
    : m_db(db)
    , m_maxRows(std::max<std::size_t>(maxRows, 1)) {}

bool PacedUnits::ensureOpen() {
    if (m_unit)
        return true;
    if (m_hadUnit)
        QThread::msleep(static_cast<unsigned long>(kSliceGap.count()));
    m_unit.emplace(m_db);
    if (!m_unit->isActive()) {
        m_unit.reset();
        return false;
    }
    m_hadUnit = true;
    m_rows = 0;
    m_held.start();
    return true;
}

bool PacedUnits::due() const {
    return m_unit && (m_rows >= m_maxRows || m_held.elapsed() >= kSliceLockBudget.count());
}

bool PacedUnits::commit() {
    if (!m_unit)
        return true;
    const bool committed = m_unit->commit();
    m_unit.reset();
    return committed;
}

} // namespace orvento::core
