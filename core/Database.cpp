#include "core/Database.h"

#include "core/AmountFormat.h"
#include "core/CzechCollation.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>

#include <sqlite3.h>

#include <algorithm>
#include <atomic>

namespace orvento::core {

namespace {

// Units of work open on any connection of this program: while one is, no message may wait for
// the person, since the write lock would keep every other workstation out meanwhile.
std::atomic<int>& openUnits() {
    static std::atomic<int> count{0};
    return count;
}

// The outcome of the last statement on any connection, for the messages of a failed save.
std::atomic<FailureKind>& lastKindInProgram() {
    static std::atomic<FailureKind> kind{FailureKind::None};
    return kind;
}

// How long a writer waits for another workstation's write to finish before giving up.
constexpr int kBusyTimeoutMs = 8000;
// How often a waiting writer looks whether the lock is free again. Bulk work leaves the lock free
// only for a moment between its slices; a waiter that looked only every 100 ms, as SQLite's own
// waiting does after a while, would miss most of those moments and wait behind the whole run.
constexpr int kBusyPollMs = 2;

const QString kDateTimeFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz");

QString errorText(const QSqlError& error) {
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    if (text.isEmpty())
        text = QStringLiteral("neznámá chyba databáze");
    return text;
}

// Texts are stored as empty strings rather than NULL, as the text columns accept them; only an
// invalid value (an unset date, say) is stored as NULL.
QVariant storedValue(const QVariant& value) {
    if (!value.isValid())
        return QVariant(QMetaType::fromType<QString>());
    switch (value.metaType().id()) {
    case QMetaType::QString:
        return value.toString().isNull() ? QVariant(QStringLiteral("")) : value;
    case QMetaType::QDateTime:
        return Database::fromDateTime(value.toDateTime());
    case QMetaType::QDate:
        return Database::fromDateTime(value.toDate().startOfDay());
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    default:
        return value;
    }
}

FailureKind failureKindOf(const QSqlError& error) {
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric) & 0xFF;
    if (!numeric)
        return FailureKind::Other;
    switch (code) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return FailureKind::Busy;
    case SQLITE_CONSTRAINT:
        return FailureKind::Constraint;
    case SQLITE_IOERR:
    case SQLITE_FULL:
    case SQLITE_CANTOPEN:
    case SQLITE_READONLY:
        return FailureKind::Disk;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return FailureKind::Damaged;
    default:
        return FailureKind::Other;
    }
}

bool isNameChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// Reads one table name at `pos`: bare, or quoted with "", [], or ``. Advances `pos` past it.
std::optional<QString> readName(const QString& sql, qsizetype& pos) {
    if (pos >= sql.size())
        return std::nullopt;
    const QChar open = sql.at(pos);
    const QChar close = open == QLatin1Char('[')   ? QLatin1Char(']')
                        : open == QLatin1Char('"') ? QLatin1Char('"')
                        : open == QLatin1Char('`') ? QLatin1Char('`')
                                                   : QChar();
    if (!close.isNull()) {
        const qsizetype end = sql.indexOf(close, pos + 1);
        if (end < 0)
            return std::nullopt;
        QString name = sql.mid(pos + 1, end - pos - 1);
        pos = end + 1;
        return name.isEmpty() ? std::nullopt : std::optional<QString>(name);
    }
    const qsizetype start = pos;
    while (pos < sql.size() && isNameChar(sql.at(pos)))
        ++pos;
    if (pos == start)
        return std::nullopt;
    return sql.mid(start, pos - start);
}

void skipBlanks(const QString& sql, qsizetype& pos) {
    while (pos < sql.size() && sql.at(pos).isSpace())
        ++pos;
}

// Consumes the keyword at `pos` (any case, followed by a blank or the end) and the blanks after.
bool takeKeyword(const QString& sql, qsizetype& pos, QLatin1StringView word) {
    if (sql.mid(pos, word.size()).compare(word, Qt::CaseInsensitive) != 0)
        return false;
    const qsizetype after = pos + word.size();
    if (after < sql.size() && isNameChar(sql.at(after)))
        return false;
    pos = after;
    skipBlanks(sql, pos);
    return true;
}

