#pragma once

#include "core/ProgressScope.h"
#include "import/ImportDefinition.h"
#include "import/ImportProtocol.h"

#include <QString>

#include <functional>
#include <optional>

namespace orvento::core {
class AppContext;
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::import {

// The wizard's pages in the order "Další >" walks them; a Money definition has its own start
// page instead of the one with the source file.
enum class WizardPage { Welcome, List, Start, Protocol, MoneyStart };

// Which of the wizard's buttons are shown on the current page.
struct WizardButtons {
    bool back = false;
    bool next = false;
    bool close = false;
    bool interrupt = false;
};

// The texts the wizard shows, where the window and the tests need the same words.
QString welcomeWarningHeading();
QString welcomeWarningText();
QString welcomeContinueText();
QString otherWorkstationsNotice();
QString loadingListText();
QString preparingImportText();
QString emptyListMessage();
QString startPageText();
QString missingSourceFileMessage();
QString runFailedText();
QString chooseSourceFileTitle();
QString allFilesFilter();

// Whether the logged-in user may open the wizard (`Import_AR` below 3); the refusal is told.
bool mayOpenImportWizard(core::UserInteraction& ui);
// Whether the logged-in user may run a definition of `kind` into the agenda: a price list needs
// the catalogue's bulk right, an address book the address book's; the refusal is told.
bool mayRunDefinition(DefinitionKind kind, core::UserInteraction& ui);
// A stored source file with the data folder's mark expanded, as the run opens it.
QString sourceFileOf(const ImportDefinition& definition, const QString& dataFolder);

// The import wizard without its widgets: the pages, their buttons and what "Další >",
// "< Zpět" and the run do. The definition list itself is a panel of the window; this class is
// told what it holds.
class ImportWizardLogic {
public:
    explicit ImportWizardLogic(core::AppContext& context);

    // Welcome: whether another workstation runs the program (the notice is shown then).
    bool othersRunning() const { return m_othersRunning; }
    WizardPage page() const { return m_page; }
    WizardButtons buttons() const;
    bool running() const { return m_running; }
    bool failed() const { return m_failed; }

    // Welcome -> list: `reload` reads the list and makes the given definition (the one used
    // last) current, while the loading text is shown; false keeps the welcome page.
    bool enterList(const std::function<bool(qint64 lastUsed)>& reload);
    // List -> start (the Money start page for a Money definition): the current definition's ID
    // (nothing with an empty list); false keeps the list (the message told).
    bool leaveList(std::optional<qint64> currentId);
    // The start page's file field.
    const QString& sourceFile() const { return m_sourceFile; }
    void setSourceFile(const QString& file) { m_sourceFile = file; }
    // "..." beside the file: the chosen file goes into the field.
    void chooseSourceFile();
    // Start -> protocol: false when the page stays (no file, told). The window shows the
    // protocol page and then runs. The Money start page needs no file.
    bool beginRun();
    // The run after beginRun(), with the wizard's progress bar as its display; whether it
    // succeeded.
    bool run(core::ProgressScope::Display display);
    // "< Zpět" from the current page.
    void back();
    // "Uložit protokol": false when nothing was saved (cancelled, or the failure told).
    bool saveProtocol();

    const ImportProtocol& protocol() const { return m_protocol; }
    ImportProtocol& protocol() { return m_protocol; }
    const std::optional<ImportDefinition>& definition() const { return m_definition; }
    // Whether the run is (or was) the Money import, whose "Zavřít" stays during the run.
    bool moneyRun() const;

private:
    core::AppContext& m_context;
    ImportProtocol m_protocol;
    std::optional<ImportDefinition> m_definition;
    QString m_sourceFile;
    WizardPage m_page = WizardPage::Welcome;
    bool m_othersRunning = false;
    bool m_running = false;
    bool m_failed = false;
};

} // namespace orvento::import
