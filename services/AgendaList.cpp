#include "services/AgendaList.h"

#include "core/AppContext.h"
#include "core/CzechCollation.h"
#include "core/Database.h"
#include "core/IniFile.h"
#include "core/OfferSeries.h"
#include "core/PathUtil.h"
#include "core/ProgramState.h"
#include "core/ProgressScope.h"
#include "core/Schema.h"
#include "core/StartUp.h"
#include "core/StoreChoice.h"
#include "core/UserInteraction.h"
#include "services/AccessRights.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>

#include <algorithm>

namespace orvento::services {

using namespace core;

namespace {

const QString kUnnamed = QStringLiteral("<bez názvu>");
constexpr int kMaxNewAgendas = 10000;

bool allowed(ModuleAction action, core::UserInteraction& ui) {
    return checkModule(Module::SeznamAgend, action, ui);
}

DataStore& store() {
    return *programState().store;
}

// How the list shows an agenda, in the capitals the system compares names in.
QString shownName(const DatabaseId& agenda) {
    return store().label(agenda).toUpper();
}

// The first opening of an agenda made in the list: its numbering series and its firm name, in
// one unit of work. The message of the failure, after the rollback; empty when both are stored.
QString initialiseNewAgenda(Database& db) {
    Transaction unit(db);
    if (!saveOfferSeries(db, OfferSeries::forNewAgenda()))
        return saveFailedMessage(QStringLiteral("CisRady"));
    if (!db.execute(QStringLiteral("INSERT INTO Nastaveni (IDHodnoty, Hodnota, Popis) VALUES "
                                   "(:IDHodnoty, :Hodnota, :Popis)"),
                    {{QStringLiteral("IDHodnoty"), 1},
                     {QStringLiteral("Hodnota"), kUnnamed},
                     {QStringLiteral("Popis"), settingDescription(1)}}))
        return saveFailedMessage(QStringLiteral("Nastaveni"));
    if (!unit.commit())
        return saveFailedMessage();
    return {};
}

DatabaseId demoAgenda() {
    return DatabaseId::agendaNamed(demoAgendaName());
}

} // namespace

QString deletionPhrase() {
    return QStringLiteral("CHCI NENÁVRATNĚ SMAZAT FIRMU");
}

AgendaList::AgendaList(AppContext& context)
    : m_context(context)
    , m_ui(context.ui()) {}

bool AgendaList::mayOpen(UserInteraction& ui) {
    return allowed(ModuleAction::Open, ui);
}

QString AgendaList::dataFolderShown() const {
    return QDir::toNativeSeparators(programState().folders.data);
}

bool AgendaList::isOpenAgenda(const AgendaRow& row) const {
    const ProgramState& state = programState();
    return state.db->agenda.isOpen() &&
           state.agenda.compare(row.agenda.agenda, Qt::CaseInsensitive) == 0;
}

bool AgendaList::readAgendaName(const DatabaseId& which, QString* nazev) {
    Database& spare = programState().db->spare;
    bool agenda = store().open(spare, which);
    if (agenda) {
        QSqlQuery row =
            spare.select(QStringLiteral("SELECT Hodnota FROM Nastaveni WHERE IDHodnoty = "
                                        ":IDHodnoty ORDER BY ID"),
                         {{QStringLiteral("IDHodnoty"), 1}});
        agenda = row.isActive();
        if (agenda && nazev)
            *nazev = row.next() ? row.value(0).toString() : QString();
    }
    spare.close();
    return agenda;
}

void AgendaList::fill() {
    const ProgressScope wait(m_ui, QStringLiteral("Načítám seznam firem\nprosím čekejte..."), 0,
                             false);
    const ProgramState& state = programState();
    m_rows.clear();
    m_unreadableFiles = 0;
    for (const StoredDatabase& stored : store().agendas()) {
        AgendaRow row{QString(), stored.label.toUpper(), false, stored.id};
        if (isOpenAgenda(row))
            row.nazev = state.agendaName;
        else if (!readAgendaName(stored.id, &row.nazev)) {
            ++m_unreadableFiles;
            continue;
        }
        m_rows.push_back(row);
        m_ui.keepAlive();
    }
    QString open;
    for (const AgendaRow& row : m_rows) {
        if (isOpenAgenda(row))
            open = row.soubor;
    }
    sortRows(open);
    m_demoAvailable = !store().exists(demoAgenda());
}

void AgendaList::sortRows(const QString& keepFile) {
    std::stable_sort(m_rows.begin(), m_rows.end(), [](const AgendaRow& a, const AgendaRow& b) {
        return compareCzech(a.nazev, b.nazev) < 0;
    });
    m_current = m_rows.empty() ? -1 : 0;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].soubor == keepFile)
            m_current = static_cast<int>(i);
    }
}

