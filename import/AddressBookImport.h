#pragma once

#include "core/FoldedKeyIndex.h"
#include "core/ProgressScope.h"
#include "import/AddressBookImportRows.h"
#include "import/ImportDefinition.h"
#include "import/RunSource.h"
#include "import/SourceOpener.h"

#include <QDateTime>
#include <QString>

#include <cstddef>

namespace orvento::core {
class Database;
class PacedUnits;
class UserInteraction;
} // namespace orvento::core

namespace orvento::import {

class ImportProtocol;

// The run of one address-book definition: every source row updates the address its reference
// finds (in the address book as it stood when the run began) or becomes a new address. Rows are
// written as they are read, in short units of work committed before every question, message or
// error line, so a stop or a failure keeps every address written before it and no other
// workstation waits behind the run. Counts are of committed rows.
class AddressBookImport {
public:
    enum Result : int { Ok = 0, Failed = -1 };
    using Counts = RunCounts;
    // A unit of work ends after this many rows at most (sooner once it has held the lock for the
    // slice budget).
    static constexpr std::size_t kRowsPerUnit = 2000;

    AddressBookImport(core::Database& agenda, core::UserInteraction& ui, ImportProtocol& protocol,
                      SourceOpener opener, core::ProgressScope::Display display);

    // Fewer rows per unit (the tests stop a run between two given rows).
    void setRowsPerUnit(std::size_t rows) { m_rowsPerUnit = rows; }
    int run(const ImportDefinition& definition);
    bool interrupted() const { return m_interrupted; }
    const Counts& counts() const { return m_counts; }
    const QDateTime& mark() const { return m_mark; }

private:
    struct Pending {
        qint64 added = 0;
        qint64 updated = 0;
    };
    bool checkPriceLevel(const AddressBookSettings& settings);
    // The reference column of the address book, read once.
    bool readReferences(const QString& column);
    void addStartLines(const ImportDefinition& definition);
    int writeRows(const ImportDefinition& definition, const AddressRows& rows,
                  core::sources::SourceTable& table);
    // Commits the open unit and counts its rows; false after the red line of a failed commit.
    bool commit(core::PacedUnits& units);

    core::Database& m_db;
    core::UserInteraction& m_ui;
    ImportProtocol& m_protocol;
    SourceOpener m_opener;
    core::ProgressScope::Display m_display;
    std::size_t m_rowsPerUnit = kRowsPerUnit;

    QDateTime m_mark;
    Counts m_counts;
    Pending m_pending;
    bool m_interrupted = false;
    core::FoldedKeyIndex m_references;
};

} // namespace orvento::import
