#include "services/DataFolderMigration.h"

#include "core/ConnectionFile.h"
#include "core/Database.h"
#include "core/PathUtil.h"
#include "core/Schema.h"
#include "core/SchemaUpgrade.h"
#include "core/SqlDialect.h"
#include "core/SqliteFolderStore.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlRecord>
#include <QUuid>

namespace orvento::services {

using namespace core;

namespace {

const QString kMovedSuffix = QStringLiteral(".presunuto");

QString connectionName(const QString& purpose) {
    return QStringLiteral("migration-%1-%2").arg(purpose, QUuid::createUuid().toString());
}

// Table and column names go into the statements' text; they come from our own schema, and
// anything else is refused rather than pasted.
bool isPlainName(const QString& name) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return plain.match(name).hasMatch();
}

bool copyTable(Database& from, Database& to, const QString& table, QString& problem) {
    const QSqlRecord columns = from.handle().record(table);
    QStringList names;
    QStringList placeholders;
    for (int i = 0; i < columns.count(); ++i) {
        if (!isPlainName(columns.fieldName(i))) {
            problem = QStringLiteral("sloupec \"%1\" tabulky %2 má nečekaný název")
                          .arg(columns.fieldName(i), table);
            return false;
        }
        names << columns.fieldName(i);
        placeholders << QStringLiteral(":p%1").arg(i);
    }
    Transaction unit(to);
    if (!to.execute(QStringLiteral("DELETE FROM %1").arg(table))) {
        problem = to.lastError();
        return false;
    }
    Statement insert(to, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                             .arg(table, names.join(QStringLiteral(", ")),
                                  placeholders.join(QStringLiteral(", "))));
    QSqlQuery rows = from.select(
        QStringLiteral("SELECT %1 FROM %2").arg(names.join(QStringLiteral(", ")), table));
    if (!rows.isActive()) {
        problem = from.lastError();
        return false;
    }
    SqlParams values(static_cast<size_t>(names.size()));
    for (qsizetype i = 0; i < names.size(); ++i)
        values[static_cast<size_t>(i)].first = QStringLiteral("p%1").arg(i);
    while (rows.next()) {
        for (qsizetype i = 0; i < names.size(); ++i) {
            // A NULL stays NULL: the data layer binds a null text as an empty one otherwise.
            const QVariant value = rows.value(static_cast<int>(i));
            values[static_cast<size_t>(i)].second = value.isNull() ? QVariant() : value;
        }
        if (!insert.exec(values)) {
            problem = insert.lastError();
            return false;
        }
    }
    if (rows.lastError().isValid()) {
        problem = rows.lastError().text();
        return false;
    }
    // A server's ID counter is moved past the IDs copied with their values.
    if (columns.contains(QStringLiteral("ID")) && !to.dialect().reseatCounter(to, table)) {
        problem = to.lastError();
        return false;
    }
    if (!unit.commit()) {
        problem = to.lastError();
        return false;
    }
    return true;
}

DatabaseTemplate templateOf(DatabaseKind kind) {
    return kind == DatabaseKind::Global ? DatabaseTemplate::Global : DatabaseTemplate::EmptyAgenda;
}

} // namespace

bool copyAllTables(Database& from, Database& to, QString* problem) {
    for (const QString& table : from.tableNames()) {
        QString why;
        if (!isPlainName(table))
            why = QStringLiteral("nečekaný název tabulky");
        else if (!to.hasTable(table))
            why = QStringLiteral("cílová databáze tabulku nemá");
        if (why.isEmpty() && copyTable(from, to, table, why))
            continue;
        if (problem)
            *problem = QStringLiteral("tabulka %1: %2").arg(table, why);
        return false;
    }
    return true;
}

DataFolderMigration::DataFolderMigration(DataStore& source, DataStore& target, Progress progress)
    : m_source(source)
    , m_target(target)
    , m_progress(std::move(progress)) {}

bool DataFolderMigration::fail(const QString& problem) {
    m_problem = problem;
    return false;
}

