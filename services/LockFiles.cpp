#include "services/LockFiles.h"

#include "core/UserInteraction.h"

#include <QDir>
#include <QFileInfo>

namespace orvento::services {

using core::FileLock;

bool heldElsewhere(const QString& path) {
    if (!QFileInfo::exists(path))
        return false;
    FileLock probe;
    switch (FileLock::acquire(path, FileLock::Mode::Exclusive, false, probe)) {
    case FileLock::Result::HeldElsewhere:
        return true;
    case FileLock::Result::Taken:
        probe.removeAndRelease();
        return false;
    case FileLock::Result::Failed:
        // Gone in the meantime, or a file we cannot even open: treat like a left-over and try
        // to remove it; what stays is somebody else's.
        QFile::remove(path);
        return QFileInfo::exists(path);
    }
    return false;
}

QString lockCreateFailedMessage(const QString& path) {
    return QStringLiteral("Nelze vytvořit pomocný soubor %1").arg(QDir::toNativeSeparators(path));
}

bool createLockFile(const QString& path, FileLock& out, core::UserInteraction& ui) {
    out.release();
    if (FileLock::acquire(path, FileLock::Mode::Exclusive, true, out) != FileLock::Result::Taken ||
        !QFileInfo::exists(path)) {
        out.release();
        ui.error(lockCreateFailedMessage(path));
        return false;
    }
    return true;
}

} // namespace orvento::services
