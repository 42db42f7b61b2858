#pragma once

#include "core/DataStore.h"

#include <QString>

namespace orvento::core {
class UserInteraction;
}

namespace orvento::services {

// True when another workstation runs the program, i.e. has the global database open. Our own
// connection is closed for the test and opened again.
bool otherWorkstationsRunning();
// True when another workstation has the open agenda open.
bool agendaOpenElsewhere();

QString otherWorkstationsWarning();
QString exclusiveOperationRunningWarning();
// Where the store keeps the exclusive-operation lock of the program's data, as messages show it.
QString programLockPath();

// A backup or restore: no other workstation may run the program meanwhile, and none may start
// it. While this object holds the exclusive-operation lock, other starts are kept out.
class ExclusiveOperation {
public:
    enum class Start { Started, OthersRunning, LockFailed };

    // Closes all connections and checks that nobody else has the global database open; the
    // connections are opened again when the operation cannot start.
    Start begin(core::UserInteraction& ui);
    // Releases the lock. The caller reopens the connections or ends the program.
    void end();
    ~ExclusiveOperation() { end(); }

private:
    core::HeldLock m_lock;
};

// Reopens the global and agenda connections after an exclusive test.
bool reopenConnections();

} // namespace orvento::services
