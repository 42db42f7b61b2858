#pragma once

#include "core/DataStore.h"
#include "core/Navigator.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace orvento::core {
class AppContext;
class UserInteraction;
} // namespace orvento::core

namespace orvento::services {

// One agenda of the data folder.
struct AgendaRow {
    QString nazev;     // the firm name (setting 1)
    QString soubor;    // as the store labels it, in upper case ("DEMO.MDB")
    bool nova = false; // created in this list and not yet initialised
    core::DatabaseId agenda{core::DatabaseKind::Agenda, QString()};
};

using core::AgendaListOutcome;

// The agenda list: every agenda database of the data folder with its firm name; opens, creates,
// deletes agendas, redirects the data folder and starts the maintenance tool. The settings
// dialog, the data folder dialog and the maintenance tool are asked for through the navigator.
class AgendaList {
public:
    explicit AgendaList(core::AppContext& context);

    // The agenda list needs agenda list level 0 to 2; otherwise the no-rights message.
    static bool mayOpen(core::UserInteraction& ui);

    // Reads the data folder. Files that are not agenda databases are left out.
    void fill();
    const std::vector<AgendaRow>& rows() const { return m_rows; }
    bool hasRows() const { return !m_rows.empty(); }
    int current() const { return m_current; }
    void setCurrent(int row);
    // "DEMO" is offered while the store has no demo agenda, not even one that cannot be read
    // (the demo's template would be copied over it).
    bool demoAvailable() const { return m_demoAvailable; }
    // "Opravit databáze" is offered while there is a row, or an agenda the list could not read:
    // a damaged agenda is not listed, and the maintenance tool is the way to mend it.
    bool repairAvailable() const { return hasRows() || m_unreadableFiles > 0; }
    QString dataFolderShown() const;

    AgendaListOutcome openCurrent();
    AgendaListOutcome addNew();
    void addDemo();
    void removeCurrent();
    AgendaListOutcome changeDataFolder();
    AgendaListOutcome repairDatabases();

    // The label of the lowest free agenda name Firma<n> (n from 1 to 10000) in a data folder;
    // nothing when all are taken.
    static std::optional<QString> freeAgendaFileName(const QString& dataFolder);
    // True when the database is an agenda (opened on the spare connection, which is closed
    // again); `nazev` gets its setting 1.
    static bool readAgendaName(const core::DatabaseId& which, QString* nazev);
    // The maintenance tool in the program folder; empty when it is not installed.
    static QString maintenanceToolPath();

private:
    bool isOpenAgenda(const AgendaRow& row) const;
    void sortRows(const QString& keepFile);

    core::AppContext& m_context;
    core::UserInteraction& m_ui;
    std::vector<AgendaRow> m_rows;
    int m_current = -1;
    bool m_demoAvailable = false;
    int m_unreadableFiles = 0;
};

QString deletionPhrase();

} // namespace orvento::services
