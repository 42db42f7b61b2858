#include "backup/BackupListing.h"

#include "backup/BackupArchive.h"
#include "backup/BackupInfo.h"
#include "backup/BackupNames.h"
#include "core/ProgressScope.h"
#include "core/UserInteraction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace orvento::backup {

namespace {} // namespace

std::vector<BackupListRow> listBackups(const QString& folder, core::UserInteraction& ui) {
    std::vector<BackupListRow> rows;
    if (folder.trimmed().isEmpty() || !QFileInfo(folder).isDir())
        return rows;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
    core::ProgressScope wait(ui,
                             QStringLiteral("Načítám seznam záložních souborů\nprosím čekejte..."),
                             static_cast<int>(files.size()), false);
    int done = 0;
    for (const QFileInfo& file : files) {
        wait.step(++done);
        if (file.suffix().compare(backupExtension().mid(1), Qt::CaseInsensitive) != 0)
            continue;
        ArchiveReader archive;
        QString error;
        if (!archive.open(file.absoluteFilePath(), error))
            continue;
        const auto text = archive.read(infoEntryName(), kInfoEntryLimit);
        if (!text)
            continue;
        const BackupInfo info = BackupInfo::fromText(*text);
        if (!info.listable())
            continue;
        rows.push_back({file.fileName().toUpper(),
                        QDir::toNativeSeparators(file.absoluteFilePath()), info.name, info.creator,
                        info.dateTime, info.agendaFile, info.global, info.frm, info.version,
                        info.id});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const BackupListRow& a, const BackupListRow& b) {
        return a.idZal > b.idZal;
    });
    return rows;
}

bool deleteBackup(const BackupListRow& row, core::UserInteraction& ui) {
    if (ui.ask(QStringLiteral("Opravdu chcete smazat soubor %1 ?\n\nPozor: tato operace je "
                              "nevratná!")
                   .arg(row.souborPlny),
               core::Buttons::YesNo, core::Answer::No) != core::Answer::Yes)
        return false;
    const QString path = QDir::fromNativeSeparators(row.souborPlny);
    QFile::remove(path);
    if (QFileInfo::exists(path)) {
        ui.error(QStringLiteral("Soubor %1 se nepodařilo smazat.").arg(row.souborPlny));
        return false;
    }
    return true;
}

} // namespace orvento::backup
