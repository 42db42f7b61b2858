#include "core/SchemaUpgrade.h"

#include "core/AppVersion.h"
#include "core/DataStore.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/ProgressScope.h"
#include "core/ServerConnection.h"
#include "core/SqlDialect.h"
#include "core/SqliteFolderStore.h"
#include "core/UserInteraction.h"

#include <QFileInfo>
#include <QSqlQuery>

#include <set>

namespace orvento::core {

namespace {

UpgradeStep column(const char* table, const char* name, const QVariant& initial) {
    return {QString::fromLatin1(table), QString::fromLatin1(name), initial};
}

std::vector<UpgradeStep> globalSteps() {
    std::vector<UpgradeStep> steps = {column("Poznamky", "Vyrizeno", false),
                                      column("Login", "Administrator_AR", true)};
    for (const char* level :
         {"Nabidky_AR", "Adresar_AR", "Cenik_AR", "Poznamky_AR", "SeznamAgend_AR", "Import_AR"})
        steps.push_back(column("Login", level, 0));
    for (const char* right :
         {"HromadnePreceneni_AR", "HromadneNastaveni_AR", "UdajeFirma_AR", "GlobalniNastaveni_AR",
          "UzivatelskeNastaveni_AR", "VytvoreniZalohy_AR", "ObnoveniZalohy_AR", "NakupniCeny_AR",
          "Zamky_AR", "VsechnyNabidky_AR"})
        steps.push_back(column("Login", right, true));
    for (const char* text : {"PrefiltrNabidkyVytvorID_AR", "Telefon", "Email"})
        steps.push_back(column("Login", text, QString()));
    return steps;
}

std::vector<UpgradeStep> agendaSteps() {
    return {
        column("NabPolozky", "Identif", QString()),
        column("NabPolozky", "Nadpisova", false),
        column("NabPolozky", "Textova", false),
        column("Nabidky", "Zamek", false),
        column("SezIdentif", "Nepouzivat", false),
        column("NabSablony", "Nadpis", QStringLiteral("Nabídka")),
        column("Zasoby", "Obrazek", QString()),
        {QStringLiteral("Akce"), QString(), QVariant()},
    };
}

QString key(const QString& table, const QString& columnName) {
    return table.toLower() + QLatin1Char('.') + columnName.toLower();
}

// Runs one step. Text columns accept empty strings in SQLite as they are; an empty text is bound
// as such, never as NULL.
bool runStep(Database& db, DatabaseKind kind, const UpgradeStep& step) {
    const TableDef* table = findTable(kind, step.table);
    if (!table)
        return false;
    if (step.createsTable()) {
        if (!db.executeDdl(createTableSql(*table, db.dialect())))
            return false;
        for (const IndexDef& index : table->indexes) {
            if (!db.executeDdl(createIndexSql(*table, index, db.dialect())))
                return false;
        }
        return true;
    }
    const ColumnDef* def = table->column(step.column);
    if (!def)
        return false;
    return db.executeDdl(addColumnSql(table->name, *def, db.dialect())) &&
           db.execute(QStringLiteral("UPDATE %1 SET %2 = :%2").arg(table->name, def->name),
                      {{def->name, step.initialValue}});
}

bool upgrade(Database& db, DatabaseKind kind, UserInteraction& ui) {
    std::set<QString> present;
    std::set<QString> tables;
    for (const auto& [table, col] : db.columns()) {
        present.insert(key(table, col));
        tables.insert(table.toLower());
    }
    const int version = currentSchemaVersion(kind);
    bool ok = false;
    QString reason;
    {
        Transaction tx(db);
        ok = tx.isActive();
        for (const UpgradeStep& step : upgradeStepsOf(kind)) {
            const bool missing = step.createsTable()
                                     ? !tables.contains(step.table.toLower())
                                     : !present.contains(key(step.table, step.column));
            if (ok && missing)
                ok = runStep(db, kind, step);
            ui.keepAlive();
        }
        ok = ok && writeSchemaVersion(db, version);
        const auto rows =
            ok ? db.scalar(QStringLiteral("SELECT count(*) FROM Verze")) : std::nullopt;
        ok = ok && rows.has_value();
        if (ok && rows->toInt() == 0)
            ok = db.execute(QStringLiteral("INSERT INTO Verze (VerID) VALUES (:VerID)"),
                            {{QStringLiteral("VerID"), version}});
        ok = ok && tx.commit();
        if (!ok)
            reason = db.lastError();
    } // a failed upgrade is rolled back here, before the person reads why
    if (!ok)
        ui.error(QStringLiteral("Při převodu databáze na novější verzi došlo k chybě:\n\n") +
                 reason);
    return ok;
}

} // namespace

const std::vector<UpgradeStep>& upgradeStepsOf(DatabaseKind kind) {
    static const std::vector<UpgradeStep> global = globalSteps();
    static const std::vector<UpgradeStep> agenda = agendaSteps();
    return kind == DatabaseKind::Global ? global : agenda;
}

bool ensureIndexes(Database& db, DatabaseKind kind) {
    std::set<QString> present;
    QSqlQuery rows = db.select(db.dialect().indexNamesQuery());
    while (rows.next())
        present.insert(rows.value(0).toString().toLower());
    rows.finish();
    Transaction tx(db);
    if (!tx.isActive())
        return false;
    for (const TableDef& table : schemaOf(kind)) {
        for (const IndexDef& index : table.indexes) {
            if (present.contains(index.name.toLower()) || !db.hasTable(table.name))
                continue;
            if (!db.executeDdl(createIndexSql(table, index, db.dialect())))
                return false;
        }
    }
    return tx.commit();
}

std::optional<int> storedSchemaVersion(Database& db) {
    QSqlQuery row = db.select(QStringLiteral("SELECT VerID FROM Verze"));
    if (!row.isActive())
        return std::nullopt;
    // A `Verze` without its row counts as the oldest version: the upgrade writes the row.
    return row.next() ? row.value(0).toInt() : 0;
}

QString newerDatabaseMessage(DatabaseKind kind, const QString& agenda, int stored) {
    // This program knows the stand-in: its folder lost the connection file, not its update.
    if (kind == DatabaseKind::Global && stored == kMovedToServerVersion)
        return QStringLiteral("Data této datové složky byla přesunuta na databázový server, v "
                              "datové složce však chybí soubor s připojením k serveru (%1). "
                              "Vraťte ho do datové složky (je stejný na všech stanicích), nebo "
                              "vyberte jinou datovou složku.")
            .arg(QString::fromLatin1(kConnectionFileName));
    const int program = currentSchemaVersion(kind);
    const QString head =
        kind == DatabaseKind::Global
            ? QStringLiteral("Hlavní databáze je novější verze než spouštěný program (IDMAINDB "
                             "%1, IDPRG %2). ")
                  .arg(stored)
                  .arg(program)
            : QStringLiteral("Databáze firmy [%1] je novější verze než spouštěný program (IDDB "
                             "%2, IDPRG %3). ")
                  .arg(agenda)
                  .arg(stored)
                  .arg(program);
    return head +
           QStringLiteral("Nyní používáte verzi %1 - proveďte update programu (nejnovější verzi "
                          "získáte u dodavatele programu Orvento).\n\nPokud používáte program v "
                          "síti, na všech stanicích musí být stejná verze programu.")
               .arg(kVersion);
}

QString upgradeRefusedMessage() {
    return QStringLiteral("Program nyní potřebuje upravit strukturu databáze na novější verzi, na "
                          "některé stanici v síti je však program stále spuštěný. Ukončete na "
                          "všech stanicích tento program a zkuste to znovu.");
}

bool checkSchemaVersion(DataStore& store, Database& db, const DatabaseId& which,
                        UserInteraction& ui) {
    const DatabaseKind kind = which.kind;
    const QString& agenda = which.agenda;
    const auto stored = storedSchemaVersion(db);
    if (!stored) {
        ui.error(unusableDatabaseMessage(kind, agenda, store.location(which), problemOf(db),
                                         db.lastError()));
        return false;
    }
    const int program = currentSchemaVersion(kind);
    if (*stored > program) {
        ui.warning(newerDatabaseMessage(kind, agenda, *stored));
        return false;
    }
    if (*stored == program) {
        ensureIndexes(db, kind);
        return true;
    }

    db.close();
    if (store.openedElsewhere(which)) {
        ui.warning(upgradeRefusedMessage());
        return false;
    }
    OpenFailure failure;
    if (!store.open(db, which, &failure)) {
        ui.error(failure.reason);
        return false;
    }
    const ProgressScope wait(ui, QStringLiteral("Probíhá převod databáze\nprosím čekejte..."), 0,
                             false);
    return upgrade(db, kind, ui) && (ensureIndexes(db, kind), true);
}

bool checkSchemaVersion(Database& db, DatabaseKind kind, const QString& agenda,
                        UserInteraction& ui) {
    // The store of the folder the connection's file is in, whatever the program's folders are.
    const QFileInfo file(db.filePath());
    SqliteFolderStore store(file.absolutePath(), programState().folders.program);
    const DatabaseId which =
        kind == DatabaseKind::Global
            ? DatabaseId::global()
            : DatabaseId::agendaNamed(agenda.isEmpty() ? file.completeBaseName() : agenda);
    return checkSchemaVersion(store, db, which, ui);
}

} // namespace orvento::core
