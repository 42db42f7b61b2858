#include "core/Database.h"
#include "core/PostgresCatalog.h"
#include "core/SqlDialect.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>

namespace orvento::core {

namespace {

// How full the server fills a table's pages with new rows.
constexpr int kPageFillPercent = 75;

// A workstation that lost its power or its network leaves its connections behind; the server
// notices after the first silent probe plus every unanswered one (30 s + 6 x 10 s) and frees the
// record locks they held within about two minutes.
constexpr int kKeepaliveIdleS = 30;
constexpr int kKeepaliveIntervalS = 10;
constexpr int kKeepaliveCount = 6;
constexpr int kConnectTimeoutS = 10;
constexpr int kApplicationNameLimit = 63;

// Whoever looks at the server's sessions (and the message about a record another workstation
// edits) sees which workstation a connection belongs to.
QString applicationName() {
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9._-]"));
    QString host = QSysInfo::machineHostName();
    host.replace(unsafe, QStringLiteral("_"));
    return (QStringLiteral("Orvento@") + host).left(kApplicationNameLimit);
}

class NoSession final : public SqlDialect::Session {};

// The SQLSTATE classes and codes the data layer tells apart.
FailureKind kindOfState(const QString& state) {
    static const QStringList busy = {
        QStringLiteral("55P03"), // a lock not had within lock_timeout
        QStringLiteral("40001"), // serialization failure
        QStringLiteral("40P01"), // deadlock detected
        QStringLiteral("57014"), // statement cancelled (statement_timeout)
    };
    if (busy.contains(state))
        return FailureKind::Busy;
    // The server went (restarted, stopped, the session ended by an administrator) or the
    // network did; the driver's own failures on a broken connection carry no code at all.
    static const QStringList gone = {
        QStringLiteral("57P01"), // terminating connection due to administrator command
        QStringLiteral("57P02"), // crash shutdown
        QStringLiteral("57P03"), // cannot connect now (starting up, shutting down)
    };
    if (state.isEmpty() || gone.contains(state) || state.startsWith(QLatin1String("08")))
        return FailureKind::ConnectionLost;
    if (state.startsWith(QLatin1String("23")))
        return FailureKind::Constraint;
    if (state.startsWith(QLatin1String("53")) || state == QLatin1String("58030"))
        return FailureKind::Disk;
    if (state == QLatin1String("XX001") || state == QLatin1String("XX002"))
        return FailureKind::Damaged;
    return FailureKind::Other;
}

class PostgresDialect final : public SqlDialect {
public:
    QString driverName() const override { return QStringLiteral("QPSQL"); }

    QString connectOptions(int /*busyTimeoutMs*/) const override {
        return QStringLiteral("connect_timeout=%1;keepalives=1;keepalives_idle=%2;"
                              "keepalives_interval=%3;keepalives_count=%4;application_name=%5")
            .arg(kConnectTimeoutS)
            .arg(kKeepaliveIdleS)
            .arg(kKeepaliveIntervalS)
            .arg(kKeepaliveCount)
            .arg(applicationName());
    }

    QString probeStatement() const override { return QStringLiteral("SELECT 1"); }

    std::unique_ptr<Session> setUp(Database& db, const int& busyTimeoutMs) const override {
        if (!db.schema().isEmpty())
            db.scalar(QStringLiteral("SELECT set_config('search_path', :Path, false)"),
                      {{QStringLiteral("Path"), postgres::searchPathFor(db.schema())}});
        db.scalar(QStringLiteral("SELECT set_config('lock_timeout', :Ms, false)"),
                  {{QStringLiteral("Ms"), QString::number(busyTimeoutMs)}});
        // The server's notices (what a DROP took with it) are nothing for the person.
        db.scalar(QStringLiteral("SELECT set_config('client_min_messages', 'warning', false)"));
        return std::make_unique<NoSession>();
    }

    // BEGIN takes no lock by itself; afterBegin() takes the agenda's writing lock.
    QString beginUnit() const override { return QStringLiteral("BEGIN"); }

    // Writers of one agenda are serialised as the embedded engine serialises them, so that the
    // numbering and the keyed saves read what the previous unit wrote. The wait is bounded by the
    // connection's busy time-out at this moment, which a caller may have changed since opening.
    bool afterBegin(Database& db, int busyTimeoutMs) const override {
        if (db.schema().isEmpty())
            return true;
        // Both statements are kept prepared on the connection: they run with every unit.
        if (!db.execute(QStringLiteral("SELECT set_config('lock_timeout', :Ms, true)"),
                        {{QStringLiteral("Ms"), QString::number(busyTimeoutMs)}}))
            return false;
        const auto key = postgres::lockKey(postgres::LockPurpose::Writing, db.schema());
        return db.execute(
            QStringLiteral("SELECT 1 FROM pg_advisory_xact_lock(:Group, :Item)"),
            {{QStringLiteral("Group"), key.first()}, {QStringLiteral("Item"), key.second()}});
    }

