#include "core/FaultInjection.h"

#include "core/SqlDialect.h"

#include <atomic>

namespace orvento::core {

namespace {

// The plan in force. A plan counts the statements of every connection, so it cannot belong to
// one of them; only tests make one, and nothing else ever sets this.
std::atomic<FaultPlan*>& activePlan() {
    static std::atomic<FaultPlan*> plan{nullptr};
    return plan;
}

bool undoes(const QString& sql) {
    const QString text = sql.trimmed();
    return text.startsWith(QLatin1StringView("ROLLBACK"), Qt::CaseInsensitive) ||
           text.startsWith(QLatin1StringView("RELEASE"), Qt::CaseInsensitive);
}

// Result codes of the embedded engine, as its driver reports them in the native error code.
constexpr int kSqliteBusy = 5;
constexpr int kSqliteFull = 13;
constexpr int kSqliteConstraint = 19;

} // namespace

FaultPlan::FaultPlan(FaultSpec spec)
    : m_spec(spec) {
    FaultPlan* none = nullptr;
    // A second plan while one is in force would make both counts meaningless.
    Q_ASSERT(activePlan().load() == nullptr);
    activePlan().compare_exchange_strong(none, this);
}

FaultPlan::~FaultPlan() {
    FaultPlan* self = this;
    activePlan().compare_exchange_strong(self, nullptr);
}

std::optional<QSqlError> FaultPlan::next(const QString& sql, const SqlDialect& dialect) {
    if (undoes(sql))
        return std::nullopt;
    ++m_statements;
    if (m_statements != m_spec.failAt)
        return std::nullopt;
    m_failedStatement = sql.trimmed();
    return engineError(m_spec.kind, dialect.driverName());
}

std::optional<QSqlError> injectedFault(const QString& sql, const SqlDialect& dialect) {
    FaultPlan* plan = activePlan().load(std::memory_order_relaxed);
    if (!plan)
        return std::nullopt;
    return plan->next(sql, dialect);
}

QSqlError engineError(InjectedFailure kind, const QString& driverName) {
    const QString driverText = QStringLiteral("Unable to fetch row");
    if (driverName == QLatin1StringView("QPSQL")) {
        // The server's SQLSTATE is the driver's native code.
        switch (kind) {
        case InjectedFailure::DiskFull:
            return {driverText, QStringLiteral("could not extend file: No space left on device"),
                    QSqlError::StatementError, QStringLiteral("53100")};
        case InjectedFailure::Busy:
            return {driverText, QStringLiteral("canceling statement due to lock timeout"),
                    QSqlError::StatementError, QStringLiteral("55P03")};
        case InjectedFailure::Constraint:
            return {driverText, QStringLiteral("duplicate key value violates unique constraint"),
                    QSqlError::StatementError, QStringLiteral("23505")};
        }
    }
    switch (kind) {
    case InjectedFailure::DiskFull:
        return {driverText, QStringLiteral("database or disk is full"), QSqlError::ConnectionError,
                QString::number(kSqliteFull)};
    case InjectedFailure::Busy:
        return {driverText, QStringLiteral("database is locked"), QSqlError::ConnectionError,
                QString::number(kSqliteBusy)};
    case InjectedFailure::Constraint:
        break;
    }
    return {driverText, QStringLiteral("constraint failed"), QSqlError::ConnectionError,
            QString::number(kSqliteConstraint)};
}

} // namespace orvento::core
