#include "core/ShellOperations.h"

#include "core/UserInteraction.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>
#include <QUuid>

#include <filesystem>
#include <system_error>

namespace orvento::core::shell {

QString webAddressFor(const QString& text) {
    const QString trimmed = text.trimmed();
    // Any scheme counts, so https:// and ftp:// addresses are not spoilt by a second prefix.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    if (trimmed.contains(scheme))
        return trimmed;
    return QStringLiteral("http://") + trimmed;
}

void openWebAddress(const QString& text) {
    QDesktopServices::openUrl(QUrl(webAddressFor(text), QUrl::TolerantMode));
}

void openMailLink(const QString& address) {
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + address.trimmed()));
}

namespace {

// The desktop has a program for a file when its MIME type has a default application. Where
// that cannot be asked (no xdg-mime), opening is simply tried.
bool hasAssociatedProgram(const QString& path) {
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return true;
    const QString mime = QMimeDatabase().mimeTypeForFile(path).name();
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), mime});
    if (!query.waitForFinished(3000))
        return true;
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

// Writes the copy beside the target and renames it over the target in one step: a workstation
// starting at the same moment copies the same files into the same shared folder, and a remove
// followed by a copy would let it find the name taken or the file half written. The rename also
// replaces a target that is read-only, as the removal did.
bool replaceFile(const QString& from, const QString& to) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    QTemporaryFile copy(QFileInfo(to).absolutePath() + QStringLiteral("/.copy-XXXXXX"));
    if (!copy.open())
        return false;
    constexpr qint64 kChunk = 1 << 16;
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(kChunk);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError)
            return false;
        if (copy.write(chunk) != chunk.size())
            return false;
    }
    if (!copy.flush() || !copy.setPermissions(source.permissions()))
        return false;
    copy.close();
    std::error_code failure;
    std::filesystem::rename(QFile::encodeName(copy.fileName()).toStdString(),
                            QFile::encodeName(to).toStdString(), failure);
    if (failure)
        return false;
    copy.setAutoRemove(false);
    return true;
}

} // namespace

OpenResult runDocument(const QString& path) {
    if (!hasAssociatedProgram(path))
        return OpenResult::NoAssociatedProgram;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path)) ? OpenResult::Opened
                                                                : OpenResult::Failed;
}

int runDocumentCode(const QString& path) {
    switch (runDocument(path)) {
    case OpenResult::Opened:
        return 42; // anything above 32 means success to the callers
    case OpenResult::NoAssociatedProgram:
        return kNoAssociationCode;
    case OpenResult::Failed:
        break;
    }
    return 0;
}

void openFile(const QString& path, UserInteraction& ui) {
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFileInfo::exists(path)) {
        ui.warning(QStringLiteral("Soubor %1 neexistuje!").arg(shown));
        return;
    }
    if (runDocument(path) == OpenResult::NoAssociatedProgram)
        ui.information(QStringLiteral("Se souborem %1 není asociován žádný program.").arg(shown));
}

QString fileNameAsKey(const QString& path) {
    QString name = QFileInfo(QDir::fromNativeSeparators(path)).fileName();
    name.replace(QLatin1Char('.'), QLatin1Char('#'));
    return name;
}

QString bareFileName(const QString& path) {
    return QFileInfo(QDir::fromNativeSeparators(path)).completeBaseName();
}

QString newIdentifier() {
    return QUuid::createUuid().toString(QUuid::WithBraces).toUpper();
}

bool copyFiles(const QString& sourcePattern, const QString& targetFolder) {
    const QFileInfo pattern(QDir::fromNativeSeparators(sourcePattern));
    const QDir source(pattern.absolutePath());
    if (!source.exists())
        return false;
    QString filter = pattern.fileName();
    if (filter == QLatin1String("*.*"))
        filter = QStringLiteral("*"); // on Windows "*.*" also matches names without a dot
    const QDir target(targetFolder);
    if (!target.exists())
        return false;
    const QStringList names = source.entryList({filter}, QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        if (!replaceFile(source.filePath(name), target.filePath(name)))
            return false;
    }
    return true;
}

} // namespace orvento::core::shell
