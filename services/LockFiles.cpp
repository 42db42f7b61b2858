#include "services/LockFiles.h"

#include "core/UserInteraction.h"

#include <QDir>

namespace orvento::services {

using core::FileLock;

bool heldElsewhere(const QString& path) {
    return core::lockFileHeldElsewhere(path);
}

QString lockCreateFailedMessage(const QString& path) {
    return QStringLiteral("Nelze vytvořit pomocný soubor %1").arg(QDir::toNativeSeparators(path));
}

bool createLockFile(const QString& path, FileLock& out, core::UserInteraction& ui) {
    if (!core::takeLockFile(path, out)) {
        ui.error(lockCreateFailedMessage(path));
        return false;
    }
    return true;
}

} // namespace orvento::services
