#include "import/ImportWizardLogic.h"

#include "core/AgendaSettings.h"
#include "core/AppContext.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/UserInteraction.h"
#include "import/ImportDefinitionStore.h"
#include "import/ImportRun.h"
#include "import/MoneyImport.h"
#include "import/XBaseMoneyTable.h"
#include "services/AccessRights.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"
#include "services/RecordRefresh.h"
#include "services/Workstations.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace orvento::import {

namespace {

const QString kProtocolExtension = QStringLiteral(".TXT");

} // namespace

QString welcomeWarningHeading() {
    return QStringLiteral("Varování:");
}

QString welcomeWarningText() {
    return QStringLiteral(
        "import může zásadním způsobem ovlivnit Vaše data, provedené změny však budou NEVRATNÉ. "
        "Před použitím této funkce je proto důrazně doporučeno provést zálohu dat           (v "
        "hlavním menu volbou Ostatní / Zálohování / Vytvoření zálohy).");
}

QString welcomeContinueText() {
    return QStringLiteral("Pokračovat můžete tlačítkem [Další]");
}

QString otherWorkstationsNotice() {
    return services::otherWorkstationsWarning();
}

QString loadingListText() {
    return QStringLiteral("Načítání seznamu, prosím čekejte ...");
}

QString preparingImportText() {
    return QStringLiteral("Příprava importu, prosím čekejte ...");
}

QString emptyListMessage() {
    return QStringLiteral("Seznam je zatím prázdný - tlačítkem \"Přidat\" nejprve nastavte "
                          "parametry importu.");
}

QString startPageText() {
    return QStringLiteral("Klepnutím na tlačítko [Další] zahájíte import dat ze zdrojového "
                          "souboru. Během importu není vhodné pořizovat nebo měnit data na "
                          "ostatních stanicích v síti.");
}

QString missingSourceFileMessage() {
    return QStringLiteral("Zadejte název zdrojového souboru.");
}

QString runFailedText() {
    return QStringLiteral("V průběhu importu dat došlo k chybě!");
}

QString chooseSourceFileTitle() {
    return QStringLiteral("Vyberte zdrojový soubor");
}

QString allFilesFilter() {
    return QStringLiteral("Všechny soubory (*.*)");
}

bool mayOpenImportWizard(core::UserInteraction& ui) {
    return services::checkModule(services::Module::Import, services::ModuleAction::Open, ui);
}

bool mayRunDefinition(DefinitionKind kind, core::UserInteraction& ui) {
    switch (kind) {
    case DefinitionKind::PriceList:
        return services::checkModule(services::Module::Cenik, services::ModuleAction::Bulk, ui);
    case DefinitionKind::AddressBook:
        return services::checkModule(services::Module::Adresar, services::ModuleAction::Bulk, ui);
    case DefinitionKind::Money:
        return services::checkModule(services::Module::Nabidky, services::ModuleAction::Bulk, ui);
    }
    return false;
}

QString sourceFileOf(const ImportDefinition& definition, const QString& dataFolder) {
    return core::expandDataPath(definition.fileName, dataFolder);
}

ImportWizardLogic::ImportWizardLogic(core::AppContext& context)
    : m_context(context)
    , m_othersRunning(services::otherWorkstationsRunning()) {}

WizardButtons ImportWizardLogic::buttons() const {
    switch (m_page) {
    case WizardPage::Welcome:
        return {false, true, true, false};
    case WizardPage::List:
    case WizardPage::Start:
    case WizardPage::MoneyStart:
        return {true, true, true, false};
    case WizardPage::Protocol:
        // The Money run keeps "Zavřít" (it closes the wizard once the run returns) and
        // "Přerušit" shown throughout.
        if (moneyRun())
            return {false, false, true, true};
        return {false, false, !m_running, m_running};
    }
    return {};
}

bool ImportWizardLogic::enterList(const std::function<bool(qint64 lastUsed)>& reload) {
    if (m_page != WizardPage::Welcome)
        return false;
    const int lastUsed =
        services::profile::loadInt(services::profile::value::CurrentImportDefinition, 0);
    {
        const core::ProgressScope wait(m_context.ui(), loadingListText(), 0, false);
        if (!reload(lastUsed))
            return false;
    }
    m_page = WizardPage::List;
    return true;
}