std::optional<QString> writtenTable(const QString& sql) {
    qsizetype pos = 0;
    skipBlanks(sql, pos);
    auto takeConflictClause = [&] {
        if (takeKeyword(sql, pos, QLatin1StringView("OR"))) {
            for (const char* action : {"ROLLBACK", "ABORT", "REPLACE", "FAIL", "IGNORE"}) {
                if (takeKeyword(sql, pos, QLatin1StringView(action)))
                    return true;
            }
            return false;
        }
        return true;
    };
    if (takeKeyword(sql, pos, QLatin1StringView("INSERT")) ||
        takeKeyword(sql, pos, QLatin1StringView("REPLACE"))) {
        if (!takeConflictClause() || !takeKeyword(sql, pos, QLatin1StringView("INTO")))
            return std::nullopt;
    } else if (takeKeyword(sql, pos, QLatin1StringView("UPDATE"))) {
        if (!takeConflictClause())
            return std::nullopt;
    } else if (takeKeyword(sql, pos, QLatin1StringView("DELETE"))) {
        if (!takeKeyword(sql, pos, QLatin1StringView("FROM")))
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    auto name = readName(sql, pos);
    // A schema-qualified name ("main.Zasoby") counts by its table.
    if (name && pos < sql.size() && sql.at(pos) == QLatin1Char('.')) {
        ++pos;
        name = readName(sql, pos);
    }
    return name;
}

} // namespace

struct Database::BusyWait {
    int timeoutMs = kBusyTimeoutMs;
    QElapsedTimer since;

    // SQLite's busy handler: true (non-zero) to try the statement again.
    static int retry(void* context, int attempt) {
        auto* const wait = static_cast<BusyWait*>(context);
        if (attempt == 0)
            wait->since.start();
        if (wait->since.elapsed() >= wait->timeoutMs)
            return 0;
        sqlite3_sleep(kBusyPollMs);
        return 1;
    }
};

Database::Database(QString connectionName)
    : m_connectionName(std::move(connectionName))
    , m_busyWait(std::make_unique<BusyWait>()) {}

Database::~Database() {
    close();
    if (QSqlDatabase::contains(m_connectionName))
        QSqlDatabase::removeDatabase(m_connectionName);
}

bool Database::open(const QString& filePath) {
    close();
    m_lastError.clear();
    setFailureKind(FailureKind::None);
    if (!QFileInfo(filePath).isFile()) {
        m_lastError = QStringLiteral("Databázový soubor %1 nebyl nalezen.").arg(filePath);
        return false;
    }
    {
        QSqlDatabase db =
            QSqlDatabase::contains(m_connectionName)
                ? QSqlDatabase::database(m_connectionName, false)
                : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        db.setDatabaseName(filePath);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_busyWait->timeoutMs));
        if (!db.open()) {
            m_lastError = errorText(db.lastError());
            return false;
        }
    }
    m_filePath = filePath;
    // A file that is not a database opens fine; the first read tells.
    const auto check = scalar(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    if (!check) {
        const QString reason = m_lastError;
        close();
        m_lastError = reason;
        return false;
    }
    executeDdl(QStringLiteral("PRAGMA journal_mode=DELETE"));
    // A bulk unit of work over a big catalogue touches more pages than the default cache holds;
    // spilling them to the file half way costs more than the rest of the work. The cache grows
    // only as far as it is used.
    executeDdl(QStringLiteral("PRAGMA cache_size=-32768"));
    const QVariant h = handle().driver()->handle();
    if (h.isValid() && qstrcmp(h.typeName(), "sqlite3*") == 0) {
        sqlite3* const handle = *static_cast<sqlite3* const*>(h.constData());
        registerCzechCollation(handle);
        registerAmountText(handle);
        sqlite3_busy_handler(handle, &BusyWait::retry, m_busyWait.get());
    }
    FileLock::acquire(ldbPathFor(filePath), FileLock::Mode::Shared, true, m_ldbLock);
    return true;
}

