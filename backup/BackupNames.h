#pragma once

#include <QDate>
#include <QString>

namespace orvento::backup {

// The highest number of a day's archive of one agenda.
inline constexpr int kLastBackupNumber = 999;

// The file an archive of `agenda` made on `day` goes to in `folder`:
// `dd-mm-yyyy_<agenda>_<n>.zbf` with the lowest n from 1 whose file does not exist in any letter
// case. When all up to 998 are taken it is 999, and `taken` says whether that one exists (under
// the spelling it exists with, so that it is replaced rather than joined by a second one).
struct BackupTarget {
    QString path;
    int number = 1;
    bool taken = false;
};
BackupTarget chooseBackupTarget(const QString& folder, const QString& agenda, const QDate& day);

// The archives' extension with its dot.
QString backupExtension();

} // namespace orvento::backup