bool DataFolderMigration::begin() {
    if (!m_source.takeExclusiveLock(m_exclusive))
        return fail(QStringLiteral(
            "Na některé stanici v síti nyní probíhá operace, která vyžaduje jedinečný přístup "
            "(např. zálohování). Počkejte na dokončení a zkuste to znovu."));
    m_databases.clear();
    for (const StoredDatabase& stored : m_source.databases()) {
        if (stored.id.kind == DatabaseKind::Global)
            m_databases.insert(m_databases.begin(), stored);
        else
            m_databases.push_back(stored);
    }
    if (m_databases.empty() || m_databases.front().id.kind != DatabaseKind::Global)
        return fail(QStringLiteral("V datové složce není hlavní databáze programu."));
    if (const auto there = m_target.databases(); !there.empty())
        return fail(QStringLiteral("V cílové databázi už data programu jsou (%1). Převod by je "
                                   "přepsal; použijte prázdnou databázi.")
                        .arg(there.front().label));
    for (const StoredDatabase& stored : m_databases) {
        if (!checkSource(stored))
            return false;
    }
    return true;
}

bool DataFolderMigration::checkSource(const StoredDatabase& stored) {
    HeldLock inUse;
    if (!m_source.takeExclusiveUse(stored.id, inUse))
        return fail(QStringLiteral("Databázi %1 má otevřenou jiná stanice. Ukončete program na "
                                   "všech stanicích a zkuste to znovu.")
                        .arg(stored.label));
    m_inUse.push_back(std::move(inUse));
    Database db(connectionName(QStringLiteral("check")), m_source.dialect());
    OpenFailure failure;
    if (m_source.kindOf(stored.id) != stored.id.kind || !m_source.open(db, stored.id, &failure))
        return fail(QStringLiteral("Databázi %1 nelze přečíst%2. Opravte ji v nástroji Správa "
                                   "databází, nebo ji z datové složky odstraňte.")
                        .arg(stored.label, failure.reason.isEmpty()
                                               ? QString()
                                               : QStringLiteral(" (%1)").arg(failure.reason)));
    const auto version = storedSchemaVersion(db);
    const int program = currentSchemaVersion(stored.id.kind);
    if (!version || *version > program)
        return fail(QStringLiteral("Databáze %1 je jiné verze (%2), než s jakou pracuje tento "
                                   "program (%3).")
                        .arg(stored.label)
                        .arg(version.value_or(0))
                        .arg(program));
    if (*version < program)
        return fail(QStringLiteral("Databáze %1 potřebuje převod na novou verzi programu. Otevřete "
                                   "ji nejprve v programu, převod proběhne při jejím otevření.")
                        .arg(stored.label));
    return true;
}

bool DataFolderMigration::copy() {
    for (size_t i = 0; i < m_databases.size(); ++i) {
        const StoredDatabase& stored = m_databases[i];
        if (m_progress)
            m_progress(
                QStringLiteral("[%1/%2] %3").arg(i + 1).arg(m_databases.size()).arg(stored.label));
        if (!copyOne(stored)) {
            removeCopies();
            return false;
        }
    }
    return true;
}

bool DataFolderMigration::copyOne(const StoredDatabase& stored) {
    const DatabaseId& id = stored.id;
    DataStore::CreateProblem created = DataStore::CreateProblem::None;
    if (!m_target.create(id, templateOf(id.kind), &created))
        return fail(created == DataStore::CreateProblem::NoRight
                        ? m_target.noRightToCreateMessage()
                        : QStringLiteral("Databázi %1 se v cíli nepodařilo založit (%2).")
                              .arg(stored.label, m_target.location(id)));
    m_made.push_back(id);
    Database from(connectionName(QStringLiteral("from")), m_source.dialect());
    Database to(connectionName(QStringLiteral("to")), m_target.dialect());
    OpenFailure failure;
    if (!m_source.open(from, id, &failure) || !m_target.open(to, id, &failure))
        return fail(
            QStringLiteral("Databázi %1 nelze otevřít: %2").arg(stored.label, failure.reason));
    QString problem;
    if (!copyAllTables(from, to, &problem))
        return fail(
            QStringLiteral("Databázi %1 se nepodařilo přenést, %2").arg(stored.label, problem));
    qint64 rows = 0;
    for (const QString& table : from.tableNames()) {
        const auto count = from.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table));
        const auto copied = to.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table));
        if (!count || !copied || count->toLongLong() != copied->toLongLong())
            return fail(QStringLiteral("Databázi %1 se nepodařilo přenést celou (tabulka %2).")
                            .arg(stored.label, table));
        rows += count->toLongLong();
    }
    m_moved.push_back({stored, rows});
    return true;
}

