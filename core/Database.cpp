#include "core/Database.h"

#include "core/FaultInjection.h"
#include "core/SqlDialect.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlRecord>

#include <algorithm>
#include <atomic>
#include <mutex>

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

// Beside it, for a lost server connection, the words that name the server and the reason.
struct LostConnectionText {
    std::mutex guard;
    QString text;
};

LostConnectionText& lostTextInProgram() {
    static LostConnectionText lost;
    return lost;
}

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

Database::Database(QString connectionName)
    : Database(std::move(connectionName), sqliteDialect()) {}

Database::Database(QString connectionName, const SqlDialect& dialect)
    : m_connectionName(std::move(connectionName))
    , m_dialect(&dialect) {}

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
                : QSqlDatabase::addDatabase(m_dialect->driverName(), m_connectionName);
        db.setDatabaseName(filePath);
        db.setConnectOptions(m_dialect->connectOptions(m_busyTimeoutMs));
        if (!db.open()) {
            m_lastError = errorText(db.lastError());
            return false;
        }
    }
    m_filePath = filePath;
    return finishOpening();
}

bool Database::openOnServer(const ServerConnection& server, const QString& schema) {
    close();
    m_lastError.clear();
    setFailureKind(FailureKind::None);
    {
        QSqlDatabase db =
            QSqlDatabase::contains(m_connectionName)
                ? QSqlDatabase::database(m_connectionName, false)
                : QSqlDatabase::addDatabase(m_dialect->driverName(), m_connectionName);
        db.setHostName(server.host);
        db.setPort(server.port);
        db.setDatabaseName(server.database);
        db.setUserName(server.user);
        db.setPassword(server.password);
        QString options = m_dialect->connectOptions(m_busyTimeoutMs);
        if (!server.sslMode.isEmpty())
            options += QStringLiteral(";sslmode=") + server.sslMode;
        db.setConnectOptions(options);
        if (!db.open()) {
            m_lastError = errorText(db.lastError());
            setFailureKind(m_dialect->failureKindOf(db.lastError()));
            return false;
        }
    }
    m_schema = schema;
    if (!finishOpening())
        return false;
    m_server = server;
    return true;
}

void Database::setReopenStep(std::function<bool(Database&)> step) {
    m_reopenStep = std::move(step);
}

bool Database::lostOutsideUnit() const {
    return m_server && m_depth == 0 && !m_reopening &&
           m_lastFailureKind == FailureKind::ConnectionLost;
}

bool Database::reopenIfBroken() {
    if (!m_server || m_depth > 0 || m_reopening || (!m_broken && isOpen()))
        return true;
    return reopen();
}

bool Database::reopen() {
    const ServerConnection server = *m_server;
    const QString schema = m_schema;
    std::function<bool(Database&)> step = m_reopenStep;
    m_reopening = true;
    bool ok = openOnServer(server, schema);
    if (ok && step && !step(*this)) {
        const QString reason = m_lastError.isEmpty()
                                   ? QStringLiteral("databáze na serveru již není k dispozici.")
                                   : m_lastError;
        close();
        m_lastError = reason;
        ok = false;
    }
    m_reopening = false;
    m_reopenStep = std::move(step);
    if (ok)
        return true;
    // Kept, so that the next attempt tries again: the server may be back by then.
    m_server = server;
    m_schema = schema;
    m_broken = true;
    const QString reason = m_lastError;
    m_lastError = connectionNotRestoredMessage(server.label(), reason);
    setFailureKind(FailureKind::ConnectionLost);
    const std::lock_guard hold(lostTextInProgram().guard);
    lostTextInProgram().text = m_lastError;
    return false;
}

bool Database::finishOpening() {
    if (!scalar(m_dialect->probeStatement())) {
        const QString reason = m_lastError;
        close();
        m_lastError = reason;
        return false;
    }
    m_session = m_dialect->setUp(*this, m_busyTimeoutMs);
    return true;
}

void Database::close() {
    closeConnection();
    m_server.reset();
    m_reopenStep = {};
    m_broken = false;
}

void Database::closeConnection() {
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
    m_session.reset();
    m_tablesWithId.clear();
    endUnit();
    m_doomed = false;
    m_writtenInUnit.clear();
    m_filePath.clear();
    m_schema.clear();
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
    m_busyTimeoutMs = milliseconds;
}

