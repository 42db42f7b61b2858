#include "services/CommandLineMigration.h"

#include "core/ConnectionString.h"
#include "core/ProgramState.h"
#include "core/StoreChoice.h"
#include "services/AccessRights.h"
#include "services/CommandLineSession.h"
#include "services/DataFolderMigration.h"

#include <QDir>
#include <QTextStream>

namespace orvento::services {

namespace {

const QString kMigrate = QStringLiteral("--migrate-to-postgresql");
const QString kData = QStringLiteral("--data");

} // namespace

bool asksForMigration(const QStringList& arguments) {
    return arguments.contains(kMigrate);
}

QString migrationUsage() {
    return QStringLiteral("Použití: orvento --migrate-to-postgresql <připojení> [--data <složka>]");
}

std::optional<MigrationRequest> parseMigrationRequest(const QStringList& arguments,
                                                      QString& error) {
    MigrationRequest request;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& option = arguments.at(i);
        if (option != kMigrate && option != kData) {
            error = QStringLiteral("Neznámá volba %1.").arg(option);
            return std::nullopt;
        }
        if (i + 1 >= arguments.size()) {
            error = QStringLiteral("Chybí hodnota volby %1.").arg(option);
            return std::nullopt;
        }
        (option == kMigrate ? request.connection : request.dataFolder) = arguments.at(++i);
    }
    return request;
}

CommandLineMigration::CommandLineMigration(MigrationRequest request, QTextStream& out,
                                           QTextStream& err)
    : m_request(std::move(request))
    , m_out(out)
    , m_err(err) {}

int CommandLineMigration::run(const QString& programFolder) {
    constexpr int kMoved = 0;
    constexpr int kNotMoved = 1;
    CommandLineSession session(m_err, m_interrupted);
    CommandLineInteraction& ui = session.ui();
    QString problem;
    std::optional<core::ServerConnection> server =
        core::parseConnectionString(m_request.connection, &problem);
    if (!server) {
        ui.error(problem);
        return kNotMoved;
    }
    const bool passwordGiven = !server->password.isEmpty();
    if (!passwordGiven && m_makers.password) {
        if (const auto kept = m_makers.password(*server))
            server->password = *kept;
    }
    if (!m_makers.server) {
        ui.error(QStringLiteral("Tato verze programu s databázovým serverem pracovat neumí."));
        return kNotMoved;
    }
    session.context().startUp().setStoreMakers(m_makers);
    if (!session.startData(programFolder, m_request.dataFolder, true))
        return kNotMoved;
    // Moving the data elsewhere is redirecting the data folder: full access to the agenda list.
    if (!checkModule(Module::SeznamAgend, ModuleAction::Delete, ui))
        return kNotMoved;
    core::ProgramState& state = core::programState();
    state.db->global.close();

    const std::unique_ptr<core::DataStore> target = m_makers.server(*server, programFolder);
    if (!target) {
        ui.error(core::serverUnreachableMessage(*server, QString()));
        return kNotMoved;
    }
    m_out << QStringLiteral("Převádím datovou složku %1 na databázový server %2.")
                 .arg(QDir::toNativeSeparators(state.folders.data), server->label())
          << Qt::endl;
    DataFolderMigration migration(session.context().store(), *target,
                                  [this](const QString& line) { m_out << line << Qt::endl; });
    if (!migration.begin() || m_interrupted || !migration.copy() || m_interrupted) {
        ui.error(migration.problem().isEmpty()
                     ? QStringLiteral("Převod byl přerušen, datová složka zůstala beze změny.")
                     : migration.problem() +
                           QStringLiteral("\n\nDatová složka zůstala beze změny."));
        return kNotMoved;
    }
    std::vector<core::StoredDatabase> moved;
    qint64 rows = 0;
    for (const auto& m : migration.moved()) {
        moved.push_back(m.database);
        rows += m.rows;
    }
    if (!switchFolderToServer(state.folders.data, programFolder, moved, *server, &problem)) {
        migration.discard();
        ui.error(problem + QStringLiteral("\n\nDatová složka zůstala beze změny."));
        return kNotMoved;
    }
    migration.end();
    m_out << QStringLiteral("Hotovo: %1 databází (%2 řádků) je na serveru %3. Soubory databází "
                            "v datové složce mají nyní příponu %4; stanice se starší verzí "
                            "programu se k datům nepřipojí.")
                 .arg(moved.size())
                 .arg(rows)
                 .arg(server->label(), movedAsideName(QString()))
          << Qt::endl;
    if (passwordGiven) {
        m_out << (core::keepInKeyring(*server, server->password)
                      ? QStringLiteral("Heslo je uložené v klíčence tohoto uživatele.")
                      : QStringLiteral("Heslo se nepodařilo uložit do klíčenky; zapište je do "
                                       "souboru ~/.pgpass."))
              << Qt::endl;
    }
    return kMoved;
}

} // namespace orvento::services
