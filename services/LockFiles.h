#pragma once

#include "core/FileLock.h"

#include <QString>

namespace orvento::core {
class UserInteraction;
}

namespace orvento::services {

// A lock named by its location (as recordLockPath() and programLockPath() give it). The program
// itself takes and tests its locks through the data store (services/RecordLock,
// services/Workstations); these serve callers that still hold a location.

// True when another workstation holds the lock file. A file nobody holds is a left-over and is
// removed, so the test also clears stale lock files.
bool heldElsewhere(const QString& path);

// Takes the lock file: clears a stale one, then creates the file and holds it until `out` is
// released. A file held by somebody else gives the error "Nelze vytvořit pomocný soubor <path>".
bool createLockFile(const QString& path, core::FileLock& out, core::UserInteraction& ui);

QString lockCreateFailedMessage(const QString& path);

} // namespace orvento::services
