#include "services/LockFiles.h"

#include <QDir>

namespace orvento::services {

QString lockCreateFailedMessage(const QString& path) {
    return QStringLiteral("Nelze vytvořit pomocný soubor %1").arg(QDir::toNativeSeparators(path));
}

} // namespace orvento::services
