#include "core/DataFolderDialogLogic.h"

#include "core/UserInteraction.h"

#include <QDir>
#include <QFileInfo>

namespace orvento::core {

bool acceptDataFolderChoice(const DataFolderChoice& choice, UserInteraction& ui) {
    if (choice.local)
        return true;
    const QString folder = choice.folder.trimmed();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        ui.warning(QStringLiteral("Složka %1 neexistuje! Zadejte platné umístění.")
                       .arg(QDir::toNativeSeparators(folder)));
        return false;
    }
    return true;
}

QString dataFolderExplanation() {
    return QStringLiteral(
        "Datová složka je diskový prostor, do kterého aplikace ukládá databáze. Pokud program "
        "spouštíte na další stanici v síti, zadejte umístění sdílené složky s datovými soubory. V "
        "ostatních případech zvolte první možnost \"lokální umístění\".");
}

} // namespace orvento::core