void Database::close() {
    // Prepared statements belong to the connection; they go before it closes.
    m_cache.clear();
    if (QSqlDatabase::contains(m_connectionName)) {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen()) {
            if (m_depth > 0)
                QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
    }
    endUnit();
    m_doomed = false;
    m_writtenInUnit.clear();
    m_ldbLock.release();
    m_filePath.clear();
}

bool Database::isOpen() const {
    return QSqlDatabase::contains(m_connectionName) &&
           QSqlDatabase::database(m_connectionName, false).isOpen();
}

QSqlDatabase Database::handle() const {
    return QSqlDatabase::database(m_connectionName, false);
}

void Database::bindAll(QSqlQuery& query, const SqlParams& params) const {
    // A name written as in the statement (":ID") binds as well as the bare one ("ID"); Qt would
    // silently leave a misnamed placeholder NULL.
    for (const auto& [name, value] : params)
        query.bindValue(name.startsWith(QLatin1Char(':')) ? name : QLatin1Char(':') + name,
                        storedValue(value));
}

void Database::setBusyTimeout(int milliseconds) {
    m_busyWait->timeoutMs = milliseconds;
}

FailureKind Database::lastFailureKindInProgram() {
    return lastKindInProgram();
}

void Database::setFailureKind(FailureKind kind) {
    m_lastFailureKind = kind;
    lastKindInProgram() = kind;
}

bool Database::checkOpen() {
    m_lastError.clear();
    setFailureKind(FailureKind::None);
    if (isOpen())
        return true;
    failWith(QStringLiteral("Databáze není připojena."));
    return false;
}

void Database::fail(const QSqlError& error) {
    m_lastError = errorText(error);
    setFailureKind(failureKindOf(error));
}

void Database::failWith(const QString& text) {
    m_lastError = text;
    setFailureKind(FailureKind::Other);
}

QSqlQuery& Database::cachedQuery(const QString& sql, bool* prepared) {
    // A handful of statements serve a whole run; a loop over generated texts must not make the
    // cache grow without end.
    constexpr size_t kCacheLimit = 128;
    auto found = m_cache.find(sql);
    if (found != m_cache.end()) {
        *prepared = true;
        return *found->second;
    }
    if (m_cache.size() >= kCacheLimit)
        m_cache.clear();
    auto query = std::make_unique<QSqlQuery>(handle());
    query->setForwardOnly(true);
    *prepared = query->prepare(sql);
    if (!*prepared) {
        fail(query->lastError());
        m_scratch = std::move(query);
        return *m_scratch;
    }
    return *m_cache.emplace(sql, std::move(query)).first->second;
}

void Database::wrote(const QString& table) {
    if (m_depth > 0)
        m_writtenInUnit.insert(table);
    else if (m_writeObserver)
        m_writeObserver(table);
}

bool Database::execute(const QString& sql, const SqlParams& params) {
    if (!checkOpen())
        return false;
    bool prepared = false;
    QSqlQuery& query = cachedQuery(sql, &prepared);
    if (!prepared)
        return false;
    bindAll(query, params);
    const bool ok = query.exec();
    if (!ok)
        fail(query.lastError());
    else if (const QVariant id = query.lastInsertId(); id.isValid())
        m_newRowId = id.toLongLong();
    query.finish();
    if (!ok)
        return false;
    if (const auto table = tableWrittenBy(sql))
        wrote(*table);
    return true;
}

QSqlQuery Database::select(const QString& sql, const SqlParams& params) {
    QSqlQuery query(handle());
    query.setForwardOnly(true);
    if (!checkOpen())
        return QSqlQuery(handle());
    if (!query.prepare(sql)) {
        fail(query.lastError());
        return QSqlQuery(handle());
    }
    bindAll(query, params);
    if (!query.exec()) {
        fail(query.lastError());
        return QSqlQuery(handle());
    }
    return query;
}

