#include "backup/BackupCreation.h"

#include "backup/BackupArchive.h"
#include "backup/BackupInfo.h"
#include "backup/BackupNames.h"
#include "core/AppVersion.h"
#include "core/DataStore.h"
#include "core/ProgramState.h"
#include "core/ProgressScope.h"
#include "core/UserInteraction.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <vector>

namespace orvento::backup {

namespace {

constexpr int kPercent = 100;

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

bool isPackedTemplate(const QString& fileName) {
    if (fileName.startsWith(QLatin1Char('_')) || !isBareName(fileName))
        return false;
    const QString suffix = QFileInfo(fileName).suffix();
    for (const char* packed : {"frx", "xls", "xlsx"}) {
        if (suffix.compare(QLatin1String(packed), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

BackupCreation::BackupCreation(core::DataStore& store, core::UserInteraction& ui)
    : m_store(store)
    , m_ui(ui) {}

BackupResult BackupCreation::create(const BackupRequest& request) {
    core::ProgramState& state = core::programState();
    m_path.clear();
    if (request.folder.trimmed().isEmpty() || !QFileInfo(request.folder).isDir()) {
        m_ui.error(QStringLiteral("Složka pro zálohování neexistuje - zadejte platnou složku."));
        return BackupResult::NotBegun;
    }
    const core::DatabaseId agenda = m_store.resolved(state.agendaId());
    const BackupTarget target =
        chooseBackupTarget(request.folder, agenda.agenda, QDate::currentDate());
    m_path = target.path;
    if (target.taken) {
        if (m_ui.ask(QStringLiteral("Soubor %1 již existuje, opravdu ho chcete přepsat ?")
                         .arg(shown(m_path)),
                     core::Buttons::YesNo, core::Answer::No) != core::Answer::Yes)
            return BackupResult::NotBegun;
        // The old archive stays until the new one is complete; it must be replaceable.
        if (!QFileInfo(QFileInfo(m_path).absolutePath()).isWritable()) {
            m_ui.error(
                QStringLiteral("Chyba : nelze přepsat záložní soubor %1").arg(shown(m_path)));
            return BackupResult::NotBegun;
        }
    }

    BackupInfo info;
    info.program = programMark();
    info.fullPath = shown(m_path);
    info.agendaFile = m_store.label(agenda);
    info.global = request.sharedData;
    info.frm = request.sharedData;
    info.name = state.settings.nazev;
    info.creator = state.user.jmeno;
    info.dateTime = dateTimeText(QDateTime::currentDateTime());
    info.version = core::kVersion;
    info.id = state.backupCounter;
    ++state.backupCounter;

    QString error;
    PackResult result = PackResult::Failed;
    {
        core::ProgressScope progress(
            m_ui, QStringLiteral("Probíhá vytvoření záložní kopie\nprosím čekejte..."), kPercent);
        // The copies are private to this user (the folder is made 0700) and go with the scope.
        QDir().mkpath(state.folders.work);
        QTemporaryDir copies(state.folders.work + QStringLiteral("zaloha-XXXXXX"));
        std::vector<PackEntry> entries;
        entries.push_back({infoEntryName(), QString(), info.toText()});
        bool copied = copies.isValid();
        if (!copied)
            error = QStringLiteral("nelze vytvořit pracovní složku v %1")
                        .arg(shown(state.folders.work));
        const auto snapshot = [&](const core::DatabaseId& which, const QString& entryName) {
            const QString copy = copies.filePath(entryName);
            if (copied && !m_store.snapshotTo(which, copy, &error))
                copied = false;
            else if (copied)
                entries.push_back({entryName, copy, {}});
        };
        snapshot(agenda, info.agendaFile);
        if (request.sharedData) {
            snapshot(core::DatabaseId::global(), m_store.label(core::DatabaseId::global()));
            const QDir print(state.folders.print);
            for (const QFileInfo& file : print.entryInfoList(QDir::Files, QDir::Name)) {
                if (isPackedTemplate(file.fileName()))
                    entries.push_back({file.fileName(), file.absoluteFilePath(), {}});
            }
        }
        if (copied && !progress.cancelled())
            result = packArchive(m_path, entries, progress, error);
        else if (copied)
            result = PackResult::Cancelled;
        progress.end();
    }
    if (result == PackResult::Done) {
        m_ui.information(QStringLiteral("Vytvoření záložní kopie proběhlo úspěšně.\n\nByl "
                                        "vytvořen záložní soubor %1")
                             .arg(shown(m_path)));
        return BackupResult::Made;
    }
    if (!error.isEmpty())
        m_ui.error(error);
    m_ui.error(
        QStringLiteral("Při vytváření záložního souboru %1 došlo k chybě.").arg(shown(m_path)));
    return BackupResult::Failed;
}

} // namespace orvento::backup
