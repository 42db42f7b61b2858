#include "core/SqliteFolderStore.h"

#include "core/Database.h"
#include "core/FileLock.h"
#include "core/PathUtil.h"
#include "core/ProgramState.h"
#include "core/SchemaUpgrade.h"
#include "core/SqlDialect.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QUuid>
#include <QtEndian>

#include <cstdio>
#include <cstring>

namespace orvento::core {

namespace {

const QString kExtension = QStringLiteral(".MDB");
const QString kGlobalFile = QStringLiteral("Global.MDB");
const QString kJournalSuffix = QStringLiteral("-journal");
const QString kPartialSuffix = QStringLiteral(".part");
const QString kLockSuffix = QStringLiteral(".lck");
const QString kGlobalLockOwner = QStringLiteral("Global");
const QString kProgramLock = QStringLiteral("~program.lck");
constexpr int kStampBytes = 8;

QString fileNameOf(const DatabaseId& which) {
    return which.kind == DatabaseKind::Global ? kGlobalFile : which.agenda + kExtension;
}

} // namespace

QString SqliteFolderStore::templateFileName(DatabaseTemplate from) {
    switch (from) {
    case DatabaseTemplate::EmptyAgenda:
        return QStringLiteral("0001.res");
    case DatabaseTemplate::Global:
        return QStringLiteral("0002.res");
    case DatabaseTemplate::DemoAgenda:
        break;
    }
    return QStringLiteral("0003.res");
}

namespace {

// A lock file the holder keeps open with its lock; `removeOnRelease` for the lock files that
// exist only while held (record locks, the exclusive-operation lock), never for a `.ldb`, which
// others may be opening at that moment.
class FileLockToken final : public HeldLock::Token {
public:
    FileLockToken(FileLock lock, bool removeOnRelease)
        : m_lock(std::move(lock))
        , m_removeOnRelease(removeOnRelease) {}
    ~FileLockToken() override {
        if (m_removeOnRelease && m_lock.isHeld())
            m_lock.removeAndRelease();
    }
    FileLockToken(const FileLockToken&) = delete;
    FileLockToken& operator=(const FileLockToken&) = delete;

private:
    FileLock m_lock;
    bool m_removeOnRelease;
};

// Creates the lock file and holds it until `out` is released, when the file goes.
bool takeLockFile(const QString& path, HeldLock& out) {
    out.release();
    FileLock lock;
    if (!core::takeLockFile(path, lock))
        return false;
    out = HeldLock(std::make_unique<FileLockToken>(std::move(lock), true));
    return true;
}

QByteArray encodeStamp(double value) {
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    QByteArray bytes(kStampBytes, '\0');
    qToLittleEndian(bits, bytes.data());
    return bytes;
}

std::optional<double> decodeStamp(const QByteArray& bytes) {
    if (bytes.size() != kStampBytes)
        return std::nullopt;
    const quint64 bits = qFromLittleEndian<quint64>(bytes.constData());
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Replaces a file whole with the new one (the rename is atomic), so a reader never sees half of
// it.
bool replaceFile(const QString& replacement, const QString& path) {
    return std::rename(QFile::encodeName(replacement).constData(),
                       QFile::encodeName(path).constData()) == 0;
}

// Copies the file beside its target first, so a copy is either whole or missing.
bool copyWhole(const QString& source, const QString& target) {
    const QString partial = target + kPartialSuffix;
    QFile::remove(partial);
    const bool ok = QFile::copy(source, partial) &&
                    QFile::setPermissions(partial, QFile::permissions(partial) | QFile::WriteOwner |
                                                       QFile::ReadOwner) &&
                    replaceFile(partial, target);
    QFile::remove(partial);
    return ok;
}

} // namespace

SqliteFolderStore::SqliteFolderStore(QString dataFolder, QString programFolder)
    : m_dataFolder(withTrailingSlash(dataFolder))
    , m_programFolder(withTrailingSlash(programFolder)) {}

const SqlDialect& SqliteFolderStore::dialect() const {
    return sqliteDialect();
}

QString SqliteFolderStore::dataFolder() const {
    return m_dataFolder ? *m_dataFolder : programState().folders.data;
}

QString SqliteFolderStore::lockFolder() const {
    return m_dataFolder ? lockFolderOf(*m_dataFolder) : programState().folders.lock;
}

QString SqliteFolderStore::programFolder() const {
    return m_programFolder ? *m_programFolder : programState().folders.program;
}

QString SqliteFolderStore::filePath(const DatabaseId& which) const {
    return resolveInFolder(dataFolder(), fileNameOf(which));
}

QString SqliteFolderStore::ldbPathFor(const QString& databasePath) {
    return Database::ldbPathFor(databasePath);
}

bool SqliteFolderStore::exists(const DatabaseId& which) const {
    return existsInFolder(dataFolder(), fileNameOf(which));
}

QString SqliteFolderStore::location(const DatabaseId& which) const {
    return QDir::toNativeSeparators(filePath(which));
}

QString SqliteFolderStore::label(const DatabaseId& which) const {
    return QFileInfo(filePath(which)).fileName();
}

DatabaseId SqliteFolderStore::resolved(const DatabaseId& which) const {
    if (which.kind == DatabaseKind::Global)
        return which;
    return DatabaseId::agendaNamed(QFileInfo(filePath(which)).completeBaseName());
}

bool SqliteFolderStore::open(Database& db, const DatabaseId& which, OpenFailure* failure) {
    QString reason;
    OpenProblem problem = OpenProblem::None;
    const bool ok = openAsKind(db, filePath(which), which.kind, &reason, &problem);
    if (failure)
        *failure = {problem, reason};
    return ok;
}

std::vector<StoredDatabase> SqliteFolderStore::databases() const {
    std::vector<StoredDatabase> result;
    const QStringList files = QDir(dataFolder()).entryList(QDir::Files, QDir::Name);
    for (const QString& file : files) {
        if (!file.endsWith(kExtension, Qt::CaseInsensitive))
            continue;
        const bool global = file.compare(kGlobalFile, Qt::CaseInsensitive) == 0;
        result.push_back({global ? DatabaseId::global()
                                 : DatabaseId::agendaNamed(file.chopped(kExtension.size())),
                          file});
    }
    return result;
}

std::optional<DatabaseKind> SqliteFolderStore::kindOf(const DatabaseId& which) const {
    Database db(QStringLiteral("store-kind-") + QUuid::createUuid().toString());
    if (!db.open(filePath(which)))
        return std::nullopt;
    const auto mark = dialect().readKindMark(db);
    for (const DatabaseKind kind : {DatabaseKind::Global, DatabaseKind::Agenda}) {
        if (mark == dialect().kindMarkOf(kind))
            return kind;
    }
    return std::nullopt;
}

QString SqliteFolderStore::templateLocation(DatabaseTemplate from) const {
    const QString res = resolveInFolder(programFolder(), QStringLiteral("Res"));
    return QDir::toNativeSeparators(resolveInFolder(res, templateFileName(from)));
}

bool SqliteFolderStore::create(const DatabaseId& which, DatabaseTemplate from,
                               CreateProblem* problem) {
    const QString source = QDir::fromNativeSeparators(templateLocation(from));
    auto outcome = [&](CreateProblem value) {
        if (problem)
            *problem = value;
        return value == CreateProblem::None;
    };
    if (!QFileInfo::exists(source))
        return outcome(CreateProblem::TemplateMissing);
    // Copied beside the target first and renamed, so an interrupted copy never leaves a half
    // database under the real name.
    const QString target = filePath(which);
    if (!copyWhole(source, target) || !QFileInfo::exists(target))
        return outcome(CreateProblem::Failed);
    return outcome(CreateProblem::None);
}

bool SqliteFolderStore::remove(const DatabaseId& which) {
    const QString path = filePath(which);
    // Nobody may have the agenda open: on this file system a file that another workstation has
    // open would be unlinked under it and its work lost. The exclusive lock on the companion
    // .ldb also keeps others from opening it while it goes.
    FileLock guard;
    if (FileLock::acquire(ldbPathFor(path), FileLock::Mode::Exclusive, true, guard) !=
        FileLock::Result::Taken)
        return false;
    QFile::remove(path);
    if (QFileInfo::exists(path))
        return false;
    // A journal left by a crash would otherwise be played into a new agenda of the same name.
    QFile::remove(path + kJournalSuffix);
    guard.removeAndRelease();
    return true;
}

bool SqliteFolderStore::rename(const DatabaseId& which, const QString& newAgenda) {
    const DatabaseId renamed = DatabaseId::agendaNamed(newAgenda);
    if (which.kind != DatabaseKind::Agenda || newAgenda.isEmpty() || !exists(which) ||
        exists(renamed))
        return false;
    const QString path = filePath(which);
    const QString target = filePath(renamed);
    // Held across the rename so that nobody opens the agenda under its old name meanwhile.
    FileLock guard;
    if (FileLock::acquire(ldbPathFor(path), FileLock::Mode::Exclusive, true, guard) !=
        FileLock::Result::Taken)
        return false;
    // A journal belongs to its database: it moves first, or comes back when the move fails.
    const QString journal = path + kJournalSuffix;
    const bool hasJournal = QFileInfo::exists(journal);
    if (hasJournal && !QFile::rename(journal, target + kJournalSuffix))
        return false;
    if (!QFile::rename(path, target)) {
        if (hasJournal)
            QFile::rename(target + kJournalSuffix, journal);
        return false;
    }
    guard.removeAndRelease();
    return true;
}

std::optional<QString> SqliteFolderStore::freeAgendaName(int limit) const {
    for (int n = 1; n <= limit; ++n) {
        const QString name = QStringLiteral("Firma%1").arg(n);
        if (!exists(DatabaseId::agendaNamed(name)))
            return name;
    }
    return std::nullopt;
}

bool SqliteFolderStore::openedElsewhere(const DatabaseId& which) const {
    return Database::openedElsewhere(filePath(which));
}

bool SqliteFolderStore::takeExclusiveUse(const DatabaseId& which, HeldLock& out) {
    out.release();
    FileLock lock;
    if (FileLock::acquire(ldbPathFor(filePath(which)), FileLock::Mode::Exclusive, true, lock) !=
        FileLock::Result::Taken)
        return false;
    out = HeldLock(std::make_unique<FileLockToken>(std::move(lock), false));
    return true;
}

QString SqliteFolderStore::recordLockLocation(const RecordRef& record) const {
    const QString owner = record.agenda.isEmpty() ? kGlobalLockOwner : record.agenda;
    return lockFolder() + QLatin1Char('~') + owner + QLatin1Char('~') + record.table +
           QLatin1Char('~') + QString::number(record.id) + kLockSuffix;
}

bool SqliteFolderStore::recordLockHeldElsewhere(const RecordRef& record) {
    return lockFileHeldElsewhere(recordLockLocation(record));
}

bool SqliteFolderStore::takeRecordLock(const RecordRef& record, HeldLock& out) {
    return takeLockFile(recordLockLocation(record), out);
}

std::set<qint64> SqliteFolderStore::recordsWithLocks(const QString& agenda,
                                                     const QString& table) const {
    // One look at the folder: most rows have no lock file, and a file test per row of a sheet
    // with thousands of items would cost far more.
    const QFileInfo sample(recordLockLocation({agenda, table, 0}));
    const QString prefix = sample.fileName().chopped(1 + kLockSuffix.size());
    const QStringList present =
        QDir(sample.path()).entryList({prefix + QLatin1Char('*') + kLockSuffix}, QDir::Files);
    std::set<qint64> ids;
    for (const QString& file : present) {
        bool number = false;
        const qint64 id = file.mid(prefix.size(), file.size() - prefix.size() - kLockSuffix.size())
                              .toLongLong(&number);
        if (number)
            ids.insert(id);
    }
    return ids;
}

QString SqliteFolderStore::exclusiveLockLocation() const {
    return lockFolder() + kProgramLock;
}

bool SqliteFolderStore::exclusiveLockHeldElsewhere() {
    return lockFileHeldElsewhere(exclusiveLockLocation());
}

bool SqliteFolderStore::takeExclusiveLock(HeldLock& out) {
    QDir().mkpath(lockFolder());
    return takeLockFile(exclusiveLockLocation(), out);
}

QString SqliteFolderStore::stampFilePath(const QString& agenda, StampedTable table) const {
    return lockFolder() + QStringLiteral("0%1").arg(static_cast<int>(table) + 1) + agenda +
           QStringLiteral(".tsf");
}

bool SqliteFolderStore::stampExists(const QString& agenda, StampedTable table) const {
    return QFile::exists(stampFilePath(agenda, table));
}

std::optional<double> SqliteFolderStore::readStamp(const QString& agenda,
                                                   StampedTable table) const {
    QFile file(stampFilePath(agenda, table));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return decodeStamp(file.read(kStampBytes));
}

// It is not forced to the disk: a stamp lost in a power cut only makes a list miss one reload,
// and waiting for the disk after every unit of work would cost more than many writes.
double SqliteFolderStore::writeStamp(const QString& agenda, StampedTable table, double value) {
    const QString path = stampFilePath(agenda, table);
    const QString temporary =
        path + QStringLiteral(".%1.tmp").arg(QCoreApplication::applicationPid());
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return value;
    const bool written = file.write(encodeStamp(value)) == kStampBytes;
    file.close();
    if (!written || !replaceFile(temporary, path))
        QFile::remove(temporary);
    return value;
}

void SqliteFolderStore::removeStamps(const QString& agenda) {
    for (StampedTable t : {StampedTable::Adresar, StampedTable::Zasoby, StampedTable::Skupiny})
        QFile::remove(stampFilePath(agenda, t));
}

bool SqliteFolderStore::copyTo(const DatabaseId& which, const QString& target) {
    const QString path = filePath(which);
    const QString journal = path + kJournalSuffix;
    // A journal left by a crash is part of the database: without it the copy could hold half a
    // unit of work.
    return copyWhole(path, target) &&
           (!QFileInfo::exists(journal) || copyWhole(journal, target + kJournalSuffix));
}

bool SqliteFolderStore::restoreFrom(const DatabaseId& which, const QString& copy) {
    if (!QFileInfo(copy).isFile())
        return false;
    const QString path = filePath(which);
    const QString partial = path + kPartialSuffix;
    QFile::remove(partial);
    if (!QFile::copy(copy, partial)) {
        QFile::remove(partial);
        return false;
    }
    QFile::setPermissions(partial,
                          QFile::permissions(partial) | QFile::WriteOwner | QFile::ReadOwner);
    // The database's own journal would be played into the restored file at its next opening.
    QFile::remove(path + kJournalSuffix);
    if (!replaceFile(partial, path)) {
        QFile::remove(partial);
        return false;
    }
    const QString copyJournal = copy + kJournalSuffix;
    return !QFileInfo::exists(copyJournal) || copyWhole(copyJournal, path + kJournalSuffix);
}

QStringList SqliteFolderStore::integrityProblems(Database& db) const {
    // The check answers one row "ok" or one row per problem.
    QSqlQuery rows = db.select(dialect().integrityCheck());
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

bool SqliteFolderStore::rebuildIndexes(Database& db) const {
    return db.executeDdl(dialect().rebuildIndexes());
}

bool SqliteFolderStore::compact(Database& db) const {
    return db.executeDdl(dialect().compact());
}

qint64 SqliteFolderStore::sizeOf(const DatabaseId& which) const {
    return QFileInfo(filePath(which)).size();
}

namespace {

const QString kAsideSuffix = QStringLiteral(".old");
constexpr int kProblemsShown = 5;

QString scratchConnectionName(const char* purpose) {
    return QLatin1String(purpose) + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

} // namespace

bool SqliteFolderStore::snapshotTo(const DatabaseId& which, const QString& target, QString* error) {
    QFile::remove(target);
    Database db(scratchConnectionName("snapshot-"), dialect());
    QString reason;
    if (!openAsKind(db, filePath(which), which.kind, &reason)) {
        if (error)
            *error = reason;
        return false;
    }
    // The engine writes a copy of the last committed state; a hot journal is played back first.
    const bool ok = db.execute(QStringLiteral("VACUUM INTO :target"),
                               {{QStringLiteral("target"), QDir::toNativeSeparators(target)}});
    if (!ok && error)
        *error = db.lastError();
    db.close();
    if (!ok)
        QFile::remove(target);
    return ok;
}

QString SqliteFolderStore::stagingLocation() const {
    return dataFolder();
}

DataStore::CopyCheck SqliteFolderStore::checkCopy(DatabaseKind kind, const QString& path) const {
    CopyCheck check;
    Database db(scratchConnectionName("check-"), dialect());
    OpenProblem problem = OpenProblem::None;
    if (!openAsKind(db, path, kind, &check.detail, &problem)) {
        check.problem = problem == OpenProblem::WrongKind ? CopyCheck::Problem::WrongKind
                        : problem == OpenProblem::Damaged ? CopyCheck::Problem::Damaged
                                                          : CopyCheck::Problem::Other;
        return check;
    }
    const QStringList problems = integrityProblems(db);
    if (!problems.isEmpty()) {
        check.problem = CopyCheck::Problem::Damaged;
        check.detail = problems.mid(0, kProblemsShown).join(QLatin1Char('\n'));
        return check;
    }
    const std::optional<int> stored = storedSchemaVersion(db);
    if (!stored) {
        check.problem = CopyCheck::Problem::Damaged;
        check.detail = db.lastError();
    } else if (*stored > currentSchemaVersion(kind)) {
        check.problem = CopyCheck::Problem::Newer;
        check.storedVersion = *stored;
    }
    return check;
}

bool SqliteFolderStore::putInPlace(const DatabaseId& which, const QString& checkedFile) {
    if (!QFileInfo(checkedFile).isFile())
        return false;
    const QString path = filePath(which);
    const QString journal = path + kJournalSuffix;
    const QString aside = journal + kAsideSuffix;
    // A journal beside the old file would be played into the new one at its next opening and
    // roll it back with the old file's pages; it is moved aside first and put back only when the
    // new file cannot be put in place.
    QFile::remove(aside);
    const bool hadJournal = QFileInfo::exists(journal);
    if (hadJournal && !replaceFile(journal, aside))
        return false;
    if (!replaceFile(checkedFile, path)) {
        if (hadJournal)
            replaceFile(aside, journal);
        return false;
    }
    QFile::remove(aside);
    return true;
}

} // namespace orvento::core
