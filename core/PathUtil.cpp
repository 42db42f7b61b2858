#include "core/PathUtil.h"

#include <QDir>
#include <QFileInfo>

namespace orvento::core {

QString withTrailingSlash(const QString& folder) {
    QString result = QDir::fromNativeSeparators(folder.trimmed());
    if (!result.isEmpty() && !result.endsWith(QLatin1Char('/')))
        result += QLatin1Char('/');
    return result;
}

QString resolveInFolder(const QString& folder, const QString& name) {
    const QString base = withTrailingSlash(folder);
    if (QFileInfo::exists(base + name))
        return base + name;
    const QDir dir(base);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot |
                                              QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return base + entry;
    }
    return base + name;
}

Qt::CaseSensitivity fileNameCase() {
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    return Qt::CaseInsensitive;
#else
    return Qt::CaseSensitive;
#endif
}

QString resolvePathInFolder(const QString& folder, const QString& relative) {
    QString path = withTrailingSlash(folder);
    const QString normalised = QDir::fromNativeSeparators(relative);
    const QStringList parts = normalised.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        path = resolveInFolder(path, parts[i]);
        if (i + 1 < parts.size())
            path += QLatin1Char('/');
    }
    if (normalised.endsWith(QLatin1Char('/')) && !path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

QString lockFolderOf(const QString& dataFolder) {
    return resolvePathInFolder(dataFolder, QStringLiteral("LOCK/"));
}

QString printFolderOf(const QString& dataFolder) {
    return resolvePathInFolder(dataFolder, QStringLiteral("PRINT/"));
}

QString documentsFolderOf(const QString& dataFolder) {
    return resolvePathInFolder(dataFolder, QStringLiteral("Dokumenty/"));
}

bool existsInFolder(const QString& folder, const QString& name) {
    return QFileInfo::exists(resolveInFolder(folder, name));
}

} // namespace orvento::core
