#pragma once

#include "core/CatalogueView.h"
#include "core/StartupHooks.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace orvento::core {

// How a request for another window ended.
enum class NavigationStatus {
    Done,         // the window did what was asked (items chosen, card saved or closed)
    Cancelled,    // the person closed it without a choice
    NotAvailable, // this program has no such window (yet); nothing was opened
};

struct NavigationResult {
    NavigationStatus status = NavigationStatus::NotAvailable;
    std::vector<qint64> ids; // the chosen records (catalogue items, a firm)
    // The IDs are the rows marked in a list, in its order, rather than the one row picked. A
    // list closed without a choice answers Cancelled with the marks it was left with.
    bool marked = false;
    // The chosen row's code, for a list of coded rows (a price level).
    QString code{};
};

// The answer to one request. A modal window has answered by the time the request returns; a
// window that stays open (the catalogue beside an offer card) answers when the person has
// chosen. The requester keeps the object as long as it wants the answer: a window that answers
// after the requester let go of it tells nobody.
class PendingNavigation {
public:
    using Handler = std::function<void(const NavigationResult&)>;

    bool answered() const { return m_answered; }
    const NavigationResult& result() const { return m_result; }
    // Called once with the answer; at once when it is already there.
    void onAnswer(Handler handler);
    // For the window: the answer, given once; later answers are ignored.
    void answer(NavigationResult result);

private:
    NavigationResult m_result;
    Handler m_handler;
    bool m_answered = false;
};

// How the offer card opens: a new offer, an existing one, or a copy of an existing one.
enum class OfferCardMode { New, Existing, Copy };

// The lists the main window opens to browse or manage.
enum class ListWindow { Offers, Catalogue, AddressBook, PriceGroups, PriceLevels, Identifiers };

// What the agenda list ended with, for the program around it.
enum class AgendaListOutcome {
    Stay,         // nothing that closes the list
    Opened,       // an agenda was opened; the list closes
    EndProgram,   // the program ends at once, without its closing steps
    CloseProgram, // the program closes with its closing steps
};

// The page the backup dialog opens on, and what the program does once it has closed.
enum class BackupPage { Create, Restore };
enum class BackupOutcome {
    Stay,       // back to the running program
    EndProgram, // data were restored: the program ends at once, without its closing steps
};

// The export kinds of the XML export dialog, by the numbers of the commands that open it.
inline constexpr int XmlExportOffers = 1;
inline constexpr int XmlExportFirms = 4;

// How the logic asks for other windows without knowing them. The program answers with its
// windows (ui/ProgramNavigator); tests answer from a script, as they answer messages.
class Navigator {
public:
    virtual ~Navigator() = default;

