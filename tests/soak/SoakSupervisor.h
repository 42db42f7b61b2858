#pragma once

#include "SoakWorkstation.h"

#include <QString>

namespace orvento::soak {

struct SupervisorOptions {
    int workstations = 8;
    int seconds = 60;
    QString storeKind;
    QString programFolder;
    QString folder; // where the data and journals go; a temporary folder when empty
    quint32 seed = 0;
    // A workstation is killed every so many milliseconds on average (half to one and a half).
    int killGapMs = 2750;
    BrokenMode broken = BrokenMode::None;
    // The socket folder or host of a database server that is already running (its superuser
    // `postgres` let in without a password), for the server store; empty: a throw-away server
    // of the tests, which favours speed over durability.
    QString server;
};

// The exit code of a soak whose store cannot be had on this machine (no server programs, say):
// what ctest and `make soak` take for a skip.
inline constexpr int kSkipped = 77;

// Makes a fresh data folder from the templates, runs the workstations (this program in its
// workstation mode), kills one at random every few seconds and starts another in its place, and
// when the time is up checks the data and the journals and prints the figures. 0 when every
// check passed.
int runSupervisor(const SupervisorOptions& options);

} // namespace orvento::soak
