// A backup archive found in the backup folder: listed with what its `info.ini` says, then its
// entries read and unpacked as a restore does.
#include "FuzzSupport.h"

#include "backup/BackupArchive.h"
#include "backup/BackupInfo.h"
#include "backup/BackupListing.h"
#include "core/SilentInteraction.h"

#include <QDir>
#include <QFile>

namespace {

// Entries larger than this are not unpacked here: the harness must not fill the disk.
constexpr qint64 kUnpackLimit = 4 * 1024 * 1024;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvento;
    static const QString folder = fuzz::workFolder() + QStringLiteral("/ZALOHY");
    QDir().mkpath(folder);
    const QString path =
        fuzz::writeFile(QStringLiteral("ZALOHY/DEMO_1.zbf"), fuzz::bytes(data, size));
    core::SilentInteraction ui;
    (void)backup::listBackups(folder, ui);

    backup::ArchiveReader archive;
    QString error;
    if (!archive.open(path, error))
        return 0;
    const QString target = fuzz::workFolder() + QStringLiteral("/unpacked");
    for (const QString& name : archive.entryNames()) {
        if (!backup::isBareName(name) || !archive.contains(name))
            continue;
        if (!archive.read(name, kUnpackLimit))
            continue;
        QFile::remove(target);
        (void)archive.extract(name, target, nullptr, error);
    }
    if (const auto info = archive.read(backup::infoEntryName(), backup::kInfoEntryLimit))
        (void)backup::BackupInfo::fromText(*info).listable();
    return 0;
}
