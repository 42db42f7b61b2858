#include "services/CommandLineSession.h"

#include "core/ConnectionFile.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/Schema.h"
#include "core/SchemaUpgrade.h"
#include "core/StartUp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace orvento::services {

namespace {

const char* const kPasswordVariable = "ORVENTO_PASSWORD";

std::shared_ptr<core::PendingNavigation> noWindow() {
    auto pending = std::make_shared<core::PendingNavigation>();
    pending->answer({core::NavigationStatus::NotAvailable, {}});
    return pending;
}

QString upgradeNeededMessage(core::DatabaseKind kind, const QString& agenda) {
    if (kind == core::DatabaseKind::Global)
        return QStringLiteral("Hlavní databáze potřebuje převod na novou verzi programu. Spusťte "
                              "nejprve program v okně, převod proběhne při jeho startu.");
    return QStringLiteral("Databáze firmy \"%1\" potřebuje převod na novou verzi programu. "
                          "Otevřete ji nejprve v programu, převod proběhne při jejím otevření.")
        .arg(agenda);
}

bool needsUpgrade(core::AppContext& context, core::Database& db, core::DatabaseKind kind) {
    const auto stored = core::storedSchemaVersion(db);
    if (!stored || *stored >= core::currentSchemaVersion(kind))
        return false;
    context.ui().error(upgradeNeededMessage(kind, core::programState().agenda));
    return true;
}

} // namespace

CommandLineInteraction::CommandLineInteraction(QTextStream& err, const bool& interrupted)
    : m_err(err)
    , m_interrupted(interrupted) {}

void CommandLineInteraction::information(const QString& text) {
    print(QStringLiteral("Informace"), text);
}

void CommandLineInteraction::warning(const QString& text) {
    print(QStringLiteral("Varování"), text);
}

void CommandLineInteraction::error(const QString& text) {
    print(QStringLiteral("Chyba"), text);
}

core::Answer CommandLineInteraction::ask(const QString& text, core::Buttons, core::Answer) {
    const core::Answer answer = m_interrupted ? core::Answer::Yes : core::Answer::No;
    print(QStringLiteral("Dotaz"), text + (answer == core::Answer::Yes ? QStringLiteral(" -> Ano")
                                                                       : QStringLiteral(" -> Ne")));
    return answer;
}

void CommandLineInteraction::showProblems(const QString& heading, const QStringList& lines) {
    print(QStringLiteral("Informace"), heading);
    for (const QString& line : lines)
        m_err << QStringLiteral("  ") << line << Qt::endl;
}

void CommandLineInteraction::letSignalsIn() const {
    QCoreApplication::processEvents();
    if (m_interrupted)
        core::programState().cancelRequested = true;
}

void CommandLineInteraction::print(const QString& kind, const QString& text) {
    m_err << kind << QStringLiteral(": ") << text << Qt::endl;
}

std::shared_ptr<core::PendingNavigation> CommandLineNavigator::pickCatalogueItems() {
    return noWindow();
}
std::shared_ptr<core::PendingNavigation> CommandLineNavigator::openFirmCard(qint64) {
    return noWindow();
}
std::shared_ptr<core::PendingNavigation> CommandLineNavigator::pickFirm(std::optional<qint64>) {
    return noWindow();
}
std::shared_ptr<core::PendingNavigation> CommandLineNavigator::pickPostCode() {
    return noWindow();
}
std::shared_ptr<core::PendingNavigation> CommandLineNavigator::showOfferHistory(qint64) {
    return noWindow();
}
std::shared_ptr<core::PendingNavigation> CommandLineNavigator::printOffer(qint64) {
    return noWindow();
}
std::shared_ptr<core::PendingNavigation> CommandLineNavigator::printOfferList(qint64,
                                                                              std::vector<qint64>) {
    return noWindow();
}
std::shared_ptr<core::PendingNavigation> CommandLineNavigator::printFirms(std::vector<qint64>) {
    return noWindow();
}
std::shared_ptr<core::PendingNavigation> CommandLineNavigator::pickPriceLevel(const QString&) {
    return noWindow();
}
std::shared_ptr<core::PendingNavigation> CommandLineNavigator::pickSheet() {
    return noWindow();
}
std::shared_ptr<core::PendingNavigation> CommandLineNavigator::pickGroup(qint64) {
    return noWindow();
}
std::shared_ptr<core::PendingNavigation> CommandLineNavigator::pickPriceGroup(const QString&) {
    return noWindow();
}
std::shared_ptr<core::PendingNavigation> CommandLineNavigator::openList(core::ListWindow) {
    return noWindow();
}
std::shared_ptr<core::PendingNavigation> CommandLineNavigator::openOfferCard(core::OfferCardMode,
                                                                             qint64) {
    return noWindow();
}
std::shared_ptr<core::PendingNavigation> CommandLineNavigator::openImportWizard() {
    return noWindow();
}
std::optional<core::DataFolderChoice> CommandLineNavigator::chooseDataFolder(const QString&) {
    return std::nullopt;
}