    QString returningId() const override { return QStringLiteral(" RETURNING ID"); }

    // The driver's last ID is an OID, which our tables do not have.
    bool keepsLastInsertedId() const override { return false; }

    std::optional<qint64> lastInsertedId(const QSqlQuery& /*insert*/) const override {
        return std::nullopt;
    }

    FailureKind failureKindOf(const QSqlError& error) const override {
        return kindOfState(error.nativeErrorCode().trimmed());
    }

    QString columnTypeSql(ColumnType type) const override {
        switch (type) {
        case ColumnType::Counter:
            // IDs are copied with their values (a new agenda from its template, a restore), so
            // the counter takes given values and is moved past them afterwards (reseatCounter).
            return QStringLiteral("BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
        case ColumnType::Integer:
            return QStringLiteral("INTEGER");
        case ColumnType::Double:
            // REAL would be single precision here.
            return QStringLiteral("DOUBLE PRECISION");
        case ColumnType::Bit:
            return QStringLiteral("INTEGER NOT NULL DEFAULT 0");
        case ColumnType::DateTime:
        case ColumnType::Text:
        case ColumnType::Memo:
            return QStringLiteral("TEXT");
        case ColumnType::Binary:
            return QStringLiteral("BYTEA");
        }
        return {};
    }

    bool reseatCounter(Database& db, const QString& table) const override {
        return db
            .scalar(QStringLiteral("SELECT setval(pg_get_serial_sequence(:Table, 'id'), "
                                   "COALESCE((SELECT max(ID) FROM %1), 0) + 1, false)")
                        .arg(table),
                    {{QStringLiteral("Table"), table}})
            .has_value();
    }

    // The server rounds to given places only in its exact decimal type.
    QString roundedSql(const QString& expression, int decimals) const override {
        return QStringLiteral("ROUND(CAST(%1 AS NUMERIC), %2)").arg(expression).arg(decimals);
    }

    // Unquoted names fold to lower case.
    QString storedName(const QString& table) const override { return table.toLower(); }

    QString tableNamesQuery() const override {
        return QStringLiteral("SELECT table_name FROM information_schema.tables WHERE "
                              "table_schema = current_schema() AND table_type = 'BASE TABLE' "
                              "ORDER BY table_name");
    }

    QString indexNamesQuery() const override {
        return QStringLiteral(
            "SELECT indexname FROM pg_indexes WHERE schemaname = current_schema()");
    }

    // The kind and version live in the registry row of the connection's schema.
    bool writeKindMark(Database& db, DatabaseKind kind) const override {
        return db
            .scalar(QStringLiteral("UPDATE orvento.agendas SET kind = :Kind WHERE schema_name = "
                                   "current_schema() RETURNING 1"),
                    {{QStringLiteral("Kind"), kindMarkOf(kind)}})
            .has_value();
    }

    std::optional<int> readKindMark(Database& db) const override {
        const auto value = db.scalar(QStringLiteral(
            "SELECT kind FROM orvento.agendas WHERE schema_name = current_schema()"));
        if (!value || value->isNull())
            return std::nullopt;
        return value->toInt();
    }

    int kindMarkOf(DatabaseKind kind) const override { return sqliteDialect().kindMarkOf(kind); }

    bool writeVersionMark(Database& db, int version) const override {
        return db
            .scalar(QStringLiteral("UPDATE orvento.agendas SET version = :Version WHERE "
                                   "schema_name = current_schema() RETURNING 1"),
                    {{QStringLiteral("Version"), version}})
            .has_value();
    }

    // Every table read through; the store checks table by table.
    QString integrityCheck() const override { return QStringLiteral("SELECT 'ok'"); }
    QString rebuildIndexes() const override { return QStringLiteral("REINDEX SCHEMA %1"); }
    QString compact() const override { return QStringLiteral("VACUUM (FULL, ANALYZE) %1"); }

    // The rows take the types of the table's own columns, so no value needs a cast; every
    // statement is a round trip to the server, which is what bulk work spends its time on.
    QString rowSetSql(const QString& table, const QString& parameter) const override {
        return QStringLiteral("json_populate_recordset(CAST(NULL AS %1), CAST(:%2 AS json))")
            .arg(table, parameter);
    }

    bool indexesEndInRowId() const override { return false; }

    // Room left in every page, so that a row rewritten with new prices (repricing, an import, an
    // offer saved again) stays on its page and its indexes need no new entries: those entries,
    // compared in the Czech order, are what bulk updates spend most of their time on.
    QString tableOptionsSql() const override {
        return QStringLiteral(" WITH (fillfactor = %1)").arg(kPageFillPercent);
    }
};

} // namespace

const SqlDialect& postgresDialect() {
    static const PostgresDialect dialect;
    return dialect;
}

} // namespace orvento::core
