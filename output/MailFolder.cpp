#include "output/MailFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace orvento::output {

namespace {

const QString kPrefix = QStringLiteral("zprava-");
constexpr QFileDevice::Permissions kOwnerOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

} // namespace

QString MailFolder::defaultRoot() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/orvento/mail");
}

void MailFolder::removeOld(const QString& root) {
    const QDateTime limit = QDateTime::currentDateTime().addDays(-kKeepDays);
    const QDir dir(root);
    for (const QFileInfo& info :
         dir.entryInfoList({kPrefix + QLatin1Char('*')}, QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (info.lastModified() < limit && !info.isSymLink())
            QDir(info.absoluteFilePath()).removeRecursively();
    }
}

std::optional<MailFolder> MailFolder::create(const QString& root) {
    const QString base = root.isEmpty() ? defaultRoot() : root;
    if (!QDir().mkpath(base))
        return std::nullopt;
    QFile::setPermissions(base, kOwnerOnly);
    removeOld(base);
    // A name nobody can foresee, made with mode 0700, and kept after this object: the compose
    // window may read its files for a long time.
    QTemporaryDir dir(base + QLatin1Char('/') + kPrefix + QStringLiteral("XXXXXX"));
    if (!dir.isValid())
        return std::nullopt;
    dir.setAutoRemove(false);
    return MailFolder(dir.path() + QLatin1Char('/'));
}

QString MailFolder::safeName(const QString& file) const {
    const QFileInfo info(file);
    QString name = info.fileName();
    if (!name.contains(QLatin1Char(',')) && !name.contains(QLatin1Char('\'')))
        return file;
    name.replace(QLatin1Char(','), QLatin1Char('_')).replace(QLatin1Char('\''), QLatin1Char('_'));
    QString target = m_path + name;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = m_path + QStringLiteral("%1-%2").arg(n).arg(name);
    return QFile::copy(file, target) ? target : QString();
}

} // namespace orvento::output