void DataFolderMigration::removeCopies() {
    for (auto it = m_made.rbegin(); it != m_made.rend(); ++it)
        m_target.remove(*it);
    m_made.clear();
    m_moved.clear();
}

void DataFolderMigration::end() {
    m_inUse.clear();
    m_exclusive.release();
}

QString movedAsideName(const QString& fileName) {
    return fileName + kMovedSuffix;
}

namespace {

// A global database of a version no program opens, made beside the folder's files.
bool makeStandIn(const QString& dataFolder, const QString& programFolder, QString& path) {
    const QString staging = withTrailingSlash(dataFolder) + QStringLiteral("~presun-") +
                            QUuid::createUuid().toString(QUuid::Id128) + QLatin1Char('/');
    if (!QDir().mkpath(staging + QStringLiteral("LOCK")))
        return false;
    bool made = false;
    {
        SqliteFolderStore store(staging, programFolder);
        Database db(connectionName(QStringLiteral("standin")), store.dialect());
        made = store.create(DatabaseId::global(), DatabaseTemplate::Global) &&
               store.open(db, DatabaseId::global()) &&
               writeSchemaVersion(db, kMovedToServerVersion);
        db.close();
        if (made) {
            path = withTrailingSlash(dataFolder) + QStringLiteral("~presun-Global.MDB");
            QFile::remove(path);
            made = QFile::rename(store.filePath(DatabaseId::global()), path);
        }
    }
    QDir(staging).removeRecursively();
    return made;
}

} // namespace

bool switchFolderToServer(const QString& dataFolder, const QString& programFolder,
                          const std::vector<StoredDatabase>& moved, const ServerConnection& server,
                          QString* problem) {
    const QString folder = withTrailingSlash(dataFolder);
    std::vector<std::pair<QString, QString>> renamed; // done, to be undone on a failure
    QString globalFile;
    const auto undo = [&](const QString& why) {
        if (!globalFile.isEmpty())
            QFile::remove(globalFile);
        for (auto it = renamed.rbegin(); it != renamed.rend(); ++it)
            QFile::rename(it->second, it->first);
        if (problem)
            *problem = why;
        return false;
    };
    QString standIn;
    if (!makeStandIn(folder, programFolder, standIn))
        return undo(QStringLiteral("Náhradní hlavní databázi se nepodařilo vytvořit."));
    for (const StoredDatabase& database : moved) {
        const QString file = resolveInFolder(folder, database.label);
        const QString aside = movedAsideName(file);
        if (QFile::exists(aside) || !QFile::rename(file, aside)) {
            QFile::remove(standIn);
            return undo(QStringLiteral("Soubor %1 se nepodařilo přejmenovat na %2.")
                            .arg(QDir::toNativeSeparators(file), QDir::toNativeSeparators(aside)));
        }
        renamed.emplace_back(file, aside);
        if (database.id.kind == DatabaseKind::Global)
            globalFile = file;
    }
    if (globalFile.isEmpty() || !QFile::rename(standIn, globalFile)) {
        QFile::remove(standIn);
        globalFile.clear();
        return undo(QStringLiteral("Náhradní hlavní databázi se nepodařilo uložit."));
    }
    QString why;
    if (!writeConnectionFile(folder, server, &why))
        return undo(why);
    return true;
}

} // namespace orvento::services
