#include "backup/BackupNames.h"

#include "core/PathUtil.h"

namespace orvento::backup {

QString backupExtension() {
    return QStringLiteral(".zbf");
}

BackupTarget chooseBackupTarget(const QString& folder, const QString& agenda, const QDate& day) {
    const QString base = core::withTrailingSlash(folder);
    const QString prefix =
        day.toString(QStringLiteral("dd-MM-yyyy")) + QLatin1Char('_') + agenda + QLatin1Char('_');
    BackupTarget target;
    for (int n = 1; n <= kLastBackupNumber; ++n) {
        const QString name = prefix + QString::number(n) + backupExtension();
        target.number = n;
        target.path = core::resolveInFolder(base, name);
        target.taken = core::existsInFolder(base, name);
        if (!target.taken)
            break;
    }
    return target;
}

} // namespace orvento::backup
