#include "backup/CommandLineBackup.h"

#include "backup/BackupChoices.h"
#include "backup/BackupCreation.h"
#include "backup/BackupSession.h"
#include "core/ProgramState.h"
#include "core/StartUp.h"
#include "core/UserInteraction.h"
#include "services/CommandLineSession.h"

#include <QDir>
#include <QTextStream>

namespace orvento::backup {

namespace {

const QString kBackup = QStringLiteral("--backup");
const QString kData = QStringLiteral("--data");
const QString kAgenda = QStringLiteral("--agenda");
const QString kFolder = QStringLiteral("--folder");
const QString kShared = QStringLiteral("--shared");

} // namespace

bool asksForBackup(const QStringList& arguments) {
    return arguments.contains(kBackup);
}

QString backupUsage() {
    return QStringLiteral("Použití: orvento --backup [--data <složka>] [--agenda <firma>] "
                          "[--shared] [--folder <složka pro zálohy>]");
}

std::optional<BackupCommandLineRequest> parseBackupRequest(const QStringList& arguments,
                                                           QString& error) {
    BackupCommandLineRequest request;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& option = arguments.at(i);
        if (option == kBackup) {
            continue;
        }
        if (option == kShared) {
            request.sharedData = true;
            continue;
        }
        if (option != kData && option != kAgenda && option != kFolder) {
            error = QStringLiteral("Neznámá volba %1.").arg(option);
            return std::nullopt;
        }
        if (i + 1 >= arguments.size()) {
            error = QStringLiteral("Chybí hodnota volby %1.").arg(option);
            return std::nullopt;
        }
        const QString& value = arguments.at(++i);
        if (option == kData)
            request.dataFolder = value;
        else if (option == kAgenda)
            request.agenda = value;
        else
            request.folder = value;
    }
    return request;
}

CommandLineBackup::CommandLineBackup(BackupCommandLineRequest request, QTextStream& out,
                                     QTextStream& err)
    : m_request(std::move(request))
    , m_out(out)
    , m_err(err) {}

void CommandLineBackup::interrupt() {
    m_interrupted = true;
    core::programState().cancelRequested = true;
}

int CommandLineBackup::run(const QString& programFolder) {
    services::CommandLineSession session(m_err, m_interrupted);
    core::AppContext& context = session.context();
    if (!session.start(programFolder, m_request.dataFolder, m_request.agenda))
        return BackupNotStarted;
    if (m_interrupted)
        return BackupFailed;
    BackupSession exclusive(context);
    if (exclusive.begin(core::BackupPage::Create) != BackupSession::Start::Started)
        return BackupNotStarted;
    const QString folder = m_request.folder.isEmpty() ? standardBackupFolder()
                                                      : services::commandLinePath(m_request.folder);
    BackupCreation creation(context.store(), context.ui());
    const BackupResult result = creation.create({folder, m_request.sharedData});
    exclusive.finish(false, nullptr);
    if (result == BackupResult::NotBegun)
        return BackupNotStarted;
    // The counter moved on with the attempt; the next backup must not reuse its number.
    core::ProgramState& state = core::programState();
    if (!core::storeBackupCounter(state.db->global, state.backupCounter))
        context.ui().error(QStringLiteral("Počítadlo záloh se nepodařilo uložit do hlavní "
                                          "databáze."));
    if (result != BackupResult::Made || m_interrupted)
        return BackupFailed;
    m_out << QDir::toNativeSeparators(creation.archivePath()) << Qt::endl;
    return BackupDone;
}

} // namespace orvento::backup
