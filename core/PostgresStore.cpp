#include "core/PostgresStore.h"

#include "core/Database.h"
#include "core/DatabaseCopy.h"
#include "core/PathUtil.h"
#include "core/ProgramState.h"
#include "core/SchemaUpgrade.h"
#include "core/SqlDialect.h"
#include "core/SqliteFolderStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QThread>
#include <QUuid>

#include <algorithm>
#include <map>
#include <set>
#include <utility>

namespace orvento::core {

using postgres::LockKey;
using postgres::LockPurpose;
using postgres::quotedIdentifier;

namespace {

const QString kExtension = QStringLiteral(".MDB");
const QString kGlobalName = QStringLiteral("Global");
const QString kAgendaSchemaPrefix = QStringLiteral("agenda_");
const QString kPartialSuffix = QStringLiteral(".part");
// The name under which the exclusive-operation lock is keyed.
const QString kProgramLockName = QStringLiteral("program");

// What a database that lacks the bookkeeping gets, in one unit of work. The functions are those
// the program's statements call on every engine: CZECH_FIND folds the case of every alphabet
// (with the Czech collation's rules) and AMOUNT_TEXT writes an amount as the lists show it.
const char* const kCatalogStatements[] = {
    "CREATE SCHEMA IF NOT EXISTS orvento",
    "CREATE COLLATION IF NOT EXISTS orvento.czech (provider = icu, locale = 'cs-CZ')",
    "CREATE TABLE IF NOT EXISTS orvento.agendas (schema_name TEXT PRIMARY KEY, name TEXT NOT "
    "NULL, kind INTEGER, version INTEGER)",
    "CREATE UNIQUE INDEX IF NOT EXISTS agendas_name ON orvento.agendas (lower(name))",
    "CREATE SEQUENCE IF NOT EXISTS orvento.agenda_numbers",
    "CREATE TABLE IF NOT EXISTS orvento.stamps (agenda TEXT NOT NULL, stamped_table INTEGER NOT "
    "NULL, value DOUBLE PRECISION NOT NULL, stamped_at TIMESTAMPTZ NOT NULL DEFAULT now(), "
    "PRIMARY KEY (agenda, stamped_table))",
    "CREATE OR REPLACE FUNCTION orvento.czech_find(t TEXT, p TEXT) RETURNS INTEGER LANGUAGE sql "
    "IMMUTABLE PARALLEL SAFE AS $$ SELECT COALESCE(strpos(lower(t COLLATE orvento.czech), "
    "lower(p COLLATE orvento.czech)), 0) $$",
    "CREATE OR REPLACE FUNCTION orvento.amount_text(v DOUBLE PRECISION) RETURNS TEXT LANGUAGE "
    "sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT CASE WHEN r < 0 THEN '-' ELSE '' END || "
    "regexp_replace(split_part(t, '.', 1), '(\\d)(?=(\\d{3})+$)', '\\1 ', 'g') || ',' || "
    "split_part(t, '.', 2) FROM (SELECT r, to_char(abs(r), 'FM99999999999999999990.00') AS t "
    "FROM (SELECT round(v::numeric, 2) AS r) AS rounded) AS written $$",
};

// Whether the database has the bookkeeping already; a role that may not create schemas can
// still work in a database prepared for it.
const QString kCatalogPresent =
    QStringLiteral("SELECT to_regclass('orvento.stamps') IS NOT NULL AND "
                   "to_regprocedure('orvento.amount_text(double precision)') IS NOT NULL");

const QString kHolders = QStringLiteral(
    "SELECT count(*) FROM pg_locks WHERE locktype = 'advisory' AND database = (SELECT oid FROM "
    "pg_database WHERE datname = current_database()) AND classid = CAST(:Group AS oid) AND "
    "objid = CAST(:Item AS oid) AND objsubid = 2 AND granted");

SqlParams keyParams(const LockKey& key) {
    return {{QStringLiteral("Group"), qint64(key.group)},
            {QStringLiteral("Item"), qint64(key.item)}};
}

SqlParams lockParams(const LockKey& key) {
    return {{QStringLiteral("Group"), key.first()}, {QStringLiteral("Item"), key.second()}};
}

QString connectionName(const QString& prefix, const char* purpose) {
    return prefix + QLatin1String(purpose) + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

LockKey inUseKey(const QString& schema) {
    return postgres::lockKey(LockPurpose::InUse, schema);
}

LockKey recordKey(const RecordRef& record) {
    return postgres::lockKey(LockPurpose::Record, record.agenda, record.table, record.id);
}

// A connection that has just ended (closed by its program, or the program died) lets go of its
// locks a moment later, once its server process has noticed. A lock found held is looked at again
// for that moment before it counts as held, so that a workstation that has just let go is not
// taken for one that still works.
constexpr int kLetGoMs = 250;
constexpr int kLookAgainMs = 10;

template <typename Attempt> bool succeedsWithin(Attempt attempt) {
    QElapsedTimer since;
    since.start();
    while (!attempt()) {
        if (since.elapsed() >= kLetGoMs)
            return false;
        QThread::msleep(kLookAgainMs);
    }
    return true;
}

QString noSchemaRightMessage(const ServerConnection& server) {
    return QStringLiteral("Uživatel %1 nemá na databázovém serveru %2 právo vytvářet schémata "
                          "(CREATE v databázi %3), která program potřebuje. Požádejte správce "
                          "serveru, aby mu toto právo udělil.")
        .arg(server.user, server.label(), server.database);
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

// The connection that holds this program's record locks, the exclusive-operation lock and the
// exclusive use of databases, and which locks it holds. A lock is held by the session, so it goes
// with the connection. When the connection is found broken (the server restarted, the network
// was cut), a new one takes every lock again at once; one that another workstation took
// meanwhile is lost, and its holder learns so when it asks whether it still holds it, before it
// writes anything under it.
class PostgresLockSession {
public:
    PostgresLockSession(ServerConnection server, QString name)
        : m_server(std::move(server))
        , m_db(std::move(name), postgresDialect()) {}

    // Whether this program holds the lock, or held it before it was lost.
    bool holds(const LockKey& key) const {
        return m_held.contains(pair(key)) || m_lost.contains(pair(key));
    }

    // False when another connection holds it, this program holds it already, or the server
    // cannot be reached.
    bool take(const LockKey& key) {
        if (holds(key) || !connected())
            return false;
        auto granted = tryLock(key);
        if (!granted && renewed())
            granted = tryLock(key);
        if (!granted || !*granted)
            return false;
        m_held.insert(pair(key));
        return true;
    }

    void release(const LockKey& key) {
        m_lost.erase(pair(key));
        if (m_held.erase(pair(key)) == 0 || !m_db.isOpen() || !m_unlock)
            return;
        // On a broken connection the lock went with it.
        m_unlock->exec(lockParams(key));
        m_unlock->finish();
    }

    // Asks the server whether the lock is held on this connection: a round trip, which also
    // finds a broken connection (and then takes the locks again on a new one). A server that
    // cannot be reached cannot tell: the lock stays this program's to take again, and the save
    // that asks meets the same server and fails with its reason.
    bool stillHeld(const LockKey& key) {
        if (!m_held.contains(pair(key)))
            return false;
        auto held = heldHere(key);
        if (!held) {
            if (!renewed())
                return true;
            held = heldHere(key);
        }
        if (!held || *held)
            return true;
        if (m_held.erase(pair(key)) > 0)
            m_lost.insert(pair(key));
        return false;
    }

private:
    using Pair = std::pair<quint32, quint32>;
    static Pair pair(const LockKey& key) { return {key.group, key.item}; }

    bool connected() { return (m_db.isOpen() && m_try) || renewed(); }

    // A new connection that takes again every lock this program holds. The statements are
    // prepared once per connection: a card's lock costs one round trip to take and one to let go.
    bool renewed() {
        m_try.reset();
        m_unlock.reset();
        m_check.reset();
        m_db.close();
        if (!m_db.openOnServer(m_server, QString()))
            return false;
        m_try.emplace(m_db, QStringLiteral("SELECT pg_try_advisory_lock(:Group, :Item)"));
        m_unlock.emplace(m_db, QStringLiteral("SELECT pg_advisory_unlock(:Group, :Item)"));
        m_check.emplace(m_db, QStringLiteral("SELECT count(*) FROM pg_locks WHERE pid = "
                                             "pg_backend_pid() AND locktype = 'advisory' AND "
                                             "classid = CAST(:Group AS oid) AND objid = "
                                             "CAST(:Item AS oid) AND objsubid = 2 AND granted"));
        std::set<Pair> retaken;
        std::set<Pair> lost;
        for (const Pair& key : m_held) {
            const auto granted = tryLock(LockKey{key.first, key.second});
            if (!granted)
                return false; // broken again: the next attempt starts over
            (*granted ? retaken : lost).insert(key);
        }
        m_held = std::move(retaken);
        m_lost.merge(lost);
        return true;
    }

    std::optional<bool> tryLock(const LockKey& key) {
        if (!m_try || !m_try->exec(lockParams(key)) || !m_try->next())
            return std::nullopt;
        const bool granted = m_try->value(0).toBool();
        m_try->finish();
        return granted;
    }

    std::optional<bool> heldHere(const LockKey& key) {
        if (!m_check || !m_check->exec(keyParams(key)) || !m_check->next())
            return std::nullopt;
        const bool held = m_check->value(0).toInt() > 0;
        m_check->finish();
        return held;
    }

    ServerConnection m_server;
    Database m_db;
    std::optional<Statement> m_try;
    std::optional<Statement> m_unlock;
    std::optional<Statement> m_check;
    std::set<Pair> m_held;
    std::set<Pair> m_lost;
};

namespace {

class AdvisoryLockToken final : public HeldLock::Token {
public:
    AdvisoryLockToken(std::shared_ptr<PostgresLockSession> session, const LockKey& key)
        : m_session(std::move(session))
        , m_key(key) {}
    ~AdvisoryLockToken() override { m_session->release(m_key); }
    AdvisoryLockToken(const AdvisoryLockToken&) = delete;
    AdvisoryLockToken& operator=(const AdvisoryLockToken&) = delete;

    bool stillHeld() override { return m_session->stillHeld(m_key); }

private:
    std::shared_ptr<PostgresLockSession> m_session;
    LockKey m_key;
};

} // namespace

PostgresStore::PostgresStore(ServerConnection server)
    : m_server(std::move(server))
    , m_connectionPrefix(QStringLiteral("pgstore-"))
    , m_locks(std::make_shared<PostgresLockSession>(m_server,
                                                    connectionName(m_connectionPrefix, "locks-"))) {
}

PostgresStore::PostgresStore(ServerConnection server, QString programFolder)
    : PostgresStore(std::move(server)) {
    m_programFolder = withTrailingSlash(programFolder);
}

PostgresStore::~PostgresStore() = default;

const SqlDialect& PostgresStore::dialect() const {
    return postgresDialect();
}

QString PostgresStore::programFolder() const {
    return m_programFolder ? *m_programFolder : programState().folders.program;
}

Database& PostgresStore::catalog() const {
    if (!m_catalog)
        m_catalog = std::make_unique<Database>(connectionName(m_connectionPrefix, "catalog-"),
                                               postgresDialect());
    if (!m_catalog->isOpen())
        m_catalog->openOnServer(m_server, QString());
    return *m_catalog;
}

QString PostgresStore::lastError() const {
    return m_catalog ? m_catalog->lastError() : QString();
}

bool PostgresStore::prepare(QString* error) const {
    if (m_prepared)
        return true;
    Database& db = catalog();
    auto failed = [&] {
        if (error)
            *error = db.lastError();
        return false;
    };
    // The server's reason for refusing the connection (a wrong password, say), not the
    // statement's that follows on a connection never made.
    if (!db.isOpen())
        return failed();
    const auto present = db.scalar(kCatalogPresent);
    if (!present)
        return failed();
    if (!present->toBool()) {
        // The server's own words ("permission denied for database") would not tell the person
        // what is missing, nor whom to ask.
        if (!mayCreateSchemas()) {
            if (error)
                *error = noSchemaRightMessage(m_server);
            return false;
        }
        Transaction unit(db);
        if (!unit.isActive())
            return failed();
        // Two workstations that start on a new database at once make it one after the other.
        const LockKey key = postgres::lockKey(LockPurpose::Writing, QStringLiteral("orvento"));
        if (!db.execute(QStringLiteral("SELECT 1 FROM pg_advisory_xact_lock(:Group, :Item)"),
                        lockParams(key)))
            return failed();
        for (const char* statement : kCatalogStatements) {
            if (!db.executeDdl(QString::fromLatin1(statement)))
                return failed();
        }
        if (!unit.commit())
            return failed();
    }
    m_prepared = true;
    return true;
}

std::vector<PostgresStore::Registered> PostgresStore::registry() const {
    std::vector<Registered> rows;
    if (!prepare())
        return rows;
    QSqlQuery query =
        catalog().select(QStringLiteral("SELECT schema_name, name, kind FROM orvento.agendas"));
    while (query.next()) {
        Registered row{query.value(0).toString(), query.value(1).toString(), std::nullopt};
        if (!query.value(2).isNull())
            row.kind = query.value(2).toInt();
        rows.push_back(std::move(row));
    }
    return rows;
}

std::optional<PostgresStore::Registered> PostgresStore::find(const DatabaseId& which) const {
    const QString wanted = which.kind == DatabaseKind::Global ? kGlobalName : which.agenda;
    if (wanted.isEmpty())
        return std::nullopt;
    const int globalMark = dialect().kindMarkOf(DatabaseKind::Global);
    for (Registered& row : registry()) {
        const bool global = row.kind == globalMark;
        if (which.kind == DatabaseKind::Global ? global : sameName(row.name, wanted))
            return std::move(row);
    }
    return std::nullopt;
}

QString PostgresStore::schemaOf(const DatabaseId& which) const {
    const auto row = find(which);
    return row ? row->schema : QString();
}

bool PostgresStore::exists(const DatabaseId& which) const {
    return find(which).has_value();
}

QString PostgresStore::location(const DatabaseId& which) const {
    return m_server.label() + QLatin1Char('/') + label(which);
}

QString PostgresStore::label(const DatabaseId& which) const {
    if (which.kind == DatabaseKind::Global)
        return kGlobalName + kExtension;
    const auto row = find(which);
    return (row ? row->name : which.agenda) + kExtension;
}

DatabaseId PostgresStore::resolved(const DatabaseId& which) const {
    if (which.kind == DatabaseKind::Global)
        return which;
    const auto row = find(which);
    return row ? DatabaseId::agendaNamed(row->name) : which;
}

bool PostgresStore::open(Database& db, const DatabaseId& which, OpenFailure* failure) {
    auto outcome = [&](OpenProblem problem, const QString& reason) {
        if (failure)
            *failure = {problem, reason};
        return problem == OpenProblem::None;
    };
    db.close();
    if (&db.dialect() != &postgresDialect())
        return outcome(OpenProblem::Other,
                       QStringLiteral("Připojení není určeno pro databázový server."));
    QString reason;
    if (!prepare(&reason))
        return outcome(mayCreateSchemas() ? OpenProblem::Other : OpenProblem::Refused, reason);
    const auto row = find(which);
    if (!row)
        return outcome(OpenProblem::Refused, QStringLiteral("Databáze %1 na serveru %2 neexistuje.")
                                                 .arg(label(which), m_server.label()));
    // A database a newer program has changed is not touched, whatever this one would read in it.
    const auto version = catalog().scalar(
        QStringLiteral("SELECT version FROM orvento.agendas WHERE schema_name = :Schema"),
        {{QStringLiteral("Schema"), row->schema}});
    if (version && !version->isNull() && version->toInt() > currentSchemaVersion(which.kind))
        return outcome(
            OpenProblem::Refused,
            QStringLiteral("Databáze %1 na serveru %2: ").arg(label(which), m_server.label()) +
                newerDatabaseMessage(which.kind, which.agenda, version->toInt()));
    if (!db.openOnServer(m_server, row->schema))
        return outcome(problemOf(db), db.lastError());
    const QString wrongKind = (which.kind == DatabaseKind::Global
                                   ? QStringLiteral("Databáze %1 není hlavní databází programu.")
                                   : QStringLiteral("Databáze %1 není databází agendy."))
                                  .arg(location(which));
    // A connection opened again after it broke is checked and marked in use as the first one.
    const int kindMark = dialect().kindMarkOf(which.kind);
    const LockKey inUse = inUseKey(row->schema);
    auto settle = [kindMark, inUse](Database& connection) {
        if (postgresDialect().readKindMark(connection) != kindMark)
            return false;
        // The sign to other workstations that the database is in use; like the shared lock on a
        // file's companion, a database kept to itself by another does not keep this one from
        // opening.
        connection.scalar(QStringLiteral("SELECT pg_try_advisory_lock_shared(:Group, :Item)"),
                          lockParams(inUse));
        return true;
    };
    if (!settle(db)) {
        db.close();
        return outcome(OpenProblem::WrongKind, wrongKind);
    }
    db.setReopenStep(settle);
    return outcome(OpenProblem::None, QString());
}

std::vector<StoredDatabase> PostgresStore::databases() const {
    std::vector<StoredDatabase> result;
    for (const Registered& row : registry()) {
        if (!row.kind)
            continue;
        const bool global = *row.kind == dialect().kindMarkOf(DatabaseKind::Global);
        const DatabaseId id = global ? DatabaseId::global() : DatabaseId::agendaNamed(row.name);
        result.push_back({id, (global ? kGlobalName : row.name) + kExtension});
    }
    std::sort(result.begin(), result.end(),
              [](const StoredDatabase& a, const StoredDatabase& b) { return a.label < b.label; });
    return result;
}

std::optional<DatabaseKind> PostgresStore::kindOf(const DatabaseId& which) const {
    const auto row = find(which);
    if (!row || !row->kind)
        return std::nullopt;
    for (const DatabaseKind kind : {DatabaseKind::Global, DatabaseKind::Agenda}) {
        if (*row->kind == dialect().kindMarkOf(kind))
            return kind;
    }
    return std::nullopt;
}

QString PostgresStore::templateLocation(DatabaseTemplate from) const {
    const QString res = resolveInFolder(programFolder(), QStringLiteral("Res"));
    return QDir::toNativeSeparators(
        resolveInFolder(res, SqliteFolderStore::templateFileName(from)));
}

bool PostgresStore::fillFromFile(const DatabaseId& which, const QString& file, QString* error) {
    auto failed = [&](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (!prepare(error))
        return false;
    Database source(connectionName(m_connectionPrefix, "source-"));
    QString reason;
    if (!openAsKind(source, file, which.kind, &reason))
        return failed(reason);
    const auto old = find(which);
    QString schema;
    if (which.kind == DatabaseKind::Global && !old) {
        schema = QString::fromLatin1(postgres::kGlobalSchema);
    } else {
        const auto number =
            catalog().scalar(QStringLiteral("SELECT nextval('orvento.agenda_numbers')"));
        if (!number)
            return failed(catalog().lastError());
        // A restored global database gets a schema of its own beside the one it replaces.
        schema = (which.kind == DatabaseKind::Global
                      ? QString::fromLatin1(postgres::kGlobalSchema) + QLatin1Char('_')
                      : kAgendaSchemaPrefix) +
                 number->toString();
    }
    Database target(connectionName(m_connectionPrefix, "target-"), postgresDialect());
    if (!target.openOnServer(m_server, schema))
        return failed(target.lastError());
    Transaction unit(target);
    bool ok = unit.isActive() &&
              target.executeDdl(QStringLiteral("CREATE SCHEMA ") + quotedIdentifier(schema));
    // The registry row moves to the new schema, or a new agenda gets one, in the same unit as
    // the tables: the database is replaced whole or stays as it was.
    if (ok && old)
        ok =
            target.execute(QStringLiteral("UPDATE orvento.agendas SET schema_name = :New WHERE "
                                          "schema_name = :Old"),
                           {{QStringLiteral("New"), schema}, {QStringLiteral("Old"), old->schema}});
    else if (ok)
        ok = target.execute(
            QStringLiteral(
                "INSERT INTO orvento.agendas (schema_name, name) VALUES (:Schema, :Name)"),
            {{QStringLiteral("Schema"), schema},
             {QStringLiteral("Name"),
              which.kind == DatabaseKind::Global ? kGlobalName : which.agenda}});
    if (!ok)
        return failed(target.lastError());
    if (!copyDatabase(source, target, which.kind, &reason))
        return failed(reason);
    if (old && !target.executeDdl(
                   QStringLiteral("DROP SCHEMA %1 CASCADE").arg(quotedIdentifier(old->schema))))
        return failed(target.lastError());
    if (!unit.commit())
        return failed(target.lastError());
    return true;
}

bool PostgresStore::create(const DatabaseId& which, DatabaseTemplate from, CreateProblem* problem) {
    auto outcome = [&](CreateProblem value) {
        if (problem)
            *problem = value;
        return value == CreateProblem::None;
    };
    const QString source = QDir::fromNativeSeparators(templateLocation(from));
    if (!QFileInfo::exists(source))
        return outcome(CreateProblem::TemplateMissing);
    if (exists(which))
        return outcome(CreateProblem::Failed);
    // Asked first: the server's own refusal of the new schema ("permission denied for
    // database") would reach the person only as a failed copy.
    if (!mayCreateSchemas())
        return outcome(CreateProblem::NoRight);
    return outcome(fillFromFile(which, source, nullptr) ? CreateProblem::None
                                                        : CreateProblem::Failed);
}

QString PostgresStore::noRightToCreateMessage() const {
    return noSchemaRightMessage(m_server);
}

bool PostgresStore::mayCreateSchemas() const {
    const auto mayCreate = catalog().scalar(
        QStringLiteral("SELECT has_database_privilege(current_database(), 'CREATE')"));
    return !mayCreate || mayCreate->toBool();
}

bool PostgresStore::remove(const DatabaseId& which) {
    const auto row = find(which);
    if (!row)
        return false;
    // Nobody may have it open, and nobody opens it while it goes.
    HeldLock guard;
    if (!takeLock(inUseKey(row->schema), guard))
        return false;
    Database& db = catalog();
    Transaction unit(db);
    return unit.isActive() &&
           db.executeDdl(
               QStringLiteral("DROP SCHEMA %1 CASCADE").arg(quotedIdentifier(row->schema))) &&
           db.execute(QStringLiteral("DELETE FROM orvento.agendas WHERE schema_name = :Schema"),
                      {{QStringLiteral("Schema"), row->schema}}) &&
           unit.commit();
}

bool PostgresStore::rename(const DatabaseId& which, const QString& newAgenda) {
    if (which.kind != DatabaseKind::Agenda || newAgenda.isEmpty() ||
        exists(DatabaseId::agendaNamed(newAgenda)))
        return false;
    const auto row = find(which);
    if (!row)
        return false;
    HeldLock guard;
    if (!takeLock(inUseKey(row->schema), guard))
        return false;
    // The schema keeps its name; the unique name in the registry refuses a name taken meanwhile.
    return catalog().execute(
        QStringLiteral("UPDATE orvento.agendas SET name = :Name WHERE schema_name = :Schema"),
        {{QStringLiteral("Name"), newAgenda}, {QStringLiteral("Schema"), row->schema}});
}

std::optional<QString> PostgresStore::freeAgendaName(int limit) const {
    const std::vector<Registered> rows = registry();
    for (int n = 1; n <= limit; ++n) {
        const QString name = QStringLiteral("Firma%1").arg(n);
        const bool taken = std::any_of(rows.begin(), rows.end(), [&](const Registered& row) {
            return sameName(row.name, name);
        });
        if (!taken)
            return name;
    }
    return std::nullopt;
}

bool PostgresStore::heldByAnyone(const LockKey& key) const {
    return !succeedsWithin([&] {
        const auto count = catalog().scalar(kHolders, keyParams(key));
        return count && count->toInt() == 0;
    });
}

QString PostgresStore::holderName(const LockKey& key) const {
    const auto name = catalog().scalar(
        QStringLiteral("SELECT a.application_name FROM pg_locks l JOIN pg_stat_activity a ON "
                       "a.pid = l.pid WHERE l.locktype = 'advisory' AND l.database = (SELECT oid "
                       "FROM pg_database WHERE datname = current_database()) AND l.classid = "
                       "CAST(:Group AS oid) AND l.objid = CAST(:Item AS oid) AND l.objsubid = 2 "
                       "AND l.granted LIMIT 1"),
        keyParams(key));
    return name ? name->toString() : QString();
}

bool PostgresStore::takeLock(const LockKey& key, HeldLock& out) {
    out.release();
    if (m_locks->holds(key) || !succeedsWithin([&] { return m_locks->take(key); }))
        return false;
    out = HeldLock(std::make_unique<AdvisoryLockToken>(m_locks, key));
    return true;
}

bool PostgresStore::openedElsewhere(const DatabaseId& which) const {
    const auto row = find(which);
    return row && heldByAnyone(inUseKey(row->schema));
}

bool PostgresStore::takeExclusiveUse(const DatabaseId& which, HeldLock& out) {
    out.release();
    const auto row = find(which);
    return row && takeLock(inUseKey(row->schema), out);
}

QString PostgresStore::recordLockLocation(const RecordRef& record) const {
    const QString owner = record.agenda.isEmpty() ? kGlobalName : record.agenda;
    QString text =
        QStringLiteral("%1: %2/%3/%4").arg(m_server.label(), owner, record.table).arg(record.id);
    const QString holder = holderName(recordKey(record));
    if (!holder.isEmpty())
        text += QStringLiteral(" (%1)").arg(holder);
    return text;
}

bool PostgresStore::recordLockHeldElsewhere(const RecordRef& record) {
    const LockKey key = recordKey(record);
    return m_locks->holds(key) || heldByAnyone(key);
}

bool PostgresStore::takeRecordLock(const RecordRef& record, HeldLock& out) {
    return takeLock(recordKey(record), out);
}

std::set<qint64> PostgresStore::recordsWithLocks(const QString& agenda,
                                                 const QString& table) const {
    std::set<qint64> ids;
    const LockKey key = recordKey({agenda, table, 0});
    QSqlQuery rows = catalog().select(
        QStringLiteral("SELECT objid::bigint FROM pg_locks WHERE locktype = 'advisory' AND "
                       "database = (SELECT oid FROM pg_database WHERE datname = "
                       "current_database()) AND classid = CAST(:Group AS oid) AND objsubid = 2 "
                       "AND granted"),
        {{QStringLiteral("Group"), qint64(key.group)}});
    while (rows.next())
        ids.insert(rows.value(0).toLongLong());
    return ids;
}

QString PostgresStore::exclusiveLockLocation() const {
    return m_server.label() + QStringLiteral(": ~program");
}

bool PostgresStore::exclusiveLockHeldElsewhere() {
    const LockKey key = postgres::lockKey(LockPurpose::Exclusive, kProgramLockName);
    return m_locks->holds(key) || heldByAnyone(key);
}

bool PostgresStore::takeExclusiveLock(HeldLock& out) {
    return takeLock(postgres::lockKey(LockPurpose::Exclusive, kProgramLockName), out);
}

bool PostgresStore::stampExists(const QString& agenda, StampedTable table) const {
    return readStamp(agenda, table).has_value();
}

std::optional<double> PostgresStore::readStamp(const QString& agenda, StampedTable table) const {
    if (!prepare())
        return std::nullopt;
    const auto value = catalog().scalar(
        QStringLiteral("SELECT value FROM orvento.stamps WHERE agenda = :Agenda AND "
                       "stamped_table = :Table"),
        {{QStringLiteral("Agenda"), agenda.toLower()},
         {QStringLiteral("Table"), static_cast<int>(table)}});
    if (!value)
        return std::nullopt;
    return value->toDouble();
}

// The value is the server's own time, in days since 30 December 1899 as the stamp files hold
// them, so that the stamps of workstations whose clocks differ still follow the order of the
// changes; `value` (the workstation's time) is only what the caller keeps when the write fails.
// One zone for everybody: the stamps are only compared with one another.
double PostgresStore::writeStamp(const QString& agenda, StampedTable table, double value) {
    if (!prepare())
        return value;
    const auto stored = catalog().scalar(
        QStringLiteral("INSERT INTO orvento.stamps (agenda, stamped_table, value) VALUES "
                       "(:Agenda, :Table, EXTRACT(EPOCH FROM (now() AT TIME ZONE 'UTC') - "
                       "TIMESTAMP '1899-12-30 00:00:00') / 86400.0) ON CONFLICT (agenda, "
                       "stamped_table) DO UPDATE SET value = EXCLUDED.value, stamped_at = now() "
                       "RETURNING value"),
        {{QStringLiteral("Agenda"), agenda.toLower()},
         {QStringLiteral("Table"), static_cast<int>(table)}});
    return stored ? stored->toDouble() : value;
}

void PostgresStore::removeStamps(const QString& agenda) {
    if (!prepare())
        return;
    catalog().execute(QStringLiteral("DELETE FROM orvento.stamps WHERE agenda = :Agenda"),
                      {{QStringLiteral("Agenda"), agenda.toLower()}});
}

bool PostgresStore::copyTo(const DatabaseId& which, const QString& target) {
    return snapshotTo(which, target, nullptr);
}

bool PostgresStore::snapshotTo(const DatabaseId& which, const QString& target, QString* error) {
    auto failed = [&](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    QFile::remove(target);
    const auto row = find(which);
    if (!row)
        return failed(QStringLiteral("Databáze %1 neexistuje.").arg(location(which)));
    Database source(connectionName(m_connectionPrefix, "snapshot-"), postgresDialect());
    if (!source.openOnServer(m_server, row->schema))
        return failed(source.lastError());
    // Every table is read as one moment of the database left it, whatever is written meanwhile.
    if (!source.executeDdl(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY")))
        return failed(source.lastError());
    // Written beside the target and renamed, so that the copy is whole or missing.
    const QString partial = target + kPartialSuffix;
    QFile::remove(partial);
    bool ok = false;
    QString reason;
    {
        QFile empty(partial);
        Database file(connectionName(m_connectionPrefix, "copy-"));
        ok = empty.open(QIODevice::WriteOnly) && (empty.close(), file.open(partial));
        reason = file.lastError();
        ok = ok && copyDatabase(source, file, which.kind, &reason);
    }
    source.executeDdl(QStringLiteral("COMMIT"));
    ok = ok && QFile::rename(partial, target);
    QFile::remove(partial);
    QFile::remove(Database::ldbPathFor(partial));
    if (!ok)
        return failed(reason.isEmpty() ? QStringLiteral("Kopii nelze zapsat.") : reason);
    return true;
}

bool PostgresStore::restoreFrom(const DatabaseId& which, const QString& copy) {
    return QFileInfo(copy).isFile() && fillFromFile(which, copy, nullptr);
}

QStringList PostgresStore::integrityProblems(Database& db) const {
    // The server keeps its files sound itself; what is checked is that every table reads through.
    QStringList problems;
    const QStringList tables = db.tableNames();
    if (tables.isEmpty() && !db.lastError().isEmpty())
        return {db.lastError()};
    for (const QString& table : tables) {
        if (!db.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(quotedIdentifier(table))))
            problems << QStringLiteral("%1: %2").arg(table, db.lastError());
    }
    return problems;
}

bool PostgresStore::rebuildIndexes(Database& db) const {
    return db.executeDdl(dialect().rebuildIndexes().arg(quotedIdentifier(db.schema())));
}

bool PostgresStore::compact(Database& db) const {
    for (const QString& table : db.tableNames()) {
        const QString name =
            quotedIdentifier(db.schema()) + QLatin1Char('.') + quotedIdentifier(table);
        if (!db.executeDdl(dialect().compact().arg(name)))
            return false;
    }
    return true;
}

qint64 PostgresStore::sizeOf(const DatabaseId& which) const {
    const auto row = find(which);
    if (!row)
        return 0;
    const auto size = catalog().scalar(
        QStringLiteral("SELECT COALESCE(sum(pg_total_relation_size(c.oid)), 0) FROM pg_class c "
                       "JOIN pg_namespace n ON n.oid = c.relnamespace WHERE n.nspname = :Schema "
                       "AND c.relkind = 'r'"),
        {{QStringLiteral("Schema"), row->schema}});
    return size ? size->toLongLong() : 0;
}

QString PostgresStore::stagingLocation() const {
    return withTrailingSlash(QDir::tempPath());
}

DataStore::CopyCheck PostgresStore::checkCopy(DatabaseKind kind, const QString& path) const {
    // The copies are SQLite files of the file store's layout: it checks them as its own.
    return SqliteFolderStore(stagingLocation(), programFolder()).checkCopy(kind, path);
}

bool PostgresStore::putInPlace(const DatabaseId& which, const QString& checkedFile) {
    if (!restoreFrom(which, checkedFile))
        return false;
    QFile::remove(checkedFile);
    QFile::remove(Database::ldbPathFor(checkedFile));
    return true;
}

} // namespace orvento::core
