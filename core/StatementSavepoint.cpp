#include "core/StatementSavepoint.h"

#include "core/Database.h"

namespace orvento::core {

StatementSavepoint::StatementSavepoint(Database& db, QString name)
    : m_db(db)
    , m_name(std::move(name)) {
    if (m_db.transactionDepth() == 0)
        return;
    m_set = m_db.runControl(QStringLiteral("SAVEPOINT ") + m_name);
    m_ready = m_set;
}

StatementSavepoint::~StatementSavepoint() {
    undo();
}

void StatementSavepoint::keep() {
    if (!std::exchange(m_set, false))
        return;
    m_db.runControl(QStringLiteral("RELEASE SAVEPOINT ") + m_name);
}

void StatementSavepoint::undo() {
    if (!std::exchange(m_set, false))
        return;
    m_db.runControl(QStringLiteral("ROLLBACK TO SAVEPOINT ") + m_name);
    m_db.runControl(QStringLiteral("RELEASE SAVEPOINT ") + m_name);
}

} // namespace orvento::core
