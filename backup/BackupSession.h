#pragma once

#include "backup/BackupChoices.h"
#include "core/Navigator.h"
#include "services/Workstations.h"

namespace orvento::core {
class AppContext;
}

namespace orvento::backup {

// What a backup or a restore needs around it, whether from the dialog or the command line: the
// right, no other workstation running the program, all connections closed and the
// exclusive-operation lock held; afterwards the lock released and the connections opened again,
// or, after a restore, the end of the program.
class BackupSession {
public:
    explicit BackupSession(core::AppContext& context);
    ~BackupSession();
    BackupSession(const BackupSession&) = delete;
    BackupSession& operator=(const BackupSession&) = delete;

    enum class Start { Started, NoRight, OthersRunning, LockFailed };
    // The messages are shown here; anything but Started leaves the program as it was.
    Start begin(core::BackupPage page);
    bool started() const { return m_started; }

    // After a restore: the lock goes, the person is told that the program ends, and Tovaro.ini
    // is written; the caller ends the program without its closing steps. Otherwise the lock goes
    // and the connections open again; the choices are remembered once the agenda is back.
    void finish(bool restored, const BackupChoices* remember);

private:
    core::AppContext& m_context;
    services::ExclusiveOperation m_operation;
    bool m_started = false;
};

QString othersRunningMessage();
QString restoredMessage();

} // namespace orvento::backup
