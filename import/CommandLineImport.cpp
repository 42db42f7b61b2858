#include "import/CommandLineImport.h"

#include "core/AppContext.h"
#include "core/Database.h"
#include "core/Navigator.h"
#include "core/ProgramState.h"
#include "core/Schema.h"
#include "core/SchemaUpgrade.h"
#include "core/SilentInteraction.h"
#include "core/StartUp.h"
#include "core/UserInteraction.h"
#include "import/ImportDefinitionStore.h"
#include "import/ImportProtocol.h"
#include "import/ImportRun.h"
#include "import/ImportWizardLogic.h"
#include "services/ProfileSession.h"
#include "services/StandardStartupHooks.h"
#include "services/Workstations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace orvento::import {

namespace {

const QString kImport = QStringLiteral("--import");
const QString kImportId = QStringLiteral("--import-id");
const QString kData = QStringLiteral("--data");
const QString kAgenda = QStringLiteral("--agenda");
const QString kFile = QStringLiteral("--file");
const char* const kPasswordVariable = "ORVENTO_PASSWORD";

// Messages go to the error stream as they come; nobody is there to answer, so every question is
// answered No and every dialog cancelled, except the one that follows a request to end the process
// ("Přerušit" pressed), which is answered Yes.
class PrintingInteraction : public core::SilentInteraction {
public:
    PrintingInteraction(QTextStream& err, const bool& interrupted)
        : m_err(err)
        , m_interrupted(interrupted) {}

    void information(const QString& text) override { print(QStringLiteral("Informace"), text); }
    void warning(const QString& text) override { print(QStringLiteral("Varování"), text); }
    void error(const QString& text) override { print(QStringLiteral("Chyba"), text); }
    core::Answer ask(const QString& text, core::Buttons, core::Answer) override {
        const core::Answer answer = m_interrupted ? core::Answer::Yes : core::Answer::No;
        print(QStringLiteral("Dotaz"),
              text + (answer == core::Answer::Yes ? QStringLiteral(" -> Ano")
                                                  : QStringLiteral(" -> Ne")));
        return answer;
    }
    void showProblems(const QString& heading, const QStringList& lines) override {
        print(QStringLiteral("Informace"), heading);
        for (const QString& line : lines)
            m_err << QStringLiteral("  ") << line << Qt::endl;
    }
    void keepAlive() override { letSignalsIn(); }

    // Lets a request to end the process in; a progress scope opened after the request cleared
    // the cancel flag, so it is set again.
    void letSignalsIn() const {
        QCoreApplication::processEvents();
        if (m_interrupted)
            core::programState().cancelRequested = true;
    }

private:
    void print(const QString& kind, const QString& text) {
        m_err << kind << QStringLiteral(": ") << text << Qt::endl;
    }

    QTextStream& m_err;
    const bool& m_interrupted;
};

std::shared_ptr<core::PendingNavigation> noWindow() {
    auto pending = std::make_shared<core::PendingNavigation>();
    pending->answer({core::NavigationStatus::NotAvailable, {}});
    return pending;
}

// No windows: the password comes from the environment, once, and every other window is one this
// run does not have.
class CommandLineNavigator : public core::Navigator {
public:
    std::shared_ptr<core::PendingNavigation> pickCatalogueItems() override { return noWindow(); }
    std::shared_ptr<core::PendingNavigation> openFirmCard(qint64) override { return noWindow(); }
    std::shared_ptr<core::PendingNavigation> pickFirm(std::optional<qint64>) override {
        return noWindow();
    }
    std::shared_ptr<core::PendingNavigation> pickPostCode() override { return noWindow(); }
    std::shared_ptr<core::PendingNavigation> showOfferHistory(qint64) override {
        return noWindow();
    }
    std::shared_ptr<core::PendingNavigation> printOffer(qint64) override { return noWindow(); }
    std::shared_ptr<core::PendingNavigation> printOfferList(qint64, std::vector<qint64>) override {
        return noWindow();
    }
    std::shared_ptr<core::PendingNavigation> printFirms(std::vector<qint64>) override {
        return noWindow();
    }
    std::shared_ptr<core::PendingNavigation> pickPriceLevel(const QString&) override {
        return noWindow();
    }
    std::shared_ptr<core::PendingNavigation> pickSheet() override { return noWindow(); }
    std::shared_ptr<core::PendingNavigation> pickGroup(qint64) override { return noWindow(); }
    std::shared_ptr<core::PendingNavigation> pickPriceGroup(const QString&) override {
        return noWindow();
    }
    std::shared_ptr<core::PendingNavigation> openList(core::ListWindow) override {
        return noWindow();
    }
    bool offerCardAvailable() const override { return false; }
    std::shared_ptr<core::PendingNavigation> openOfferCard(core::OfferCardMode, qint64) override {
        return noWindow();
    }
    std::shared_ptr<core::PendingNavigation> openImportWizard() override { return noWindow(); }
    std::optional<core::DataFolderChoice> chooseDataFolder(const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> askPassword() override {
        // A wrong password is not asked again: the login gives up after its warning.
        if (m_asked || !qEnvironmentVariableIsSet(kPasswordVariable))
            return std::nullopt;
        m_asked = true;
        return qEnvironmentVariable(kPasswordVariable);
    }
    core::AgendaListOutcome openAgendaList() override { return core::AgendaListOutcome::Stay; }
    core::NavigationStatus openSettings() override { return core::NavigationStatus::Cancelled; }
    bool startMaintenanceTool(const QString&, const QString&) override { return false; }
    std::shared_ptr<core::PendingNavigation> editIdentifiers(const QString&) override {
        return noWindow();
    }

private:
    bool m_asked = false;
};

QString upgradeNeededMessage(core::DatabaseKind kind, const QString& agenda) {
    if (kind == core::DatabaseKind::Global)
        return QStringLiteral("Hlavní databáze potřebuje převod na novou verzi programu. Spusťte "
                              "nejprve program v okně, převod proběhne při jeho startu.");
    return QStringLiteral("Databáze firmy \"%1\" potřebuje převod na novou verzi programu. "
                          "Otevřete ji nejprve v programu, převod proběhne při jejím otevření.")
        .arg(agenda);
}

// The service steps of the start-up, except that no database is upgraded here: an upgrade needs
// every other workstation out and somebody to watch it.
class CommandLineHooks : public services::StandardStartupHooks {
public:
    bool checkGlobalSchema(core::AppContext& context) override {
        return !needsUpgrade(context, context.db().global, core::DatabaseKind::Global) &&
               StandardStartupHooks::checkGlobalSchema(context);
    }
    bool checkAgendaSchema(core::AppContext& context) override {
        return !needsUpgrade(context, context.db().agenda, core::DatabaseKind::Agenda) &&
               StandardStartupHooks::checkAgendaSchema(context);
    }
    // Window placements are the windows' business.
    void loadWindowPositions(core::AppContext&) override {}
    void saveWindowPositions(core::AppContext&) override {}
    void saveProfile(core::AppContext&) override {}

private:
    static bool needsUpgrade(core::AppContext& context, core::Database& db,
                             core::DatabaseKind kind) {
        const auto stored = core::storedSchemaVersion(db);
        if (!stored || *stored >= core::currentSchemaVersion(kind))
            return false;
        context.ui().error(upgradeNeededMessage(kind, core::programState().agenda));
        return true;
    }
};

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

QString absolute(const QString& path) {
    return QDir::fromNativeSeparators(QFileInfo(path).absoluteFilePath());
}

} // namespace

struct CommandLineImport::Parts {
    Parts(QTextStream& err, const bool& interrupted)
        : ui(err, interrupted) {}

