#include "services/DatabaseMaintenance.h"

#include "core/Database.h"
#include "core/PathUtil.h"
#include "core/Schema.h"
#include "services/Workstations.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QUuid>

#include <algorithm>

namespace orvento::services {

using namespace core;

namespace {

QString kilobytes(qint64 bytes) {
    return QStringLiteral("%1 kB").arg((bytes + 1023) / 1024);
}

// `PRAGMA integrity_check` answers one row "ok" or one row per problem.
QStringList integrityProblems(Database& db) {
    QSqlQuery rows = db.select(QStringLiteral("PRAGMA integrity_check"));
    if (!rows.isActive())
        return {db.lastError()};
    QStringList problems;
    while (rows.next()) {
        const QString line = rows.value(0).toString();
        if (line.compare(QStringLiteral("ok"), Qt::CaseInsensitive) != 0)
            problems << line;
    }
    return problems;
}

DatabaseMaintenance::FileKind kindOf(Database& db) {
    const auto id = applicationIdOfOpen(db);
    if (id == applicationIdOf(DatabaseKind::Global))
        return DatabaseMaintenance::FileKind::Global;
    if (id == applicationIdOf(DatabaseKind::Agenda))
        return DatabaseMaintenance::FileKind::Agenda;
    return DatabaseMaintenance::FileKind::Unknown;
}

// Copies the file beside its target first, so a copy is either whole or missing.
bool copyWhole(const QString& source, const QString& target) {
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    const bool ok = QFile::copy(source, partial) && QFile::rename(partial, target);
    QFile::remove(partial);
    return ok;
}

} // namespace

DatabaseMaintenance::DatabaseMaintenance(QString dataFolder)
    : m_dataFolder(withTrailingSlash(dataFolder))
    , m_copyFolder(m_dataFolder + QStringLiteral("ZALOHY_DB/") +
                   QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")) +
                   QLatin1Char('/')) {}

std::vector<DatabaseMaintenance::Entry> DatabaseMaintenance::databases() const {
    std::vector<Entry> result;
    const QStringList files = QDir(m_dataFolder).entryList(QDir::Files, QDir::Name);
    for (const QString& file : files) {
        if (!file.endsWith(QStringLiteral(".MDB"), Qt::CaseInsensitive))
            continue;
        Entry entry{file, FileKind::Unknown};
        Database db(QStringLiteral("maintenance-list-") + QUuid::createUuid().toString());
        if (db.open(m_dataFolder + file))
            entry.kind = kindOf(db);
        db.close();
        result.push_back(entry);
    }
    std::stable_sort(result.begin(), result.end(), [](const Entry& a, const Entry& b) {
        return (a.kind == FileKind::Global) > (b.kind == FileKind::Global);
    });
    return result;
}

bool DatabaseMaintenance::beginExclusive() {
    const QString lock = programLockPathIn(m_dataFolder);
    QDir().mkpath(QFileInfo(lock).absolutePath());
    return FileLock::acquire(lock, FileLock::Mode::Exclusive, true, m_programLock) ==
           FileLock::Result::Taken;
}

void DatabaseMaintenance::endExclusive() {
    if (m_programLock.isHeld())
        m_programLock.removeAndRelease();
}

DatabaseMaintenance::Result DatabaseMaintenance::maintain(const QString& fileName) const {
    Result result;
    result.fileName = fileName;
    const QString path = m_dataFolder + fileName;
    result.sizeBefore = QFileInfo(path).size();

    // Held for the whole run: nobody may open the database while it is copied and rewritten.
    FileLock guard;
    if (FileLock::acquire(Database::ldbPathFor(path), FileLock::Mode::Exclusive, true, guard) !=
        FileLock::Result::Taken) {
        result.status = Status::InUse;
        return result;
    }
    // The connection does without its own shared lock on the .ldb: the guard says more.
    Database db(QStringLiteral("maintenance-") + QUuid::createUuid().toString());
    if (!db.open(path)) {
        result.status = Status::NotADatabase;
        result.detail = db.lastError();
        return result;
    }
    if (kindOf(db) == FileKind::Unknown) {
        result.status = Status::NotADatabase;
        return result;
    }

    QDir().mkpath(m_copyFolder);
    result.copyPath = m_copyFolder + fileName;
    const QString journal = path + QStringLiteral("-journal");
    if (!copyWhole(path, result.copyPath) ||
        (QFileInfo::exists(journal) &&
         !copyWhole(journal, result.copyPath + QStringLiteral("-journal")))) {
        result.status = Status::Failed;
        result.detail = QStringLiteral("kopii souboru nelze vytvořit");
        result.copyPath.clear();
        return result;
    }

    QStringList problems = integrityProblems(db);
    bool repaired = false;
    if (!problems.isEmpty()) {
        // Damaged indexes are the damage a rebuild can cure; the data themselves stay as they are.
        db.executeDdl(QStringLiteral("REINDEX"));
        problems = integrityProblems(db);
        repaired = problems.isEmpty();
    }
    if (!problems.isEmpty()) {
        result.status = Status::Damaged;
        result.detail = problems.mid(0, 5).join(QLatin1Char('\n'));
        db.close();
        result.sizeAfter = QFileInfo(path).size();
        return result;
    }
    if (!db.executeDdl(QStringLiteral("VACUUM"))) {
        result.status = Status::Failed;
        result.detail = db.lastError();
        db.close();
        result.sizeAfter = QFileInfo(path).size();
        return result;
    }
    db.close();
    result.sizeAfter = QFileInfo(path).size();
    result.status = repaired ? Status::Repaired : Status::Ok;
    return result;
}

QString DatabaseMaintenance::kindText(FileKind kind) {
    switch (kind) {
    case FileKind::Global:
        return QStringLiteral("hlavní databáze");
    case FileKind::Agenda:
        return QStringLiteral("databáze firmy");
    case FileKind::Unknown:
        break;
    }
    return QStringLiteral("neznámý soubor");
}

QString DatabaseMaintenance::describe(const Result& r) {
    const QString copy = r.copyPath.isEmpty() ? QString()
                                              : QStringLiteral(" Kopie původního souboru: %1.")
                                                    .arg(QDir::toNativeSeparators(r.copyPath));
    switch (r.status) {
    case Status::Ok:
        return QStringLiteral("%1: databáze je v pořádku, zkomprimována z %2 na %3.%4")
            .arg(r.fileName, kilobytes(r.sizeBefore), kilobytes(r.sizeAfter), copy);
    case Status::Repaired:
        return QStringLiteral("%1: poškozené indexy byly obnoveny, databáze je nyní v pořádku a "
                              "byla zkomprimována z %2 na %3.%4")
            .arg(r.fileName, kilobytes(r.sizeBefore), kilobytes(r.sizeAfter), copy);
    case Status::Damaged:
        return QStringLiteral("%1: databáze je poškozena a nepodařilo se ji opravit. Obnovte ji ze "
                              "zálohy.%2\n%3")
            .arg(r.fileName, copy, r.detail);
    case Status::InUse:
        return QStringLiteral("%1: databáze je otevřena na jiné stanici, nebyla změněna. Ukončete "
                              "program na všech stanicích a zkuste to znovu.")
            .arg(r.fileName);
    case Status::NotADatabase:
        return QStringLiteral("%1: soubor není databází programu, nebyl změněn.").arg(r.fileName);
    case Status::Failed:
        break;
    }
    return QStringLiteral("%1: údržba se nezdařila (%2).%3").arg(r.fileName, r.detail, copy);
}

} // namespace orvento::services
