#include "services/SharedDocuments.h"

#include "core/Database.h"
#include "core/UserInteraction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace orvento::services {

namespace {

// Two names of one file: compared as the file system resolves them (links, "..", letter case
// where the file system ignores it), not as texts.
bool sameFile(const QString& a, const QString& b) {
    std::error_code ec;
    const bool same = std::filesystem::equivalent(std::filesystem::path(a.toStdString()),
                                                  std::filesystem::path(b.toStdString()), ec);
    return !ec && same;
}

bool replaceFile(const QString& from, const QString& to) {
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(from.toStdString()),
                            std::filesystem::path(to.toStdString()), ec);
    return !ec;
}

} // namespace

QString sharedFolderMark() {
    return QStringLiteral("%SDILENA_SLOZKA%");
}

bool isSharedLink(const QString& file) {
    return file.startsWith(sharedFolderMark(), Qt::CaseInsensitive);
}

QString sharedLink(const QString& fileName) {
    return sharedFolderMark() + fileName;
}

QString expandLink(const QString& file, const QString& sharedFolder) {
    if (!isSharedLink(file))
        return file;
    // A shared link names a file of the folder itself; a stored "..\..\x" or "sub/x" would
    // reach outside it, so such a link names no file at all.
    const QString name = file.mid(sharedFolderMark().size());
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        name == QLatin1String(".") || name == QLatin1String(".."))
        return QString();
    return sharedFolder + name;
}

bool copyIntoSharedFolder(QString& link, const QString& sharedFolder, core::UserInteraction& ui) {
    const QString source = link;
    if (!QDir().mkpath(sharedFolder)) {
        ui.error(QStringLiteral("Nelze vytvořit sdílený adresář %1 pro zkopírování dokumentu.")
                     .arg(QDir::toNativeSeparators(sharedFolder)));
        return false;
    }
    const QFileInfo sourceInfo(source);
    if (!sourceInfo.isFile()) {
        ui.error(QStringLiteral("Odkaz na dokument %1 již není platný (soubor fyzicky neexistuje) "
                                "- nelze ho proto zkopírovat do sdílené složky.")
                     .arg(QDir::toNativeSeparators(source)));
        return false;
    }
    const QString target = sharedFolder + sourceInfo.fileName();
    if (sameFile(source, target)) {
        ui.error(QStringLiteral("Zdrojový odkaz dokumentu je stejný jako cílový - nelze kopírovat "
                                "soubor sám na sebe."));
        return false;
    }
    const bool targetExisted = QFileInfo::exists(target);
    if (targetExisted && !ui.question(QStringLiteral("Soubor %1 již existuje, opravdu ho chcete "
                                                     "přepsat ?")
                                          .arg(QDir::toNativeSeparators(target))))
        return false;
    const QString copyFailed =
        QStringLiteral("Při kopírování souboru %1 na %2 došlo k chybě.")
            .arg(QDir::toNativeSeparators(source), QDir::toNativeSeparators(target));
    const QString partial = target + QStringLiteral(".~part");
    QFile::remove(partial);
    if (!QFile::copy(source, partial)) {
        QFile::remove(partial);
        ui.error(copyFailed);
        return false;
    }
    if (!replaceFile(partial, target)) {
        QFile::remove(partial);
        if (targetExisted)
            ui.error(QStringLiteral("Nelze přepsat soubor (dokument) %1.")
                         .arg(QDir::toNativeSeparators(target)));
        else
            ui.error(copyFailed);
        return false;
    }
    if (!QFileInfo::exists(target)) {
        ui.error(copyFailed);
        return false;
    }
    link = sharedLink(sourceInfo.fileName());
    return true;
}

bool copyLinkedFiles(core::Database& db, const QString& table,
                     const std::vector<PendingCopy>& copies, const QString& sharedFolder,
                     core::UserInteraction& ui) {
    // (the copy, the link its row still holds) of every file now in the shared folder
    std::vector<std::pair<const PendingCopy*, QString>> copied;
    // the copies that made a file where there was none
    QStringList made;
    for (const PendingCopy& copy : copies) {
        const QString before = *copy.link;
        const QString target = sharedFolder + QFileInfo(before).fileName();
        const bool existed = QFileInfo::exists(target);
        if (copyIntoSharedFolder(*copy.link, sharedFolder, ui)) {
            copied.emplace_back(&copy, before);
            if (!existed)
                made << target;
        }
    }
    if (copied.empty())
        return true;
    const QString sql = QStringLiteral("UPDATE %1 SET Soubor = :Soubor WHERE ID = :ID").arg(table);
    const bool stored = [&] {
        core::Transaction unit(db);
        if (!unit.isActive())
            return false;
        for (const auto& [copy, before] : copied)
            if (!db.execute(sql, {{QStringLiteral("Soubor"), *copy->link},
                                  {QStringLiteral("ID"), copy->rowId}}))
                return false;
        return unit.commit();
    }();
    if (stored)
        return true;
    for (const auto& [copy, before] : copied)
        *copy->link = before;
    for (const QString& file : made)
        QFile::remove(file);
    ui.error(core::saveFailedMessage(table));
    return false;
}

bool acceptDocumentLink(const QString& link, const QString& path, bool copy,
                        core::UserInteraction& ui) {
    if (link.trimmed().isEmpty()) {
        ui.information(QStringLiteral("Není zadán odkaz na soubor."));
        return false;
    }
    if (QFileInfo(path).isFile())
        return true;
    const QString shown = QDir::toNativeSeparators(path);
    if (copy) {
        ui.warning(QStringLiteral("Zadaný odkaz na soubor %1 není platný (soubor fyzicky "
                                  "neexistuje), není možné ho proto zkopírovat.")
                       .arg(shown));
        return false;
    }
    return ui.question(QStringLiteral("Zadaný odkaz na soubor %1 není platný (soubor fyzicky "
                                      "neexistuje), opravdu chcete uložit záznam ?")
                           .arg(shown));
}

} // namespace orvento::services
