#include "core/Database.h"

#include "core/CzechCollation.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>

#include <sqlite3.h>

namespace orvento::core {

namespace {

// How long a writer waits for another workstation's write to finish before giving up.
constexpr int kBusyTimeoutMs = 8000;

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

} // namespace

Database::Database(QString connectionName)
    : m_connectionName(std::move(connectionName)) {}

Database::~Database() {
    close();
    if (QSqlDatabase::contains(m_connectionName))
        QSqlDatabase::removeDatabase(m_connectionName);
}

bool Database::open(const QString& filePath) {
    close();
    m_lastError.clear();
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
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
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
    const QVariant h = handle().driver()->handle();
    if (h.isValid() && qstrcmp(h.typeName(), "sqlite3*") == 0)
        registerCzechCollation(*static_cast<sqlite3* const*>(h.constData()));
    FileLock::acquire(ldbPathFor(filePath), FileLock::Mode::Shared, true, m_ldbLock);
    return true;
}

void Database::close() {
    if (QSqlDatabase::contains(m_connectionName)) {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen())
            db.close();
    }
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
    for (const auto& [name, value] : params)
        query.bindValue(QLatin1Char(':') + name, storedValue(value));
}

bool Database::prepareAndRun(QSqlQuery& query, const QString& sql, const SqlParams& params) {
    m_lastError.clear();
    if (!isOpen()) {
        m_lastError = QStringLiteral("Databáze není připojena.");
        return false;
    }
    if (!query.prepare(sql)) {
        m_lastError = errorText(query.lastError());
        return false;
    }
    bindAll(query, params);
    if (!query.exec()) {
        m_lastError = errorText(query.lastError());
        return false;
    }
    return true;
}

bool Database::execute(const QString& sql, const SqlParams& params) {
    QSqlQuery query(handle());
    if (!prepareAndRun(query, sql, params))
        return false;
    const QVariant id = query.lastInsertId();
    if (id.isValid())
        m_newRowId = id.toLongLong();
    query.finish();
    if (m_observer)
        m_observer(sql);
    return true;
}

QSqlQuery Database::select(const QString& sql, const SqlParams& params) {
    QSqlQuery query(handle());
    query.setForwardOnly(true);
    if (!prepareAndRun(query, sql, params))
        return QSqlQuery(handle());
    return query;
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
    QSqlQuery query(handle());
    m_lastError.clear();
    if (!isOpen()) {
        m_lastError = QStringLiteral("Databáze není připojena.");
        return false;
    }
    if (!query.exec(sql)) {
        m_lastError = errorText(query.lastError());
        return false;
    }
    return true;
}

bool Database::beginTransaction() {
    if (!handle().transaction()) {
        m_lastError = errorText(handle().lastError());
        return false;
    }
    return true;
}

bool Database::commit() {
    if (!handle().commit()) {
        m_lastError = errorText(handle().lastError());
        return false;
    }
    return true;
}

void Database::rollback() {
    handle().rollback();
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

void Database::setStatementObserver(std::function<void(const QString&)> observer) {
    m_observer = std::move(observer);
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
    return QStringLiteral("Při ukládání záznamu do \"%1\" došlo k chybě: metoda \"Execute\" "
                          "selhala.")
        .arg(table);
}

QString saveFailedMessage() {
    return QStringLiteral("Při ukládání záznamu došlo k chybě: metoda \"Execute\" selhala.");
}

QString newRowNotFoundMessage() {
    return QStringLiteral("Chyba: nelze nalézt nově vložený záznam!");
}

} // namespace orvento::core