std::optional<QString> CommandLineNavigator::askPassword() {
    // A wrong password is not asked again: the login gives up after its warning.
    if (m_asked || !qEnvironmentVariableIsSet(kPasswordVariable))
        return std::nullopt;
    m_asked = true;
    return qEnvironmentVariable(kPasswordVariable);
}

core::AgendaListOutcome CommandLineNavigator::openAgendaList() {
    return core::AgendaListOutcome::Stay;
}

core::NavigationStatus CommandLineNavigator::openSettings() {
    return core::NavigationStatus::Cancelled;
}

core::BackupOutcome CommandLineNavigator::openBackup(core::BackupPage) {
    return core::BackupOutcome::Stay;
}

std::shared_ptr<core::PendingNavigation> CommandLineNavigator::pickOfferTemplate() {
    return noWindow();
}

std::shared_ptr<core::PendingNavigation> CommandLineNavigator::exportToXml(int,
                                                                           std::vector<qint64>) {
    return noWindow();
}

std::shared_ptr<core::PendingNavigation> CommandLineNavigator::editIdentifiers(const QString&) {
    return noWindow();
}

std::shared_ptr<core::PendingNavigation> CommandLineNavigator::printNote(qint64, const QString&,
                                                                         const QString&) {
    return noWindow();
}

core::NavigationStatus CommandLineNavigator::openMailSettings() {
    return core::NavigationStatus::Cancelled;
}

std::shared_ptr<core::PendingNavigation> CommandLineNavigator::openCatalogueWizard(bool) {
    return noWindow();
}

std::shared_ptr<core::PendingNavigation>
CommandLineNavigator::openPriceListOutput(const core::CatalogueView&) {
    return noWindow();
}

bool CommandLineHooks::checkGlobalSchema(core::AppContext& context) {
    return !needsUpgrade(context, context.db().global, core::DatabaseKind::Global) &&
           StandardStartupHooks::checkGlobalSchema(context);
}

bool CommandLineHooks::checkAgendaSchema(core::AppContext& context) {
    return !needsUpgrade(context, context.db().agenda, core::DatabaseKind::Agenda) &&
           StandardStartupHooks::checkAgendaSchema(context);
}

CommandLineSession::CommandLineSession(QTextStream& err, const bool& interrupted)
    : m_ui(err, interrupted) {}

bool CommandLineSession::startData(const QString& programFolder, const QString& dataFolder,
                                   bool filesOnly) {
    core::StartUp& startUp = m_context.startUp();
    core::ProgramState& state = core::programState();
    core::StartUp::initProgramFolders(programFolder);
    startUp.readConfiguration();
    if (!dataFolder.isEmpty())
        startUp.useDataFolder(commandLinePath(dataFolder));
    if (!startUp.settleDataFolder())
        return false;
    if (filesOnly && core::hasConnectionFile(state.folders.data)) {
        m_ui.error(QStringLiteral("Databáze datové složky %1 už jsou na databázovém serveru "
                                  "(soubor %2).")
                       .arg(QDir::toNativeSeparators(state.folders.data),
                            QString::fromLatin1(core::kConnectionFileName)));
        return false;
    }
    if (!startUp.chooseStore() || !m_hooks.checkNoExclusiveOperation(m_context))
        return false;
    if (!m_context.store().exists(core::DatabaseId::global())) {
        m_ui.error(QStringLiteral("V datové složce %1 není hlavní databáze programu. Spusťte "
                                  "nejprve program v okně.")
                       .arg(QDir::toNativeSeparators(state.folders.data)));
        return false;
    }
    return startUp.connectGlobal() && m_hooks.checkGlobalSchema(m_context) &&
           m_hooks.login(m_context);
}

bool CommandLineSession::start(const QString& programFolder, const QString& dataFolder,
                               const QString& agenda) {
    if (!startData(programFolder, dataFolder, false))
        return false;
    core::ProgramState& state = core::programState();
    const QString chosen = agenda.isEmpty() ? state.agenda : agenda;
    if (chosen.isEmpty() || !m_context.store().exists(core::DatabaseId::agendaNamed(chosen))) {
        m_ui.error(QStringLiteral("Firma \"%1\" v datové složce %2 neexistuje.")
                       .arg(chosen, QDir::toNativeSeparators(state.folders.data)));
        return false;
    }
    return m_context.startUp().openAgenda(chosen);
}

QString commandLinePath(const QString& path) {
    return QDir::fromNativeSeparators(QFileInfo(path).absoluteFilePath());
}

} // namespace orvento::services