void AgendaList::setCurrent(int row) {
    if (row >= 0 && row < static_cast<int>(m_rows.size()))
        m_current = row;
}

AgendaListOutcome AgendaList::openCurrent() {
    if (m_current < 0)
        return AgendaListOutcome::Stay;
    AgendaRow& row = m_rows[static_cast<size_t>(m_current)];
    if (!m_context.startUp().openAgenda(row.agenda.agenda)) {
        m_ui.error(QStringLiteral("Při otevření firmy došlo k chybě, program bude ukončen."));
        return AgendaListOutcome::EndProgram;
    }
    ProgressScope wait(m_ui, QStringLiteral("\nprosím čekejte..."), 0, false);
    if (row.nova) {
        ProgramState& state = programState();
        const QString failure = initialiseNewAgenda(state.db->agenda);
        wait.end();
        if (!failure.isEmpty()) {
            // The agenda stays new, so that its next opening tries again.
            m_ui.error(failure);
        } else {
            row.nova = false;
            row.nazev = kUnnamed;
            state.settings.nazev = kUnnamed;
            state.agendaName = kUnnamed;
            m_context.navigator().openSettings();
        }
    }
    wait.end();
    Q_EMIT m_context.events().agendaOpened();
    return AgendaListOutcome::Opened;
}

std::optional<QString> AgendaList::freeAgendaFileName(const QString& dataFolder) {
    const StoreChoice folder = storeOfDataFolder(dataFolder, programState().folders.program);
    if (!folder.store)
        return std::nullopt;
    const auto name = folder.store->freeAgendaName(kMaxNewAgendas);
    if (!name)
        return std::nullopt;
    return folder.store->label(DatabaseId::agendaNamed(*name));
}

AgendaListOutcome AgendaList::addNew() {
    if (!allowed(ModuleAction::Create, m_ui))
        return AgendaListOutcome::Stay;
    if (!m_ui.question(QStringLiteral("Tato funkce přidá novou firmu. Chcete pokračovat ?")))
        return AgendaListOutcome::Stay;
    std::optional<QString> name;
    {
        ProgressScope wait(m_ui, QStringLiteral("Vytvářím novou firmu\nprosím čekejte..."), 0,
                           false);
        name = store().freeAgendaName(kMaxNewAgendas);
        if (!name) {
            wait.end();
            m_ui.error(QStringLiteral("Datová složka již obsahuje firmy Firma1 až Firma%1, další "
                                      "novou firmu nelze přidat.")
                           .arg(kMaxNewAgendas));
            return AgendaListOutcome::Stay;
        }
        if (!m_context.startUp().createDatabase(DatabaseId::agendaNamed(*name),
                                                DatabaseTemplate::EmptyAgenda, false))
            return AgendaListOutcome::Stay;
    }
    const DatabaseId created = DatabaseId::agendaNamed(*name);
    m_rows.push_back(AgendaRow{QString(), shownName(created), true, created});
    m_current = static_cast<int>(m_rows.size()) - 1;
    return openCurrent();
}

void AgendaList::addDemo() {
    if (!allowed(ModuleAction::Create, m_ui))
        return;
    const bool copied = [&] {
        const ProgressScope wait(m_ui, QStringLiteral("Vytvářím DEMO firmu\nprosím čekejte..."), 0,
                                 false);
        return m_context.startUp().createDatabase(demoAgenda(), DatabaseTemplate::DemoAgenda,
                                                  false);
    }();
    if (!copied)
        return;
    m_context.startUp().copyDemoDocuments();
    const QString shown = shownName(demoAgenda());
    const QString keep = m_current >= 0 ? m_rows[static_cast<size_t>(m_current)].soubor : shown;
    m_rows.push_back(
        AgendaRow{QStringLiteral("DEMO - fiktivní firma"), shown, false, demoAgenda()});
    sortRows(keep);
    m_demoAvailable = false;
}

