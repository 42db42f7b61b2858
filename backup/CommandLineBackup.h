#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

namespace orvento::backup {

// What `orvento --backup` was asked to do.
struct BackupCommandLineRequest {
    QString dataFolder;      // --data, else Tovaro.ini's
    QString agenda;          // --agenda, else the last one
    QString folder;          // --folder, else the standard folder
    bool sharedData = false; // --shared
};

// The process's exit codes.
enum BackupCommandLineExit : int { BackupDone = 0, BackupFailed = 1, BackupNotStarted = 3 };

bool asksForBackup(const QStringList& arguments);
std::optional<BackupCommandLineRequest> parseBackupRequest(const QStringList& arguments,
                                                           QString& error);
QString backupUsage();

// One backup from the command line (for cron), without a window: the start-up's steps, the
// login by ORVENTO_PASSWORD, the agenda, then the same right, test of the other workstations,
// lock and backup as the dialog's. The archive's path goes to `out`, messages to `err`; the
// increased backup counter is stored at once, as no closing steps follow.
class CommandLineBackup {
public:
    CommandLineBackup(BackupCommandLineRequest request, QTextStream& out, QTextStream& err);

    int run(const QString& programFolder);
    // The process was told to end: "<zrušit>" for the packing; before it, it does not start.
    void interrupt();

private:
    BackupCommandLineRequest m_request;
    QTextStream& m_out;
    QTextStream& m_err;
    bool m_interrupted = false;
};

} // namespace orvento::backup
