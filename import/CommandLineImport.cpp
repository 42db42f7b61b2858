#include "import/CommandLineImport.h"

#include "core/AppContext.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/UserInteraction.h"
#include "import/ImportDefinitionStore.h"
#include "import/ImportProtocol.h"
#include "import/ImportRun.h"
#include "import/ImportWizardLogic.h"
#include "import/MoneyImport.h"
#include "import/XBaseMoneyTable.h"
#include "services/CommandLineSession.h"
#include "services/Workstations.h"

#include <QTextStream>

namespace orvento::import {

namespace {

const QString kImport = QStringLiteral("--import");
const QString kImportId = QStringLiteral("--import-id");
const QString kData = QStringLiteral("--data");
const QString kAgenda = QStringLiteral("--agenda");
const QString kFile = QStringLiteral("--file");

// The definition the request names, by ID or by name (letter case ignored); nothing after the
// message. An ambiguous name lists the IDs to choose from with --import-id.
std::optional<ImportDefinition> findDefinition(const CommandLineRequest& request,
                                               core::Database& agenda, core::UserInteraction& ui) {
    const ImportDefinitionStore store(agenda);
    QString error;
    qint64 id = 0;
    if (request.definition) {
        id = *request.definition;
    } else {
        const std::vector<DefinitionListRow> rows = store.findByName(request.definitionName, error);
        if (!error.isEmpty()) {
            ui.error(error);
            return std::nullopt;
        }
        if (rows.empty()) {
            ui.error(
                QStringLiteral("Definice importu \"%1\" neexistuje.").arg(request.definitionName));
            return std::nullopt;
        }
        if (rows.size() > 1) {
            QString text = QStringLiteral("Názvu \"%1\" odpovídá více definic importu; zvolte "
                                          "jednu z nich volbou --import-id:")
                               .arg(request.definitionName);
            for (const DefinitionListRow& row : rows)
                text += QStringLiteral("\n  --import-id %1   %2").arg(row.id).arg(row.name);
            ui.error(text);
            return std::nullopt;
        }
        id = rows.front().id;
    }
    std::optional<ImportDefinition> definition = store.read(id, error);
    if (!definition) {
        ui.error(error.isEmpty() ? QStringLiteral("Definice importu s ID %1 neexistuje.").arg(id)
                                 : error);
        return std::nullopt;
    }
    return definition;
}

} // namespace

bool asksForImport(const QStringList& arguments) {
    return arguments.contains(kImport) || arguments.contains(kImportId);
}

QString importUsage() {
    return QStringLiteral("Použití: orvento --import \"<definice>\" [--data <složka>] "
                          "[--agenda <firma>] [--file <zdrojový soubor>]\n"
                          "        orvento --import-id <ID> [--data <složka>] [--agenda <firma>] "
                          "[--file <zdrojový soubor>]");
}

std::optional<CommandLineRequest> parseImportRequest(const QStringList& arguments, QString& error) {
    CommandLineRequest request;
    bool named = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& option = arguments.at(i);
        if (i + 1 >= arguments.size()) {
            error = QStringLiteral("Chybí hodnota volby %1.").arg(option);
            return std::nullopt;
        }
        const QString& value = arguments.at(++i);
        if (option == kImport) {
            request.definitionName = value;
            named = true;
        } else if (option == kImportId) {
            bool ok = false;
            const qint64 id = value.toLongLong(&ok);
            if (!ok) {
                error = QStringLiteral("ID definice importu \"%1\" není číslo.").arg(value);
                return std::nullopt;
            }
            request.definition = id;
        } else if (option == kData) {
            request.dataFolder = value;
        } else if (option == kAgenda) {
            request.agenda = value;
        } else if (option == kFile) {
            request.sourceFile = value;
        } else {
            error = QStringLiteral("Neznámá volba %1.").arg(option);
            return std::nullopt;
        }
    }
    if (named == request.definition.has_value()) {
        error = QStringLiteral("Zadejte buď název definice importu (--import), nebo její ID "
                               "(--import-id).");
        return std::nullopt;
    }
    if (named && request.definitionName.trimmed().isEmpty()) {
        error = QStringLiteral("Název definice importu je prázdný.");
        return std::nullopt;
    }
    return request;
}

CommandLineImport::CommandLineImport(CommandLineRequest request, QTextStream& out, QTextStream& err)
    : m_request(std::move(request))
    , m_out(out)
    , m_err(err) {}

CommandLineImport::~CommandLineImport() = default;

void CommandLineImport::interrupt() {
    m_interrupted = true;
    core::programState().cancelRequested = true;
}

int CommandLineImport::run(const QString& programFolder) {
    services::CommandLineSession session(m_err, m_interrupted);
    core::AppContext& context = session.context();
    core::UserInteraction& ui = session.ui();
    core::ProgramState& state = core::programState();

    if (!session.start(programFolder, m_request.dataFolder, m_request.agenda) ||
        !mayOpenImportWizard(ui))
        return ImportNotStarted;
    // What the wizard's welcome page would say.
    if (services::otherWorkstationsRunning())
        ui.warning(otherWorkstationsNotice());

    const std::optional<ImportDefinition> definition =
        findDefinition(m_request, context.db().agenda, ui);
    if (!definition || !mayRunDefinition(definition->kind, ui))
        return ImportNotStarted;
    const bool money = definition->kind == DefinitionKind::Money;
    const QString source = m_request.sourceFile.isEmpty()
                               ? sourceFileOf(*definition, state.folders.data)
                               : services::commandLinePath(m_request.sourceFile);
    if (!money && source.trimmed().isEmpty()) {
        ui.warning(missingSourceFileMessage());
        return ImportNotStarted;
    }
    if (m_interrupted)
        return ImportFailed;

    ImportProtocol protocol;
    protocol.setListener([this, &protocol](ImportProtocol::Change change) {
        // Lines go out as they come; a line the run takes back again stays printed.
        if (change == ImportProtocol::Change::Added)
            m_out << protocol.lines().back().text << Qt::endl;
    });
    const auto display = [&session](int, int) {
        session.ui().letSignalsIn();
    };
    int result = ImportRun::Failed;
    bool interrupted = false;
    if (money) {
        // Money's folders come from the definition; --file has nothing to stand for.
        MoneyImport run(context.db().agenda, ui, protocol, display, XBaseMoneyTable::factory());
        result = run.run(*definition, state.folders.data);
        interrupted = run.interrupted();
    } else {
        ImportRun importRun(context.db().agenda, ui, protocol);
        importRun.setDisplay(display);
        result = importRun.execute(*definition, source);
        interrupted = importRun.interrupted();
    }
    const bool done = result == ImportRun::Ok && !interrupted && !m_interrupted;
    if (!done && result != ImportRun::Ok)
        m_err << runFailedText() << Qt::endl;
    return done ? ImportDone : ImportFailed;
}

} // namespace orvento::import
