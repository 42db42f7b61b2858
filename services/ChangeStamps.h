#pragma once

#include "core/ProgramState.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace orvento::services {

// Change stamps tell other workstations when the address book, the catalogue items or the
// catalogue groups last changed, so that their lists reload. The store keeps one per table of
// the open agenda, with the time of the change.

std::optional<core::StampedTable> stampedTable(const QString& table);

// Writes the stamp of a table now (unless stamps are suppressed) and remembers it. File errors
// are ignored: a list then simply does not reload.
void stamp(core::StampedTable table);
// Stamps a table the agenda connection wrote to, if it is one of the three. The connection calls
// it once per table when a unit of work commits (see Database::setWriteObserver), so a bulk run
// writes one stamp, and another workstation never reloads before the data is there.
void stampAfterWrite(const QString& table);
// The stamp another workstation (or we) wrote last; a missing file is created with now.
double readStamp(core::StampedTable table);
// True when the table changed since this workstation last looked, and remembers the new stamp.
bool changedSinceLastSeen(core::StampedTable table);
void rememberCurrentStamp(core::StampedTable table);
// Removes the three stamp files of the open agenda.
void clearStamps();

// Bulk operations stamp once before, run with stamps suppressed, and stamp once after.
class SuppressedStamps {
public:
    explicit SuppressedStamps(std::initializer_list<core::StampedTable> tables);
    ~SuppressedStamps();
    SuppressedStamps(const SuppressedStamps&) = delete;
    SuppressedStamps& operator=(const SuppressedStamps&) = delete;

private:
    std::vector<core::StampedTable> m_tables;
};

// Days since 30 December 1899 with the time of day as the fraction, as the stamp files hold them.
double toStampValue(const QDateTime& time);
QDateTime fromStampValue(double value);

} // namespace orvento::services