FailureKind Database::lastFailureKindInProgram() {
    return lastKindInProgram();
}

QString Database::lostConnectionTextInProgram() {
    const std::lock_guard hold(lostTextInProgram().guard);
    return lostTextInProgram().text;
}

void Database::setFailureKind(FailureKind kind) {
    m_lastFailureKind = kind;
    lastKindInProgram() = kind;
}

bool Database::checkOpen(bool mayReopen) {
    m_lastError.clear();
    setFailureKind(FailureKind::None);
    if (mayReopen && !reopenIfBroken())
        return false;
    if (isOpen())
        return true;
    failWith(QStringLiteral("Databáze není připojena."));
    return false;
}

void Database::fail(const QSqlError& error) {
    m_lastError = errorText(error);
    FailureKind kind = m_dialect->failureKindOf(error);
    if (kind == FailureKind::ConnectionLost && m_server && !m_reopening) {
        // The engine says too little at times (a driver's own failure has no code); a connection
        // that still answers is not lost.
        QSqlQuery probe(handle());
        if (probe.exec(m_dialect->probeStatement()) ||
            m_dialect->failureKindOf(probe.lastError()) != FailureKind::ConnectionLost)
            kind = FailureKind::Other;
    }
    setFailureKind(kind);
    if (kind != FailureKind::ConnectionLost || !m_server)
        return;
    m_broken = true;
    const std::lock_guard hold(lostTextInProgram().guard);
    lostTextInProgram().text = connectionBrokeMessage(m_server->label());
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

bool Database::answersNewId(const QString& sql, const QString& table) {
    // Asked for every row a loop writes: the answer is kept per statement text.
    constexpr size_t kKeptLimit = 256;
    if (const auto kept = m_tablesWithId.find(sql); kept != m_tablesWithId.end())
        return kept->second;
    qsizetype pos = 0;
    skipBlanks(sql, pos);
    const bool answers = (takeKeyword(sql, pos, QLatin1StringView("INSERT")) ||
                          takeKeyword(sql, pos, QLatin1StringView("REPLACE"))) &&
                         !sql.contains(QLatin1StringView("RETURNING"), Qt::CaseInsensitive) &&
                         hasColumn(table, QStringLiteral("ID"));
    if (m_tablesWithId.size() >= kKeptLimit)
        m_tablesWithId.clear();
    m_tablesWithId.emplace(sql, answers);
    return answers;
}

QString Database::withReturningId(const QString& sql) const {
    QString text = sql.trimmed();
    while (text.endsWith(QLatin1Char(';')))
        text.chop(1);
    return text + m_dialect->returningId();
}

bool Database::readNewIds(QSqlQuery& query, qint64* newRowId) {
    // An INSERT of several rows answers one ID each; the last one counts, as for one row. The
    // IDs answered are the rows made: the server's driver, reading the answer row by row, counts
    // none itself.
    int answered = 0;
    while (query.next()) {
        *newRowId = query.value(0).toLongLong();
        ++answered;
    }
    if (query.lastError().type() != QSqlError::NoError) {
        fail(query.lastError());
        return false;
    }
    m_rowsAffected = answered;
    return true;
}

bool Database::execute(const QString& sql, const SqlParams& params) {
    if (!checkOpen())
        return false;
    const auto table = tableWrittenBy(sql);
    // The new row's ID comes from the engine where it keeps it for free, otherwise the INSERT
    // answers it itself: never from a second query, which could see another row.
    const bool answers = table && answersNewId(sql, *table);
    const bool returning = answers && !m_dialect->keepsLastInsertedId();
    bool prepared = false;
    QSqlQuery& query = cachedQuery(returning ? withReturningId(sql) : sql, &prepared);
    if (!prepared)
        return false;
    if (const auto fault = injectedFault(sql, *m_dialect)) {
        fail(*fault);
        return false;
    }
    bindAll(query, params);
    m_rowsAffected = 0;
    bool ok = query.exec();
    if (!ok)
        fail(query.lastError());
    else
        m_rowsAffected = query.numRowsAffected();
    if (ok && returning)
        ok = readNewIds(query, &m_newRowId);
    else if (ok && answers)
        m_newRowId = m_dialect->lastInsertedId(query).value_or(m_newRowId);
    query.finish();
    if (!ok)
        return false;
    if (table)
        wrote(*table);
    return true;
}

std::optional<qint64> Database::insertRow(const QString& sql, const SqlParams& params) {
    const auto table = tableWrittenBy(sql);
    if (!checkOpen())
        return std::nullopt;
    if (!table || !answersNewId(sql, *table)) {
        failWith(QStringLiteral("Příkaz nevkládá řádek s identifikátorem."));
        return std::nullopt;
    }
    if (!execute(sql, params))
        return std::nullopt;
    return m_newRowId;
}

QSqlQuery Database::select(const QString& sql, const SqlParams& params) {
    QSqlQuery query = selectOnce(sql, params);
    // A read is safe to repeat on a connection opened anew; a write is not.
    if (!query.isActive() && lostOutsideUnit() && !tableWrittenBy(sql) && reopen())
        query = selectOnce(sql, params);
    return query;
}

QSqlQuery Database::selectOnce(const QString& sql, const SqlParams& params) {
    QSqlQuery query(handle());
    query.setForwardOnly(true);
    if (!checkOpen())
        return QSqlQuery(handle());
    if (!query.prepare(sql)) {
        fail(query.lastError());
        return QSqlQuery(handle());
    }
    if (const auto fault = injectedFault(sql, *m_dialect)) {
        fail(*fault);
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
    auto rows = selectWindowOnce(sql, params, offset, limit);
    if (!rows && lostOutsideUnit() && reopen())
        rows = selectWindowOnce(sql, params, offset, limit);
    return rows;
}

std::optional<std::vector<QSqlRecord>>
Database::selectWindowOnce(const QString& sql, const SqlParams& params, qint64 offset, int limit) {
    SqlParams window = params;
    window.emplace_back(QStringLiteral("WindowLimit"), std::max(limit, 0));
    window.emplace_back(QStringLiteral("WindowOffset"), std::max<qint64>(offset, 0));
    QSqlQuery* query =
        runKept(sql + QStringLiteral(" LIMIT :WindowLimit OFFSET :WindowOffset"), sql, window);
    if (!query)
        return std::nullopt;
    std::vector<QSqlRecord> rows;
    rows.reserve(static_cast<size_t>(std::max(limit, 0)));
    while (query->next())
        rows.push_back(query->record());
    query->finish();
    return rows;
}

QSqlQuery* Database::runKept(const QString& kept, const QString& sql, const SqlParams& params) {
    if (!checkOpen())
        return nullptr;
    bool prepared = false;
    QSqlQuery& query = cachedQuery(kept, &prepared);
    if (!prepared)
        return nullptr;
    if (const auto fault = injectedFault(sql, *m_dialect)) {
        fail(*fault);
        return nullptr;
    }
    bindAll(query, params);
    if (!query.exec()) {
        fail(query.lastError());
        return nullptr;
    }
    return &query;
}

std::optional<QVariant> Database::scalar(const QString& sql, const SqlParams& params) {
    // Kept prepared like execute(): the answer is read at once and the query never leaves this
    // call, and on a server a one-off query costs three round trips (prepare, run, deallocate).
    bool failed = false;
    const auto once = [&]() -> std::optional<QVariant> {
        QSqlQuery* query = runKept(sql, sql, params);
        failed = query == nullptr;
        if (failed)
            return std::nullopt;
        std::optional<QVariant> value;
        if (query->next())
            value = query->value(0);
        query->finish();
        return value;
    };
    std::optional<QVariant> value = once();
    // A read is safe to repeat on a connection opened anew, as in select().
    if (failed && lostOutsideUnit() && !tableWrittenBy(sql) && reopen())
        value = once();
    return value;
}

bool Database::executeDdl(const QString& sql) {
    if (!checkOpen())
        return false;
    // A table may have been made or changed: the server refuses a kept statement whose rows
    // would change shape, and an INSERT's table may have gained its ID column.
    m_tablesWithId.clear();
    m_cache.clear();
    if (const auto fault = injectedFault(sql, *m_dialect)) {
        fail(*fault);
        return false;
    }
    QSqlQuery query(handle());
    if (!query.exec(sql)) {
        fail(query.lastError());
        return false;
    }
    return true;
}

bool Database::runControl(const QString& sql) {
    if (const auto fault = injectedFault(sql, *m_dialect)) {
        fail(*fault);
        return false;
    }
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
        // A connection found broken by the start of a unit has written nothing yet: it is
        // opened again and the unit starts there.
        if (!runControl(m_dialect->beginUnit()) &&
            !(lostOutsideUnit() && reopen() && runControl(m_dialect->beginUnit())))
            return false;
        if (!m_dialect->afterBegin(*this, m_busyTimeoutMs)) {
            const QString reason = m_lastError;
            const FailureKind kind = m_lastFailureKind;
            runControl(QStringLiteral("ROLLBACK"));
            m_lastError = reason;
            setFailureKind(kind);
            return false;
        }
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
    for (const QString& table : tableNames()) {
        const QSqlRecord record = handle().record(m_dialect->storedName(table));
        for (int i = 0; i < record.count(); ++i)
            result.emplace_back(table, record.fieldName(i));
    }
    return result;
}

QStringList Database::tableNames() {
    QSqlQuery tables = select(m_dialect->tableNamesQuery());
    QStringList names;
    while (tables.next())
        names << tables.value(0).toString();
    return names;
}

bool Database::hasTable(const QString& table) {
    const QStringList names = tableNames();
    return std::any_of(names.begin(), names.end(), [&](const QString& name) {
        return name.compare(table, Qt::CaseInsensitive) == 0;
    });
}

bool Database::hasColumn(const QString& table, const QString& column) {
    const QSqlRecord record = handle().record(m_dialect->storedName(table));
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
    if (!m_db.checkOpen(false))
        return false;
    if (!m_prepared) {
        m_returning =
            m_table && m_db.answersNewId(m_sql, *m_table) && !m_db.dialect().keepsLastInsertedId();
        m_query = QSqlQuery(m_db.handle());
        m_query.setForwardOnly(true);
        if (!m_query.prepare(m_returning ? m_db.withReturningId(m_sql) : m_sql)) {
            m_db.fail(m_query.lastError());
            return false;
        }
        m_prepared = true;
    }
    m_query.finish();
    if (const auto fault = injectedFault(m_sql, m_db.dialect())) {
        m_db.fail(*fault);
        return false;
    }
    m_db.bindAll(m_query, params);
    if (!m_query.exec()) {
        m_db.fail(m_query.lastError());
        return false;
    }
    if (m_table) {
        const bool ok = !m_returning || m_db.readNewIds(m_query, &m_newRowId);
        const bool cheapId = ok && !m_returning && m_db.answersNewId(m_sql, *m_table);
        if (cheapId)
            m_newRowId = m_db.dialect().lastInsertedId(m_query).value_or(m_newRowId);
        m_query.finish();
        if (!ok)
            return false;
        if (m_returning || cheapId)
            m_db.m_newRowId = m_newRowId;
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
    switch (Database::lastFailureKindInProgram()) {
    case FailureKind::Busy:
        return busyMessage();
    case FailureKind::ConnectionLost:
        return Database::lostConnectionTextInProgram();
    default:
        return usual;
    }
}

QString readFailedMessage() {
    if (Database::lastFailureKindInProgram() == FailureKind::ConnectionLost)
        return Database::lostConnectionTextInProgram();
    return Database::lastFailureKindInProgram() == FailureKind::Busy
               ? QStringLiteral("Databázi právě zapisuje jiná pracovní stanice. Zkuste to prosím "
                                "za chvíli znovu.")
               : QStringLiteral("Při načítání údajů z databáze došlo k chybě.");
}

QString connectionNotRestoredMessage(const QString& server, const QString& reason) {
    return QStringLiteral("Spojení s databázovým serverem %1 bylo přerušeno a nepodařilo se ho "
                          "obnovit: %2")
        .arg(server, reason);
}

QString connectionBrokeMessage(const QString& server) {
    return QStringLiteral("Spojení s databázovým serverem %1 bylo přerušeno, nic nebylo uloženo. "
                          "Zkuste to prosím znovu.")
        .arg(server);
}

QString newRowNotFoundMessage() {
    return QStringLiteral("Chyba: nelze nalézt nově vložený záznam!");
}

} // namespace orvento::core
