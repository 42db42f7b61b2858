#include "catalogue/PictureStore.h"

#include "core/AgendaSettings.h"
#include "core/PathUtil.h"
#include "core/ProgramState.h"
#include "core/UserInteraction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace orvento::catalogue {

PictureStore PictureStore::ofAgenda() {
    const core::ProgramState& state = core::programState();
    QString folder = state.settings.slozkaObrazku;
    if (folder.trimmed().isEmpty())
        folder = core::defaultPicturesFolder(state.folders.data, state.agenda);
    return PictureStore(folder);
}

PictureStore::PictureStore(QString folder)
    : m_folder(core::withTrailingSlash(QDir::cleanPath(folder))) {}

QString PictureStore::pathOf(const QString& name) const {
    return m_folder + name;
}

bool PictureStore::contains(const QString& name) const {
    return !name.isEmpty() && QFileInfo(pathOf(name)).isFile();
}

QString PictureStore::fittedName(const QString& fileName) {
    if (fileName.size() <= kNameLimit)
        return fileName;
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot > 0 ? fileName.mid(dot) : QString();
    if (extension.size() >= kNameLimit)
        return fileName.left(kNameLimit);
    return fileName.left(kNameLimit - extension.size()) + extension;
}

QString PictureStore::dialogFilter() {
    return QStringLiteral("Soubory JPG (*.jpg *.jpeg);;Všechny soubory (*)");
}

QString PictureStore::description() const {
    return QStringLiteral("Program používá společné úložiště, do kterého kopíruje všechny nově "
                          "přidané obrázky. Složka s úložištěm obrázků:\n\n") +
           QDir::toNativeSeparators(m_folder);
}

std::optional<QString> PictureStore::store(const QString& source, core::UserInteraction& ui) const {
    if (!QDir().mkpath(m_folder)) {
        ui.error(QStringLiteral("Nelze vytvořit adresář pro úložiště obrázků ") +
                 QDir::toNativeSeparators(m_folder));
        return std::nullopt;
    }
    const QString chosenName = QFileInfo(source).fileName();
    const QString name = fittedName(chosenName);
    if (name != chosenName)
        ui.warning(QStringLiteral("Maximální délka názvu souboru včetně přípony je %1 znaků. Do "
                                  "interního úložiště obrázků bude soubor zkopírován s oříznutým "
                                  "názvem \"%2\".")
                       .arg(kNameLimit)
                       .arg(name));
    const QString target = pathOf(name);
    const QFileInfo targetInfo(target);
    // The chosen file may be the store file itself, reached by another spelling of the path.
    if (targetInfo.exists() &&
        QFileInfo(source).canonicalFilePath() == targetInfo.canonicalFilePath())
        return name;
    if (targetInfo.exists() &&
        !ui.question(QStringLiteral("Soubor s názvem %1 již v úložišti obrázků existuje. Opravdu "
                                    "ho chcete přepsat?")
                         .arg(name)))
        return std::nullopt;
    QFile in(source);
    QSaveFile out(target);
    bool copied = in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly);
    while (copied && !in.atEnd()) {
        const QByteArray chunk = in.read(1 << 16);
        copied = !chunk.isEmpty() && out.write(chunk) == chunk.size();
    }
    copied = copied && in.error() == QFile::NoError && out.commit();
    if (!copied) {
        // An uncommitted save file leaves the store file as it was.
        ui.error(QStringLiteral("Při kopírování souboru %1 na %2 došlo k chybě.")
                     .arg(QDir::toNativeSeparators(source), QDir::toNativeSeparators(target)));
        return std::nullopt;
    }
    return name;
}

} // namespace orvento::catalogue