bool ImportWizardLogic::leaveList(std::optional<qint64> currentId) {
    core::UserInteraction& ui = m_context.ui();
    if (m_page != WizardPage::List)
        return false;
    if (!currentId) {
        ui.information(emptyListMessage());
        return false;
    }
    std::optional<ImportDefinition> definition;
    QString error;
    {
        const core::ProgressScope wait(ui, preparingImportText(), 0, false);
        definition = ImportDefinitionStore(m_context.db().agenda).read(*currentId, error);
    }
    if (!definition) {
        if (error.isEmpty())
            ui.warning(services::recordGoneMessage());
        else
            ui.error(error);
        return false;
    }
    if (!mayRunDefinition(definition->kind, ui))
        return false;
    services::profile::saveInt(services::profile::value::CurrentImportDefinition,
                               static_cast<int>(*currentId));
    if (definition->kind == DefinitionKind::Money) {
        m_sourceFile.clear();
        m_definition = std::move(definition);
        m_page = WizardPage::MoneyStart;
        return true;
    }
    m_sourceFile = sourceFileOf(*definition, core::programState().folders.data);
    m_definition = std::move(definition);
    m_page = WizardPage::Start;
    return true;
}

void ImportWizardLogic::chooseSourceFile() {
    const QString folder = m_sourceFile.isEmpty() ? QString() : QFileInfo(m_sourceFile).path();
    if (const auto chosen =
            m_context.ui().chooseOpenFile(chooseSourceFileTitle(), folder, allFilesFilter()))
        m_sourceFile = *chosen;
}

bool ImportWizardLogic::moneyRun() const {
    return m_definition && m_definition->kind == DefinitionKind::Money;
}

bool ImportWizardLogic::beginRun() {
    if ((m_page != WizardPage::Start && m_page != WizardPage::MoneyStart) || !m_definition)
        return false;
    if (m_page == WizardPage::Start && m_sourceFile.trimmed().isEmpty()) {
        m_context.ui().warning(missingSourceFileMessage());
        return false;
    }
    m_page = WizardPage::Protocol;
    m_failed = false;
    m_running = true;
    return true;
}

bool ImportWizardLogic::run(core::ProgressScope::Display display) {
    if (m_page != WizardPage::Protocol || !m_running || !m_definition)
        return false;
    if (moneyRun()) {
        MoneyImport money(m_context.db().agenda, m_context.ui(), m_protocol, std::move(display),
                          XBaseMoneyTable::factory());
        m_failed = money.run(*m_definition, core::programState().folders.data) != MoneyImport::Ok;
        m_running = false;
        return !m_failed;
    }
    ImportRun run(m_context.db().agenda, m_context.ui(), m_protocol);
    run.setDisplay(std::move(display));
    const int result = run.execute(*m_definition, m_sourceFile.trimmed());
    m_running = false;
    m_failed = result != ImportRun::Ok;
    return !m_failed;
}

void ImportWizardLogic::back() {
    switch (m_page) {
    case WizardPage::List:
        m_page = WizardPage::Welcome;
        break;
    case WizardPage::Start:
    case WizardPage::MoneyStart:
        m_page = WizardPage::List;
        break;
    case WizardPage::Welcome:
    case WizardPage::Protocol:
        break;
    }
}

bool ImportWizardLogic::saveProtocol() {
    core::UserInteraction& ui = m_context.ui();
    const auto chosen =
        ui.chooseSaveFile(QStringLiteral("Uložit do souboru"), QString(),
                          QStringLiteral("Textové soubory (*.TXT);;Všechny soubory (*.*)"));
    if (!chosen)
        return false;
    QString name = *chosen;
    if (QFileInfo(name).suffix().isEmpty())
        name += kProtocolExtension;
    QSaveFile file(name);
    const QByteArray text = m_protocol.toPlainText().toUtf8();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text) || file.write(text) != text.size() ||
        !file.commit()) {
        ui.error(QStringLiteral("Protokol se nepodařilo uložit do souboru %1:\n\n%2")
                     .arg(QFileInfo(name).absoluteFilePath(), file.errorString()));
        return false;
    }
    return true;
}

} // namespace orvento::import