void AgendaList::removeCurrent() {
    if (!allowed(ModuleAction::Delete, m_ui) || m_current < 0)
        return;
    const AgendaRow row = m_rows[static_cast<size_t>(m_current)];
    if (isOpenAgenda(row)) {
        m_ui.information(QStringLiteral("Aktivní firmu nelze mazat."));
        return;
    }
    if (!m_ui.question(QStringLiteral(
            "Tato funkce nenávratně smaže vybranou firmu z disku! Před smazáním proto doporučujeme "
            "zálohu dat: stiskněte NE, otevřete firmu (kterou chcete smazat) a zvolte "
            "Ostatní/Zálohování/Vytvoření zálohy.\n\nOpravdu chcete pokračovat ?")))
        return;
    const auto typed = m_ui.inputText(
        QStringLiteral("Potvrzení"),
        QStringLiteral("Pokud chcete opravdu smazat vybranou firmu, napište do políčka tento "
                       "kontrolní řetězec:\n\n") +
            deletionPhrase());
    if (!typed || typed->isEmpty())
        return;
    if (typed->trimmed().toUpper() != deletionPhrase()) {
        m_ui.warning(
            QStringLiteral("Kontrolní řetězec nebyl správně zadán, firma nebude smazána."));
        return;
    }
    if (!store().remove(row.agenda)) {
        m_ui.error(QStringLiteral("Firmu se nepodařilo smazat, je pravděpodobně používána jiným "
                                  "uživatelem."));
        return;
    }
    m_rows.erase(m_rows.begin() + m_current);
    m_current = std::min(m_current, static_cast<int>(m_rows.size()) - 1);
    if (row.agenda.agenda.compare(demoAgendaName(), Qt::CaseInsensitive) == 0)
        m_demoAvailable = true;
}

AgendaListOutcome AgendaList::changeDataFolder() {
    if (!allowed(ModuleAction::Delete, m_ui))
        return AgendaListOutcome::Stay;
    if (!m_ui.question(QStringLiteral(
            "Upozornění: funkce \"přesměrování datové složky\" je určena pouze pro zkušené "
            "uživatele.\n\nOpravdu chcete pokračovat a zadat nové umístění datové složky?")))
        return AgendaListOutcome::Stay;
    const QString proposed = StartUp::proposedLocalDataFolder();
    const auto choice = m_context.navigator().chooseDataFolder(proposed);
    if (!choice)
        return AgendaListOutcome::Stay;
    QString folder = withTrailingSlash(choice->local ? proposed : choice->folder);
    if (choice->local && !QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
        m_ui.error(cannotCreateFolderMessage(folder));
        return AgendaListOutcome::Stay;
    }
    const QString iniPath = programState().folders.iniFile;
    IniFile ini = IniFile::load(iniPath);
    ini.setValue(QStringLiteral("PATH"), QStringLiteral("DataPath"),
                 QDir::toNativeSeparators(folder));
    QDir().mkpath(QFileInfo(iniPath).absolutePath());
    if (!ini.save(iniPath)) {
        m_ui.error(QStringLiteral("Konfigurační soubor %1 se nepodařilo zapsat, datová složka "
                                  "nebude přesměrována.")
                       .arg(QDir::toNativeSeparators(iniPath)));
        return AgendaListOutcome::Stay;
    }
    m_ui.information(QStringLiteral("Datová složka bude přesměrována až po opětovném "
                                    "spuštění.\n\nProgram se proto nyní ukončí."));
    return AgendaListOutcome::EndProgram;
}

QString AgendaList::maintenanceToolPath() {
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("Pelmack.exe");
#else
    const QString name = QStringLiteral("Pelmack");
#endif
    const QFileInfo tool(resolveInFolder(programState().folders.program, name));
    return tool.isFile() && tool.isExecutable() ? tool.filePath() : QString();
}

AgendaListOutcome AgendaList::repairDatabases() {
    if (!allowed(ModuleAction::Create, m_ui))
        return AgendaListOutcome::Stay;
    if (!m_ui.question(QStringLiteral(
            "Tato volba spustí externí nástroj \"Správa databází\" - je však nutné zabezpečit "
            "jedinečný přístup ke všem databázím, tzn. ukončit program na všech stanicích v "
            "síti.\n\nJe tato podmínka splněna (volba Ano zároveň ukončí program na této "
            "stanici) ?")))
        return AgendaListOutcome::Stay;
    const QString tool = maintenanceToolPath();
    if (tool.isEmpty() || !m_context.navigator().startMaintenanceTool(
                              tool, QDir::toNativeSeparators(programState().folders.data))) {
        m_ui.warning(QStringLiteral("Program \"Správa databází\" není nainstalován - proveďte "
                                    "reinstalaci programu."));
        return AgendaListOutcome::Stay;
    }
    return AgendaListOutcome::CloseProgram;
}

} // namespace orvento::services
