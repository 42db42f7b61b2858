#include "core/StartUp.h"

#include "core/AgendaInit.h"
#include "core/AppContext.h"
#include "core/Database.h"
#include "core/IniFile.h"
#include "core/Navigator.h"
#include "core/PathUtil.h"
#include "core/ProgramState.h"
#include "core/ProgressScope.h"
#include "core/Schema.h"
#include "core/ShellOperations.h"
#include "core/StoreChoice.h"
#include "core/UserInteraction.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QStandardPaths>
#include <optional>

namespace orvento::core {

namespace {

const QString kWorkFolderName = QStringLiteral("{0CE02553-C4DF-4F04-BA27-FCA481AFC97F}");
const QString kIniName = QStringLiteral("Tovaro.ini");
const QString kPathSection = QStringLiteral("PATH");
const QString kConfigSection = QStringLiteral("CONFIG");

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// An installed package puts this file beside the program: its folder belongs to the system, even
// for root, who may write there (an administrator trying the program, CI). Without it a run as
// root would leave its settings and backups among the package's files.
const QString kPackagedMarker = QStringLiteral("orvento.packaged");

bool programFolderIsWritable(const QString& folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable() &&
           !QFileInfo::exists(withTrailingSlash(folder) + kPackagedMarker);
}

// Where the program keeps what it writes when its own folder is read-only (an installed
// package): the user's configuration and data folders.
QString userFolder(QStandardPaths::StandardLocation location) {
    return withTrailingSlash(QStandardPaths::writableLocation(location) +
                             QStringLiteral("/orvento"));
}

const QString kConfigTable = QStringLiteral("KonfigTab");

} // namespace

bool storeBackupCounter(Database& global, int counter) {
    QSqlQuery first = global.select(QStringLiteral("SELECT ID FROM KonfigTab ORDER BY ID"));
    if (!first.next())
        return false;
    const QVariant id = first.value(0);
    first.finish();
    return global.execute(
        QStringLiteral("UPDATE KonfigTab SET IDZalohy = :IDZalohy WHERE ID = :ID"),
        {{QStringLiteral("IDZalohy"), counter}, {QStringLiteral("ID"), id}});
}

QString demoAgendaName() {
    return QStringLiteral("DEMO");
}

QString noAgendaChosenMessage() {
    return QStringLiteral("Nebyla vybrána žádná firma, program bude ukončen.");
}

QString chooseAnotherDataFolderHint() {
    return QStringLiteral("\n\nZvolte prosím jinou datovou složku.");
}

QString cannotCreateFolderMessage(const QString& path) {
    return QStringLiteral("Chyba : nelze vytvořit adresář %1").arg(shown(path));
}

StartUp::StartUp(AppContext& context, StartupHooks& hooks)
    : m_context(context)
    , m_ui(context.ui())
    , m_hooks(hooks) {}

void StartUp::initProgramFolders(const QString& programFolder) {
    ProgramFolders& f = programState().folders;
    f.program = withTrailingSlash(programFolder);
    const bool writable = programFolderIsWritable(f.program);
    f.iniFile =
        (writable ? f.program : userFolder(QStandardPaths::GenericConfigLocation)) + kIniName;
    f.backup = (writable ? f.program : userFolder(QStandardPaths::GenericDataLocation)) +
               QStringLiteral("ZALOHY/");
    f.work = withTrailingSlash(QDir::tempPath()) + kWorkFolderName + QLatin1Char('/');
}

QString StartUp::proposedLocalDataFolder() {
    const QString program = programState().folders.program;
    return (programFolderIsWritable(program) ? program
                                             : userFolder(QStandardPaths::GenericDataLocation)) +
           QStringLiteral("DATA/");
}

void StartUp::readConfiguration() {
    ProgramState& s = programState();
    const IniFile ini = IniFile::load(s.folders.iniFile);
    m_dataPath = withTrailingSlash(ini.value(kPathSection, QStringLiteral("DataPath")));
    // DEMO only when the key is missing: an empty name names no agenda, so the list opens.
    s.agenda = ini.value(kConfigSection, QStringLiteral("LastDBName"), QStringLiteral("DEMO"));
    s.runPrgFirst = ini.boolValue(kConfigSection, QStringLiteral("RunPrgFirst"), true);
    s.runPrgSetup = ini.boolValue(kConfigSection, QStringLiteral("RunPrgSetup"), true);
    s.builderMode = ini.boolValue(kConfigSection, QStringLiteral("BuilderMode"), false);
}

void StartUp::useDataFolder(const QString& folder) {
    m_dataPath = withTrailingSlash(folder);
}

bool StartUp::writeConfiguration() {
    const ProgramState& s = programState();
    IniFile ini = IniFile::load(s.folders.iniFile);
    ini.setValue(kPathSection, QStringLiteral("DataPath"), shown(s.folders.data));
    ini.setValue(kConfigSection, QStringLiteral("LastDBName"), s.agenda);
    ini.setBool(kConfigSection, QStringLiteral("RunPrgFirst"), s.runPrgFirst);
    ini.setBool(kConfigSection, QStringLiteral("RunPrgSetup"), s.runPrgSetup);
    QDir().mkpath(QFileInfo(s.folders.iniFile).absolutePath());
    return ini.save(s.folders.iniFile);
}

bool StartUp::createFolder(const QString& path) {
    if (QFileInfo(path).isDir())
        return true;
    if (!QDir().mkpath(path)) {
        m_ui.error(cannotCreateFolderMessage(path));
        return false;
    }
    return true;
}

bool StartUp::chooseDataFolder() {
    const QString proposed = proposedLocalDataFolder();
    const auto choice = m_context.navigator().chooseDataFolder(proposed);
    if (!choice) {
        m_ui.information(QStringLiteral("Nebyla určena datová složka, program bude ukončen"));
        return false;
    }
    if (choice->local) {
        if (!createFolder(proposed))
            return false;
        m_dataPath = withTrailingSlash(proposed);
    } else {
        m_dataPath = withTrailingSlash(choice->folder);
    }
    return true;
}

bool StartUp::settleDataFolder() {
    ProgramState& s = programState();
    for (;;) {
        if (m_dataPath.isEmpty() && !chooseDataFolder())
            return false;
        s.folders.setData(m_dataPath);
        if (QFileInfo(s.folders.data).isDir())
            break;
        m_ui.error(QStringLiteral("Chyba : složka %1 již neexistuje!\n\nPokud se jedná o síťovou "
                                  "složku, zkontrolujte její dostupnost.")
                       .arg(shown(s.folders.data)));
        if (m_ui.question(QStringLiteral(
                "Datová složka není dostupná. Pokud byla přesunuta jinam (např. na server) bude "
                "nutné zadat její nové umístění. Pokud však nebyla přesouvána a jedná se o "
                "síťovou složku, ukončete tento program a zkontrolujte její dostupnost. Chcete "
                "nyní ukončit program ?")))
            return false;
        m_dataPath.clear();
    }

    if (!createFolder(s.folders.print))
        return false;
    if (s.runPrgSetup) {
        const QString res = resolveInFolder(s.folders.program, QStringLiteral("RES"));
        const QString frmres = resolveInFolder(res, QStringLiteral("FRMRES"));
        if (!shell::copyFiles(frmres + QStringLiteral("/*.*"), s.folders.print)) {
            m_ui.error(QStringLiteral("Nastala chyba při kopírování adresáře %1 do %2")
                           .arg(shown(withTrailingSlash(frmres)), shown(s.folders.print)));
            return false;
        }
        if (!shell::copyFiles(res + QStringLiteral("/*.rpo"), s.folders.data)) {
            m_ui.error(QStringLiteral("Nastala chyba při kopírování soubororů v %1 do %2")
                           .arg(shown(withTrailingSlash(res) + QStringLiteral("*.rpo")),
                                shown(s.folders.data)));
            return false;
        }
        s.runPrgSetup = false;
    }
    return createFolder(s.folders.lock) && createFolder(s.folders.work) &&
           createFolder(s.folders.backup);
}

bool StartUp::makeDatabase(const DatabaseId& target, DatabaseTemplate from, bool showWait,
                           DataStore::CreateProblem& problem) {
    std::optional<ProgressScope> wait;
    if (showWait)
        wait.emplace(m_ui, QStringLiteral("Probíhá dokončení instalace\nprosím čekejte..."), 0,
                     false);
    return m_context.store().create(target, from, &problem);
}

void StartUp::reportCreateProblem(const DatabaseId& target, DatabaseTemplate from,
                                  DataStore::CreateProblem problem) {
    const DataStore& store = m_context.store();
    if (problem == DataStore::CreateProblem::TemplateMissing)
        m_ui.error(QStringLiteral("Nebyl nalezen zdrojový soubor %1 Proveďte reinstalaci programu!")
                       .arg(store.templateLocation(from)));
    else if (problem == DataStore::CreateProblem::NoRight)
        m_ui.error(store.noRightToCreateMessage());
    else
        m_ui.error(QStringLiteral("Při kopírování souboru %1 na %2 došlo k chybě.")
                       .arg(store.templateLocation(from), store.location(target)));
}

bool StartUp::createDatabase(const DatabaseId& target, DatabaseTemplate from, bool showWait) {
    DataStore::CreateProblem problem = DataStore::CreateProblem::None;
    if (makeDatabase(target, from, showWait, problem))
        return true;
    reportCreateProblem(target, from, problem);
    return false;
}

void StartUp::copyDemoDocuments() {
    const ProgramState& s = programState();
    const QString source = resolvePathInFolder(
        resolveInFolder(s.folders.program, QStringLiteral("Res")) + '/', QStringLiteral("DEMO/"));
    const QString target =
        resolvePathInFolder(documentsFolderOf(s.folders.data), QStringLiteral("DEMO/"));
    QDirIterator files(source, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        const QString copy = resolvePathInFolder(target, QDir(source).relativeFilePath(file));
        if (QFileInfo::exists(copy))
            continue;
        QDir().mkpath(QFileInfo(copy).path());
        QFile::copy(file, copy);
    }
}

bool StartUp::chooseStore() {
    StoreChoice choice = programStoreChoice(m_storeMakers);
    m_server = choice.server;
    if (!choice.store) {
        m_ui.error(choice.problem + chooseAnotherDataFolderHint());
        return false;
    }
    useProgramStore(std::move(choice.store));
    return true;
}

bool StartUp::createGlobal() {
    const DatabaseId global = DatabaseId::global();
    DataStore::CreateProblem problem = DataStore::CreateProblem::None;
    if (makeDatabase(global, DatabaseTemplate::Global, true, problem))
        return true;
    // A server the program cannot reach has no global database either: the connection that
    // follows tells the person why, naming the server, rather than a message about a copy.
    if (m_server && problem != DataStore::CreateProblem::TemplateMissing)
        return true;
    reportCreateProblem(global, DatabaseTemplate::Global, problem);
    return false;
}

bool StartUp::connectGlobal() {
    ProgramState& s = programState();
    DataStore& store = m_context.store();
    OpenFailure failure;
    const bool ok = store.open(s.db->global, DatabaseId::global(), &failure);
    const OpenProblem problem = failure.problem;
    const QString& reason = failure.reason;
    const QString path = store.location(DatabaseId::global());
    m_globalUnusable = !ok && problem != OpenProblem::Other;
    if (ok)
        return true;
    if (m_server) {
        // Whatever kept the server from answering, this workstation cannot use the folder now:
        // the person may choose another one or end the program.
        m_globalUnusable = true;
        // A server that answered and refused is not one that could not be reached: its reason
        // names it and says what is wrong.
        m_ui.error((problem == OpenProblem::Refused ? reason
                                                    : serverUnreachableMessage(*m_server, reason)) +
                   chooseAnotherDataFolderHint());
        return false;
    }
    const QString head =
        QStringLiteral("Při pokusu o připojení hlavní databáze došlo k následující "
                       "chybě:\n\n");
    if (m_globalUnusable) {
        // The file itself is at fault, not the installation: another data folder is the way on.
        m_ui.error(head +
                   unusableDatabaseMessage(DatabaseKind::Global, QString(), path, problem, reason) +
                   chooseAnotherDataFolderHint());
    } else {
        m_ui.error(head + reason +
                   QStringLiteral("\n\nZkontrolujte, zda je na počítači nainstalované databázové "
                                  "prostředí SQLite 3 a ovladač QSQLITE knihovny Qt (balíček "
                                  "libqt6sql6-sqlite, ke stažení z webu vaší distribuce)."));
    }
    return false;
}

bool StartUp::connectUsableGlobal() {
    ProgramState& s = programState();
    // A global database that cannot be used leads to the data folder dialog: the user chooses
    // another data folder there, or ends the program with "Storno".
    for (;;) {
        if (!settleDataFolder())
            return false;
        if (!chooseStore()) {
            m_dataPath.clear();
            continue;
        }
        if (!m_hooks.checkNoExclusiveOperation(m_context))
            return false;
        if (!m_context.store().exists(DatabaseId::global()) && !createGlobal())
            return false;
        if (connectGlobal()) {
            if (m_hooks.checkGlobalSchema(m_context))
                return true;
            if (problemOf(s.db->global) != OpenProblem::Damaged)
                return false;
        } else if (!m_globalUnusable) {
            return false;
        }
        s.db->global.close();
        m_dataPath.clear();
    }
}

bool StartUp::run() {
    ProgramState& s = programState();
    m_closedOnRequest = false;
    readConfiguration();
    if (!connectUsableGlobal())
        return false;
    if (!m_hooks.login(m_context))
        return false;
    m_hooks.loadWindowPositions(m_context);
    m_hooks.setListDefaults(m_context);
    if (const auto counter =
            s.db->global.scalar(QStringLiteral("SELECT IDZalohy FROM KonfigTab ORDER BY ID")))
        s.backupCounter = counter->toInt();
    if (s.runPrgFirst) {
        const DatabaseId demo = DatabaseId::agendaNamed(demoAgendaName());
        if (!m_context.store().exists(demo) &&
            !createDatabase(demo, DatabaseTemplate::DemoAgenda, false))
            return false;
        copyDemoDocuments();
        s.runPrgFirst = false;
    }
    // A missing agenda, or one that cannot be opened (its failure told): the agenda list offers
    // another agenda, a new one and the maintenance tool.
    if (!m_context.store().exists(s.agendaId()) || !openAgenda(s.agenda)) {
        if (!openAgendaFromList())
            return false;
    }
    m_hooks.loadNotes(m_context);
    return true;
}

bool StartUp::openAgendaFromList() {
    switch (m_context.navigator().openAgendaList()) {
    case AgendaListOutcome::Opened:
        return true;
    case AgendaListOutcome::Stay:
        // Closed without a choice; a failure inside the list has been reported there.
        m_ui.information(noAgendaChosenMessage());
        return false;
    case AgendaListOutcome::EndProgram:
        return false;
    case AgendaListOutcome::CloseProgram:
        // "Opravit databáze": the program ends as "Konec" would.
        close();
        m_closedOnRequest = true;
        return false;
    }
    return false;
}

bool StartUp::openAgenda(const QString& agenda) {
    ProgramState& s = programState();
    // Also over the schema check: an upgrade's own wait text comes and goes inside this one.
    ProgressScope wait(m_ui, QStringLiteral("Inicializace databáze\nprosím čekejte..."), 0, false);
    DataStore& store = m_context.store();
    const DatabaseId which = store.resolved(DatabaseId::agendaNamed(agenda));
    Database& db = s.db->agenda;
    // What the user arranged in the agenda being left belongs to that agenda's profile.
    if (db.isOpen())
        m_hooks.saveProfile(m_context);
    db.close();
    const bool firstOpener = !store.openedElsewhere(which);
    OpenFailure failure;
    if (!store.open(db, which, &failure)) {
        wait.end();
        m_ui.error(unusableDatabaseMessage(DatabaseKind::Agenda, agenda, store.location(which),
                                           failure.problem, failure.reason));
        return false;
    }
    s.agenda = which.agenda;
    m_hooks.agendaConnected(m_context, firstOpener);
    if (!m_hooks.checkAgendaSchema(m_context)) {
        db.close();
        return false;
    }
    ensureFirstSheet(db, m_ui);
    m_hooks.loadProfile(m_context);
    if (!m_hooks.loadSettings(m_context)) {
        db.close();
        return false;
    }
    return true;
}

void StartUp::close() {
    ProgramState& s = programState();
    const ProgressScope wait(
        m_ui, QStringLiteral("Uložení uživatelského profilu...\npočkejte prosím na dokončení"), 0,
        false);
    writeConfiguration();
    m_hooks.saveProfile(m_context);
    m_hooks.saveWindowPositions(m_context);
    Database& global = s.db->global;
    if (global.isOpen() && !storeBackupCounter(global, s.backupCounter)) {
        // Told like the profile's failure; the program closes anyway, and the next backup takes
        // the number kept from before.
        m_ui.error(saveFailedMessage(kConfigTable));
    }
}

} // namespace orvento::core