std::optional<std::vector<QSqlRecord>>
Database::selectWindow(const QString& sql, const SqlParams& params, qint64 offset, int limit) {
    if (!checkOpen())
        return std::nullopt;
    bool prepared = false;
    QSqlQuery& query =
        cachedQuery(sql + QStringLiteral(" LIMIT :WindowLimit OFFSET :WindowOffset"), &prepared);
    if (!prepared)
        return std::nullopt;
    bindAll(query, params);
    query.bindValue(QStringLiteral(":WindowLimit"), std::max(limit, 0));
    query.bindValue(QStringLiteral(":WindowOffset"), std::max<qint64>(offset, 0));
    if (!query.exec()) {
        fail(query.lastError());
        return std::nullopt;
    }
    std::vector<QSqlRecord> rows;
    rows.reserve(static_cast<size_t>(std::max(limit, 0)));
    while (query.next())
        rows.push_back(query.record());
    query.finish();
    return rows;
}

std::optional<QVariant> Database::scalar(const QString& sql, const SqlParams& params) {
    QSqlQuery query = select(sql, params);
    if (!query.isActive())
        return std::nullopt;
    if (!query.next())
        return std::nullopt;
    return query.value(0);
}

bool Database::executeDdl(const QString& sql) {
    if (!checkOpen())
        return false;
    QSqlQuery query(handle());
    if (!query.exec(sql)) {
        fail(query.lastError());
        return false;
    }
    return true;
}

bool Database::runControl(const QString& sql) {
    QSqlQuery query(handle());
    if (!query.exec(sql)) {
        fail(query.lastError());
        return false;
    }
    return true;
}

bool Database::beginTransaction() {
    if (!checkOpen())
        return false;
    if (m_depth == 0) {
        // The write lock is taken at once: two workstations that both read and then write would
        // otherwise meet as a deadlock that waiting cannot resolve.
        if (!runControl(QStringLiteral("BEGIN IMMEDIATE")))
            return false;
        m_doomed = false;
        m_writtenInUnit.clear();
        ++openUnits();
    } else if (!runControl(QStringLiteral("SAVEPOINT unit%1").arg(m_depth))) {
        return false;
    }
    ++m_depth;
    return true;
}

void Database::endUnit() {
    if (m_depth > 0)
        --openUnits();
    m_depth = 0;
}

bool Database::anyUnitOpen() {
    return openUnits() > 0;
}

bool Database::commit() {
    if (m_depth == 0) {
        failWith(QStringLiteral("Žádná transakce neprobíhá."));
        return false;
    }
    if (m_depth > 1) {
        if (!runControl(QStringLiteral("RELEASE unit%1").arg(m_depth - 1))) {
            rollback();
            return false;
        }
        --m_depth;
        return true;
    }
    if (m_doomed) {
        rollback();
        failWith(QStringLiteral("Část ukládaných údajů nebylo možné zapsat, nic nebylo uloženo."));
        return false;
    }
    if (!runControl(QStringLiteral("COMMIT"))) {
        const QString reason = m_lastError;
        const FailureKind kind = m_lastFailureKind;
        rollback();
        m_lastError = reason;
        setFailureKind(kind);
        return false;
    }
    endUnit();
    const std::set<QString> written = std::exchange(m_writtenInUnit, {});
    if (m_writeObserver) {
        for (const QString& table : written)
            m_writeObserver(table);
    }
    return true;
}

void Database::rollback() {
    if (m_depth == 0)
        return;
    if (m_depth > 1) {
        const QString name = QStringLiteral("unit%1").arg(m_depth - 1);
        runControl(QStringLiteral("ROLLBACK TO ") + name);
        runControl(QStringLiteral("RELEASE ") + name);
        --m_depth;
        m_doomed = true;
        return;
    }
    runControl(QStringLiteral("ROLLBACK"));
    endUnit();
    m_doomed = false;
    m_writtenInUnit.clear();
}

std::vector<std::pair<QString, QString>> Database::columns() {
    std::vector<std::pair<QString, QString>> result;
    QSqlQuery tables =
        select(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT "
                              "LIKE 'sqlite_%' ORDER BY name"));
    QStringList names;
    while (tables.next())
        names << tables.value(0).toString();
    for (const QString& table : names) {
        const QSqlRecord record = handle().record(table);
        for (int i = 0; i < record.count(); ++i)
            result.emplace_back(table, record.fieldName(i));
    }
    return result;
}

bool Database::hasTable(const QString& table) {
    const auto found = scalar(
        QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = :Name "
                       "COLLATE NOCASE"),
        {{QStringLiteral("Name"), table}});
    return found && found->toInt() > 0;
}

