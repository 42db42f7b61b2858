#pragma once

#include <QString>

namespace orvento::core {

class Database;

// A write that may fail without the unit of work it runs in. The embedded engine undoes a failed
// statement alone; a database server ends the whole unit at it, taking every row written before
// it, unless the unit is rolled back to a savepoint set just before the statement. Outside a unit
// nothing is set: there the statement is a unit of its own.
//
// Unlike a nested Transaction, a write undone here leaves its unit fit to commit what it wrote
// before: the caller decides what the failure means.
class StatementSavepoint {
public:
    StatementSavepoint(Database& db, QString name);
    ~StatementSavepoint(); // undoes the write unless it was kept
    StatementSavepoint(const StatementSavepoint&) = delete;
    StatementSavepoint& operator=(const StatementSavepoint&) = delete;

    // False when a unit is open and the savepoint could not be set: the write must not run
    // (Database::lastError() says why).
    bool isReady() const { return m_ready; }
    // The write succeeded and stays in the unit.
    void keep();
    // The write failed: the unit is as it was before it and goes on. Word the failure's message
    // first, while its kind is the last one known.
    void undo();

private:
    Database& m_db;
    QString m_name;
    bool m_set = false;
    bool m_ready = true;
};

} // namespace orvento::core
