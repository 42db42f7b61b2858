#include "services/DatabaseMaintenance.h"

#include "core/Database.h"
#include "core/PathUtil.h"
#include "core/ProgramState.h"
#include "core/Schema.h"
#include "core/StoreChoice.h"

#include <QDateTime>
#include <QDir>
#include <QUuid>

#include <algorithm>

namespace orvento::services {

using namespace core;

namespace {

QString kilobytes(qint64 bytes) {
    return QStringLiteral("%1 kB").arg((bytes + 1023) / 1024);
}

QString copyFolderIn(const QString& dataFolder) {
    return withTrailingSlash(dataFolder) + QStringLiteral("ZALOHY_DB/") +
           QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")) +
           QLatin1Char('/');
}

// A database of ours is of the kind its name says; one that says otherwise is a foreign file.
DatabaseMaintenance::FileKind kindOf(const DataStore& store, const DatabaseId& id) {
    const auto kind = store.kindOf(id);
    if (!kind || *kind != id.kind)
        return DatabaseMaintenance::FileKind::Unknown;
    return *kind == DatabaseKind::Global ? DatabaseMaintenance::FileKind::Global
                                         : DatabaseMaintenance::FileKind::Agenda;
}

} // namespace

DatabaseMaintenance::DatabaseMaintenance(QString dataFolder)
    : m_copyFolder(copyFolderIn(dataFolder)) {
    StoreChoice choice = storeOfDataFolder(dataFolder, programState().folders.program);
    m_ownStore = std::move(choice.store);
    m_store = m_ownStore.get();
    m_problem = choice.problem;
}

DatabaseMaintenance::DatabaseMaintenance(DataStore& store, QString copyFolder)
    : m_store(&store)
    , m_copyFolder(withTrailingSlash(copyFolder)) {}

std::vector<DatabaseMaintenance::Entry> DatabaseMaintenance::databases() const {
    std::vector<Entry> result;
    if (!m_store)
        return result;
    for (const StoredDatabase& stored : m_store->databases())
        result.push_back(Entry{stored.label, kindOf(*m_store, stored.id), stored.id});
    std::stable_sort(result.begin(), result.end(), [](const Entry& a, const Entry& b) {
        return (a.kind == FileKind::Global) > (b.kind == FileKind::Global);
    });
    return result;
}

bool DatabaseMaintenance::beginExclusive() {
    return m_store && m_store->takeExclusiveLock(m_programLock);
}

void DatabaseMaintenance::endExclusive() {
    m_programLock.release();
}

DatabaseMaintenance::Result DatabaseMaintenance::maintain(const QString& fileName) const {
    Result result;
    result.fileName = fileName;
    if (!m_store) {
        result.detail = m_problem;
        return result;
    }
    const auto stored = m_store->databases();
    const auto found = std::find_if(stored.begin(), stored.end(),
                                    [&](const StoredDatabase& s) { return s.label == fileName; });
    if (found == stored.end()) {
        result.status = Status::NotADatabase;
        return result;
    }
    const DatabaseId id = found->id;
    result.sizeBefore = m_store->sizeOf(id);

    // Held for the whole run: nobody may open the database while it is copied and rewritten.
    HeldLock guard;
    if (!m_store->takeExclusiveUse(id, guard)) {
        result.status = Status::InUse;
        return result;
    }
    Database db(QStringLiteral("maintenance-") + QUuid::createUuid().toString(),
                m_store->dialect());
    OpenFailure failure;
    if (!m_store->open(db, id, &failure)) {
        result.status = Status::NotADatabase;
        if (failure.problem != OpenProblem::WrongKind)
            result.detail = failure.reason;
        return result;
    }

    QDir().mkpath(m_copyFolder);
    result.copyPath = m_copyFolder + fileName;
    if (!m_store->copyTo(id, result.copyPath)) {
        result.status = Status::Failed;
        result.detail = QStringLiteral("kopii souboru nelze vytvořit");
        result.copyPath.clear();
        return result;
    }

    QStringList problems = m_store->integrityProblems(db);
    bool repaired = false;
    if (!problems.isEmpty()) {
        // Damaged indexes are the damage a rebuild can cure; the data themselves stay as they are.
        m_store->rebuildIndexes(db);
        problems = m_store->integrityProblems(db);
        repaired = problems.isEmpty();
    }
    if (!problems.isEmpty()) {
        result.status = Status::Damaged;
        result.detail = problems.mid(0, 5).join(QLatin1Char('\n'));
        db.close();
        result.sizeAfter = m_store->sizeOf(id);
        return result;
    }
    if (!m_store->compact(db)) {
        result.status = Status::Failed;
        result.detail = db.lastError();
        db.close();
        result.sizeAfter = m_store->sizeOf(id);
        return result;
    }
    db.close();
    result.sizeAfter = m_store->sizeOf(id);
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
