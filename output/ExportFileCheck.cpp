#include "output/ExportFileCheck.h"

#include "core/UserInteraction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace orvento::output {

namespace {

// Whether the old file could be written without truncating it: not read-only, not a folder,
// not held by another program.
bool writable(const QString& file) {
    QFile old(file);
    return old.open(QIODevice::WriteOnly | QIODevice::Append);
}

} // namespace

std::optional<QString> checkExportFile(core::UserInteraction& ui, const QString& typed,
                                       const ExportFileCheck& check) {
    const QString file = typed.trimmed();
    if (file.isEmpty()) {
        ui.information(QStringLiteral("Musíte zadat název exportního souboru."));
        return std::nullopt;
    }
    if (check.afterName && !check.afterName())
        return std::nullopt;
    const QFileInfo info(file);
    const QString folder = file.contains(QLatin1Char('/')) || file.contains(QLatin1Char('\\'))
                               ? info.path().trimmed()
                               : QString();
    if (folder.isEmpty()) {
        ui.information(QStringLiteral("Musíte zadat název složky, do které se má soubor "
                                      "exportovat (pro výběr použijte tlačítko \"tři tečky\")."));
        return std::nullopt;
    }
    if (!QFileInfo(folder).isDir()) {
        if (!ui.question(QStringLiteral("Složka pro export \"%1\" neexistuje. Chcete ji vytvořit?")
                             .arg(folder)))
            return std::nullopt;
        if (!QDir().mkpath(folder)) {
            ui.error(QStringLiteral("Chyba : nelze vytvořit adresář ") + folder);
            return std::nullopt;
        }
    }
    if (check.beforeOverwrite && !check.beforeOverwrite())
        return std::nullopt;
    if (QFileInfo::exists(file)) {
        if (!ui.question(
                QStringLiteral("Soubor \"%1\" již existuje, chcete ho přepsat ?").arg(file)))
            return std::nullopt;
        if (check.removeOld)
            QFile::remove(file);
        if (check.removeOld ? QFileInfo::exists(file) : !writable(file)) {
            ui.warning(check.lockedWarning.arg(file));
            return std::nullopt;
        }
    }
    return file;
}

} // namespace orvento::output