    // The catalogue in pick mode; the answer carries the chosen items' IDs: the one picked, or
    // the marked ones in the catalogue's order (`marked`).
    virtual std::shared_ptr<PendingNavigation> pickCatalogueItems() = 0;
    // The firm card of the address book for one firm, only to look at; Done once it is closed,
    // Cancelled when it did not open (the firm is gone, no rights).
    virtual std::shared_ptr<PendingNavigation> openFirmCard(qint64 firmId) = 0;
    // The address book in pick mode, on the firm `startOn` when it is given (else where the
    // person left it); the answer carries the chosen firm's ID.
    virtual std::shared_ptr<PendingNavigation> pickFirm(std::optional<qint64> startOn) = 0;
    // The post code list in pick mode; the answer carries the chosen `Mista` row's ID.
    virtual std::shared_ptr<PendingNavigation> pickPostCode() = 0;
    // "Historie akcí" of one offer; Done once it is closed.
    virtual std::shared_ptr<PendingNavigation> showOfferHistory(qint64 offerId) = 0;
    // The print window with the offer reports of one offer; Done once it is closed, with the
    // offer's ID when a print changed the offer's state.
    virtual std::shared_ptr<PendingNavigation> printOffer(qint64 offerId) = 0;
    // The print window with the offer list's reports over `offerIds`, on the offer `currentId`;
    // Done once it is closed, with the listed offers' IDs when a print changed an offer's state.
    virtual std::shared_ptr<PendingNavigation> printOfferList(qint64 currentId,
                                                              std::vector<qint64> offerIds) = 0;
    // The print window with the address book's reports over these firms; Done once it is closed.
    virtual std::shared_ptr<PendingNavigation> printFirms(std::vector<qint64> firmIds) = 0;
    // The price-level list in pick mode, on the level `codeToLocate` when it is there; the answer
    // carries the chosen level's ID and its code (`code`).
    virtual std::shared_ptr<PendingNavigation> pickPriceLevel(const QString& codeToLocate) = 0;
    // The sheet list in pick mode; the answer carries the chosen sheet's ID.
    virtual std::shared_ptr<PendingNavigation> pickSheet() = 0;
    // The groups of one sheet to pick from; the answer carries the chosen group's ID.
    virtual std::shared_ptr<PendingNavigation> pickGroup(qint64 sheetId) = 0;
    // The price-group list in pick mode, on the group `codeToLocate` when it is there; the answer
    // carries the chosen group's ID and its code (`code`).
    virtual std::shared_ptr<PendingNavigation> pickPriceGroup(const QString& codeToLocate) = 0;
    // A list of the main window to browse or manage; Done once it is closed (or refused).
    virtual std::shared_ptr<PendingNavigation> openList(ListWindow list) = 0;
    // Whether this program has the offer card; the commands that open it stay off without it.
    virtual bool offerCardAvailable() const = 0;
    // The offer card for a new offer, the offer `offerId` or a copy of it; Done with the saved
    // offer's ID once it is closed after a save, Cancelled when it closed without one.
    virtual std::shared_ptr<PendingNavigation> openOfferCard(OfferCardMode mode,
                                                             qint64 offerId) = 0;
    // The import wizard ("Import dat"); Done once it is closed (or refused).
    virtual std::shared_ptr<PendingNavigation> openImportWizard() = 0;

    // Modal windows of the start-up and the agenda list.
    // The data folder dialog; nothing when the person pressed "Storno".
    virtual std::optional<DataFolderChoice> chooseDataFolder(const QString& proposedLocal) = 0;
    // The password of the login (the splash window in its login state); nothing after "Zpět".
    virtual std::optional<QString> askPassword() = 0;
    // The agenda list, shown at start-up when the last agenda is gone and from the main window.
    virtual AgendaListOutcome openAgendaList() = 0;
    // The settings dialog; Done when it was confirmed and saved.
    virtual NavigationStatus openSettings() = 0;
    // Starts the database maintenance tool on the data folder; false when it cannot be started.
    virtual bool startMaintenanceTool(const QString& program, const QString& dataFolder) = 0;
    // The offer template list in selection mode; the answer carries the chosen template's ID and
    // its abbreviation (`code`).
    virtual std::shared_ptr<PendingNavigation> pickOfferTemplate() = 0;
    // "Zálohování" on its backup or its restore page, with the rights, the test of the other
    // workstations and the exclusive-operation lock around it.
    virtual BackupOutcome openBackup(BackupPage page) = 0;
    // The XML export dialog ("Export do XML") of the export kind `kind` (`XmlExportOffers`,
    // `XmlExportFirms`) over these records in the order they are written; Done once it exported,
    // Cancelled when it closed without.
    virtual std::shared_ptr<PendingNavigation> exportToXml(int kind, std::vector<qint64> ids) = 0;
    // The identifier editor on an identifier list; Done with the edited list (in `code`) after
    // its OK, Cancelled when it was closed without.
    virtual std::shared_ptr<PendingNavigation> editIdentifiers(const QString& list) = 0;
    // The print window with the note reports over the desktop's current note: its ID, title and
    // rich text as the notes list holds them (a note that came with the program has no row to
    // read them from). Done once it is closed.
    virtual std::shared_ptr<PendingNavigation> printNote(qint64 noteId, const QString& nazev,
                                                         const QString& detail) = 0;
    // "Nastavení e-mailu": how this workstation sends e-mail; Done when it was saved.
    virtual NavigationStatus openMailSettings() = 0;
    // The repricing wizard, or with `bulkUpdate` the bulk item update wizard, over the whole
    // catalogue; Done once it is closed (or refused).
    virtual std::shared_ptr<PendingNavigation> openCatalogueWizard(bool bulkUpdate) = 0;
    // "Tisk - export ceníku" over what the catalogue shows; Done once it is closed.
    virtual std::shared_ptr<PendingNavigation> openPriceListOutput(const CatalogueView& view) = 0;
};

} // namespace orvento::core
