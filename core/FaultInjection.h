#pragma once

#include <QSqlError>
#include <QString>

#include <optional>

namespace orvento::core {

class SqlDialect;

// What the engine answers to the statement a plan makes fail: a full disk, a database another
// workstation kept locked past the time-out, a rule the data broke.
enum class InjectedFailure { DiskFull, Busy, Constraint };

struct FaultSpec {
    // The statement that fails, counted from 1 since the plan was made; 0 fails none, so a run
    // under such a plan only counts its statements.
    int failAt = 0;
    InjectedFailure kind = InjectedFailure::DiskFull;
};

// For the tests only (nothing else makes one; the ctest FaultPlanCheck greps the tree): while a
// plan lives, every statement the program runs on any connection is counted, and the chosen one
// fails without running, with the error its engine gives for that failure (its own text and
// code), so the failure kind, the messages and the rollbacks follow exactly as on a real fault.
// Rollbacks and savepoint releases are not counted: they undo, and a fault there would model an
// engine that can no longer undo, which nothing above it could mend. One plan at a time.
class FaultPlan {
public:
    explicit FaultPlan(FaultSpec spec = {});
    ~FaultPlan();
    FaultPlan(const FaultPlan&) = delete;
    FaultPlan& operator=(const FaultPlan&) = delete;

    // Statements counted so far.
    int statements() const { return m_statements; }
    bool fired() const { return !m_failedStatement.isEmpty(); }
    // The text of the statement that was made to fail.
    const QString& failedStatement() const { return m_failedStatement; }

    // Counts `sql`; the error to answer instead of running it when it is the chosen one.
    std::optional<QSqlError> next(const QString& sql, const SqlDialect& dialect);

private:
    FaultSpec m_spec;
    int m_statements = 0;
    QString m_failedStatement;
};

// Asked by core::Database before it runs a statement: the error the engine is to answer
// instead, when a plan is in force and this is its chosen statement. Nothing otherwise, at the
// cost of one load.
std::optional<QSqlError> injectedFault(const QString& sql, const SqlDialect& dialect);

// The engine's error for `kind`, as the driver reports it.
QSqlError engineError(InjectedFailure kind, const QString& driverName);

} // namespace orvento::core