    PrintingInteraction ui;
    CommandLineNavigator navigator;
    services::ProfileSession profile;
    CommandLineHooks hooks;
    core::AppContext context{ui, navigator, profile, hooks};
};

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
    Parts parts(m_err, m_interrupted);
    core::AppContext& context = parts.context;
    core::UserInteraction& ui = parts.ui;
    core::StartUp& startUp = context.startUp();
    core::ProgramState& state = core::programState();

    core::StartUp::initProgramFolders(programFolder);
    startUp.readConfiguration();
    if (!m_request.dataFolder.isEmpty())
        startUp.useDataFolder(absolute(m_request.dataFolder));
    if (!startUp.settleDataFolder() || !parts.hooks.checkNoExclusiveOperation(context))
        return ImportNotStarted;
    if (!context.store().exists(core::DatabaseId::global())) {
        ui.error(QStringLiteral("V datové složce %1 není hlavní databáze programu. Spusťte "
                                "nejprve program v okně.")
                     .arg(QDir::toNativeSeparators(state.folders.data)));
        return ImportNotStarted;
    }
    if (!startUp.connectGlobal() || !parts.hooks.checkGlobalSchema(context) ||
        !parts.hooks.login(context))
        return ImportNotStarted;

    const QString agenda = m_request.agenda.isEmpty() ? state.agenda : m_request.agenda;
    if (agenda.isEmpty() || !context.store().exists(core::DatabaseId::agendaNamed(agenda))) {
        ui.error(QStringLiteral("Firma \"%1\" v datové složce %2 neexistuje.")
                     .arg(agenda, QDir::toNativeSeparators(state.folders.data)));
        return ImportNotStarted;
    }
    if (!startUp.openAgenda(agenda) || !mayOpenImportWizard(ui))
        return ImportNotStarted;
    // What the wizard's welcome page would say.
    if (services::otherWorkstationsRunning())
        ui.warning(otherWorkstationsNotice());

    const std::optional<ImportDefinition> definition =
        findDefinition(m_request, context.db().agenda, ui);
    if (!definition || !mayRunDefinition(definition->kind, ui))
        return ImportNotStarted;
    if (definition->kind == DefinitionKind::Money) {
        ui.information(moneyNotAvailableMessage());
        return ImportNotStarted;
    }
    const QString source = m_request.sourceFile.isEmpty()
                               ? sourceFileOf(*definition, state.folders.data)
                               : absolute(m_request.sourceFile);
    if (source.trimmed().isEmpty()) {
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
    ImportRun importRun(context.db().agenda, ui, protocol);
    importRun.setDisplay([&parts](int, int) { parts.ui.letSignalsIn(); });
    const int result = importRun.execute(*definition, source);
    const bool done = result == ImportRun::Ok && !importRun.interrupted() && !m_interrupted;
    if (!done && result != ImportRun::Ok)
        m_err << runFailedText() << Qt::endl;
    return done ? ImportDone : ImportFailed;
}

} // namespace orvento::import
