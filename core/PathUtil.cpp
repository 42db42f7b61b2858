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

bool existsInFolder(const QString& folder, const QString& name) {
    return QFileInfo::exists(resolveInFolder(folder, name));
}

} // namespace orvento::core