bool Database::hasColumn(const QString& table, const QString& column) {
    const QSqlRecord record = handle().record(table);
    for (int i = 0; i < record.count(); ++i) {
        if (record.fieldName(i).compare(column, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void Database::setWriteObserver(std::function<void(const QString&)> observer) {
    m_writeObserver = std::move(observer);
}

std::optional<QString> Database::tableWrittenBy(const QString& sql) {
    return writtenTable(sql);
}

QString Database::ldbPathFor(const QString& databasePath) {
    const QFileInfo info(databasePath);
    return info.absolutePath() + QLatin1Char('/') + info.completeBaseName() +
           QStringLiteral(".ldb");
}

bool Database::openedElsewhere(const QString& databasePath) {
    return FileLock::probe(ldbPathFor(databasePath)) == FileLock::Result::HeldElsewhere;
}

QDateTime Database::toDateTime(const QVariant& stored) {
    if (!stored.isValid() || stored.isNull())
        return {};
    if (stored.metaType().id() == QMetaType::QDateTime)
        return stored.toDateTime();
    const QString text = stored.toString();
    QDateTime value = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!value.isValid())
        value = QDateTime::fromString(text, Qt::ISODate);
    return value;
}

QVariant Database::fromDateTime(const QDateTime& value) {
    if (!value.isValid())
        return QVariant(QMetaType::fromType<QString>());
    return value.toString(kDateTimeFormat);
}

Statement::Statement(Database& db, QString sql)
    : m_db(db)
    , m_sql(std::move(sql))
    , m_table(Database::tableWrittenBy(m_sql))
    , m_query(db.handle()) {
    m_query.setForwardOnly(true);
}

bool Statement::exec(const SqlParams& params) {
    if (!m_db.checkOpen())
        return false;
    if (!m_prepared) {
        m_query = QSqlQuery(m_db.handle());
        m_query.setForwardOnly(true);
        if (!m_query.prepare(m_sql)) {
            m_db.fail(m_query.lastError());
            return false;
        }
        m_prepared = true;
    }
    m_query.finish();
    m_db.bindAll(m_query, params);
    if (!m_query.exec()) {
        m_db.fail(m_query.lastError());
        return false;
    }
    if (m_table) {
        if (const QVariant id = m_query.lastInsertId(); id.isValid()) {
            m_newRowId = id.toLongLong();
            m_db.m_newRowId = m_newRowId;
        }
        m_query.finish();
        m_db.wrote(*m_table);
    }
    return true;
}

Transaction::Transaction(Database& db)
    : m_db(db)
    , m_active(db.beginTransaction()) {}

Transaction::~Transaction() {
    if (m_active)
        m_db.rollback();
}

bool Transaction::commit() {
    if (!m_active)
        return false;
    m_active = false;
    return m_db.commit();
}

QString saveFailedMessage(const QString& table) {
    return writeFailureText(
        QStringLiteral("Při ukládání záznamu do \"%1\" došlo k chybě: metoda \"Execute\" "
                       "selhala.")
            .arg(table));
}

QString saveFailedMessage() {
    return writeFailureText(
        QStringLiteral("Při ukládání záznamu došlo k chybě: metoda \"Execute\" selhala."));
}

QString busyMessage() {
    return QStringLiteral("Databázi právě zapisuje jiná pracovní stanice. Zkuste prosím uložení za "
                          "chvíli znovu.");
}

QString writeFailureText(const QString& usual) {
    return Database::lastFailureKindInProgram() == FailureKind::Busy ? busyMessage() : usual;
}

QString readFailedMessage() {
    return Database::lastFailureKindInProgram() == FailureKind::Busy
               ? QStringLiteral("Databázi právě zapisuje jiná pracovní stanice. Zkuste to prosím "
                                "za chvíli znovu.")
               : QStringLiteral("Při načítání údajů z databáze došlo k chybě.");
}

QString newRowNotFoundMessage() {
    return QStringLiteral("Chyba: nelze nalézt nově vložený záznam!");
}

} // namespace orvento::core
