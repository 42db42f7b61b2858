#include "services/ActionHistory.h"

#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/Schema.h"
#include "core/StatementSavepoint.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace orvento::services {

namespace {

constexpr int kOfferObject = 0;

MemFieldType memTypeOf(core::ColumnType type) {
    switch (type) {
    case core::ColumnType::Counter:
    case core::ColumnType::Integer:
        return MemFieldType::Integer;
    case core::ColumnType::Double:
        return MemFieldType::Float;
    case core::ColumnType::Bit:
        return MemFieldType::Boolean;
    case core::ColumnType::DateTime:
        return MemFieldType::DateTime;
    case core::ColumnType::Memo:
    case core::ColumnType::Binary:
        return MemFieldType::Memo;
    case core::ColumnType::Text:
        break;
    }
    return MemFieldType::String;
}

QVariant memValue(MemFieldType type, const QVariant& stored) {
    if (!stored.isValid() || stored.isNull())
        return {};
    switch (type) {
    case MemFieldType::Integer:
        return stored.toLongLong();
    case MemFieldType::Float:
        return stored.toDouble();
    case MemFieldType::Boolean:
        return stored.toInt() != 0;
    case MemFieldType::DateTime: {
        const QDateTime value = core::Database::toDateTime(stored);
        return value.isValid() ? QVariant(value) : QVariant();
    }
    default:
        return stored.toString();
    }
}

} // namespace

QString actionTypeText(int actionType) {
    switch (actionType) {
    case static_cast<int>(ActionType::Created):
        return QStringLiteral("Přidání");
    case static_cast<int>(ActionType::Changed):
        return QStringLiteral("Změna");
    default:
        return {};
    }
}

std::optional<MemTable> snapshotOfQuery(core::Database& db, const QString& table,
                                        const QString& sql, const core::SqlParams& params) {
    const core::TableDef* def = core::findTable(core::DatabaseKind::Agenda, table);
    QSqlQuery query = db.select(sql, params);
    if (!def || !query.isActive())
        return std::nullopt;
    MemTable snapshot;
    const QSqlRecord columns = query.record();
    for (int c = 0; c < columns.count(); ++c) {
        const core::ColumnDef* column = def->column(columns.fieldName(c));
        const MemFieldType type = column ? memTypeOf(column->type) : MemFieldType::String;
        snapshot.addField(columns.fieldName(c), type, column ? column->width : 0);
    }
    while (query.next()) {
        std::vector<QVariant>& row = snapshot.appendRow();
        for (int c = 0; c < columns.count(); ++c)
            row[static_cast<std::size_t>(c)] =
                memValue(snapshot.fields[static_cast<std::size_t>(c)].type, query.value(c));
    }
    return snapshot;
}

QString historyFailedMessage() {
    return core::writeFailureText(QStringLiteral(
        "Při ukládání záznamu do tabulky Akce došlo k chybě: metoda \"Execute\" selhala."));
}

bool recordOfferSave(core::Database& db, qint64 offerId, ActionType type,
                     const QString& description, int level) {
    if (level <= HistoryLevel::Off)
        return true;
    QString offerText;
    QString itemsText;
    if (level >= HistoryLevel::Detailed) {
        const core::SqlParams id = {{QStringLiteral("ID"), offerId}};
        const auto offer =
            snapshotOfQuery(db, QStringLiteral("Nabidky"),
                            QStringLiteral("SELECT * FROM Nabidky WHERE ID = :ID"), id);
        const auto items = snapshotOfQuery(
            db, QStringLiteral("NabPolozky"),
            QStringLiteral("SELECT * FROM NabPolozky WHERE CisloNab = :ID ORDER BY Poradi ASC"),
            id);
        // A detailed row without the snapshots it stands for would tell whoever reads the
        // history later that the offer was empty: it fails like its insert, and is told.
        if (!offer || !items)
            return false;
        offerText = writeMemTable(*offer, true);
        itemsText = writeMemTable(*items, true);
    }
    const core::CurrentUser& user = core::programState().user;
    // The row may fail without the save it belongs to.
    core::StatementSavepoint savepoint(db, QStringLiteral("history_row"));
    if (!savepoint.isReady())
        return false;
    const bool ok = db.execute(
        QStringLiteral("INSERT INTO Akce (ObjectType, ObjectID, ActionType, UserID, UserName, "
                       "ActionDate, Description, ActionData1, ActionData2) VALUES (:ObjectType, "
                       ":ObjectID, :ActionType, :UserID, :UserName, :ActionDate, :Description, "
                       ":ActionData1, :ActionData2)"),
        {{QStringLiteral("ObjectType"), kOfferObject},
         {QStringLiteral("ObjectID"), offerId},
         {QStringLiteral("ActionType"), static_cast<int>(type)},
         {QStringLiteral("UserID"), user.uzivId},
         {QStringLiteral("UserName"), user.jmeno},
         {QStringLiteral("ActionDate"), QDateTime::currentDateTime()},
         {QStringLiteral("Description"), description.left(255)},
         {QStringLiteral("ActionData1"), offerText},
         {QStringLiteral("ActionData2"), itemsText}});
    if (ok)
        savepoint.keep();
    return ok;
}

bool deleteOfferHistory(core::Database& db, qint64 offerId) {
    return db.execute(
        QStringLiteral(
            "DELETE FROM Akce WHERE (ObjectID = :ObjectID) AND (ObjectType = :ObjectType)"),
        {{QStringLiteral("ObjectID"), offerId}, {QStringLiteral("ObjectType"), kOfferObject}});
}

std::optional<std::vector<ActionRow>> offerHistory(core::Database& db, qint64 offerId) {
    QSqlQuery query = db.select(
        QStringLiteral("SELECT ID, ActionType, UserName, ActionDate, Description FROM Akce WHERE "
                       "(ObjectID = :ObjectID) AND (ObjectType = :ObjectType) ORDER BY ID ASC"),
        {{QStringLiteral("ObjectID"), offerId}, {QStringLiteral("ObjectType"), kOfferObject}});
    if (!query.isActive())
        return std::nullopt;
    std::vector<ActionRow> rows;
    while (query.next())
        rows.push_back({query.value(0).toLongLong(), query.value(1).toInt(),
                        query.value(2).toString(), core::Database::toDateTime(query.value(3)),
                        query.value(4).toString()});
    return rows;
}

ActionSnapshots readSnapshots(core::Database& db, qint64 actionId) {
    QSqlQuery query =
        db.select(QStringLiteral("SELECT ActionData1, ActionData2 FROM Akce WHERE ID = :ID"),
                  {{QStringLiteral("ID"), actionId}});
    ActionSnapshots snapshots;
    if (!query.next())
        return snapshots;
    const QString offer = query.value(0).toString();
    const QString items = query.value(1).toString();
    if (!offer.isEmpty())
        snapshots.offer = readMemTable(offer);
    if (!items.isEmpty())
        snapshots.items = readMemTable(items);
    return snapshots;
}

} // namespace orvento::services
