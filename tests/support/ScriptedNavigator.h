#pragma once

#include "core/Navigator.h"
#include "support/QtPrinting.h"

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace orvento::testsupport {

// Stands in for the program's windows as ScriptedInteraction stands in for its message boxes:
// every request is recorded and answered from the script; a request nobody scripted, or a
// scripted answer left unused at the end, fails the test.
//
// A window that stays open is scripted with keepOpen(): its request stays pending until the test
// answers it with answerPending(), as the person would choose in the catalogue later.
//
// passOn(windows) hands the next window request to another navigator (the program's own), so a
// test follows a command through the navigator into the real window.
class ScriptedNavigator : public core::Navigator {
public:
    struct Request {
        QString
            what; // "pickCatalogueItems", "openFirmCard 7", "pickPostCode", "chooseDataFolder", ...
    };

    ScriptedNavigator() = default;
    ~ScriptedNavigator() override;
    ScriptedNavigator(const ScriptedNavigator&) = delete;
    ScriptedNavigator& operator=(const ScriptedNavigator&) = delete;

    std::shared_ptr<core::PendingNavigation> pickCatalogueItems() override;
    std::shared_ptr<core::PendingNavigation> openFirmCard(qint64 firmId) override;
    // "pickFirm", or "pickFirm 7" when it is to start on the firm 7.
    std::shared_ptr<core::PendingNavigation> pickFirm(std::optional<qint64> startOn) override;
    std::shared_ptr<core::PendingNavigation> pickPostCode() override;
    std::shared_ptr<core::PendingNavigation> showOfferHistory(qint64 offerId) override;
    std::shared_ptr<core::PendingNavigation> printOffer(qint64 offerId) override;
    // "printOfferList 3: 3 4 5" (the current offer, then the listed ones), "printFirms 2 7".
    std::shared_ptr<core::PendingNavigation> printOfferList(qint64 currentId,
                                                            std::vector<qint64> offerIds) override;
    std::shared_ptr<core::PendingNavigation> printFirms(std::vector<qint64> firmIds) override;
    // "pickPriceLevel VIP", or "pickPriceLevel" when there is no level to start on.
    std::shared_ptr<core::PendingNavigation> pickPriceLevel(const QString& codeToLocate) override;
    // "pickSheet", "pickGroup 3" (the groups of sheet 3), "pickPriceGroup VO" or "pickPriceGroup".
    std::shared_ptr<core::PendingNavigation> pickSheet() override;
    std::shared_ptr<core::PendingNavigation> pickGroup(qint64 sheetId) override;
    std::shared_ptr<core::PendingNavigation> pickPriceGroup(const QString& codeToLocate) override;
    // "openList offers", "openList catalogue", "openList addressBook", "openList priceGroups",
    // "openList priceLevels".
    std::shared_ptr<core::PendingNavigation> openList(core::ListWindow list) override;
    // The card counts as present unless a test says otherwise.
    bool offerCardAvailable() const override { return m_offerCard; }
    // "openOfferCard new", "openOfferCard existing 5", "openOfferCard copy 5".
    std::shared_ptr<core::PendingNavigation> openOfferCard(core::OfferCardMode mode,
                                                           qint64 offerId) override;
    // "openImportWizard".
    std::shared_ptr<core::PendingNavigation> openImportWizard() override;
    void setOfferCardAvailable(bool available) { m_offerCard = available; }
    std::optional<core::DataFolderChoice> chooseDataFolder(const QString& proposedLocal) override;
    std::optional<QString> askPassword() override;
    core::AgendaListOutcome openAgendaList() override;
    core::NavigationStatus openSettings() override;
    bool startMaintenanceTool(const QString& program, const QString& dataFolder) override;
    // "pickOfferTemplate".
    std::shared_ptr<core::PendingNavigation> pickOfferTemplate() override;
    // "exportToXml 1: 5 4 3" (the kind, then the records in the order they are written).
    std::shared_ptr<core::PendingNavigation> exportToXml(int kind,
                                                         std::vector<qint64> ids) override;
    // "editIdentifiers _A_B_" (the list it was asked to edit; "editIdentifiers" for none).
    std::shared_ptr<core::PendingNavigation> editIdentifiers(const QString& list) override;
    // "printNote -1001 Title" (the note's ID and title).
    std::shared_ptr<core::PendingNavigation> printNote(qint64 noteId, const QString& nazev,
                                                       const QString& detail) override;
    // "openCatalogueWizard repricing", "openCatalogueWizard bulkUpdate".
    std::shared_ptr<core::PendingNavigation> openCatalogueWizard(bool bulkUpdate) override;
    // "openPriceListOutput <sheet>" (the catalogue's current sheet); the view asked with is kept.
    std::shared_ptr<core::PendingNavigation>
    openPriceListOutput(const core::CatalogueView& view) override;
    const core::CatalogueView& lastCatalogueView() const { return m_lastView; }

    // Script. Windows answer in the order of the requests of their kind.
    void answerWindow(core::NavigationResult result) {
        m_windows.push_back(Scripted{std::move(result), nullptr});
    }
    void keepOpen() { m_windows.push_back(Scripted{std::nullopt, nullptr}); }
    // The next window request goes to `windows`, which answers it.
    void passOn(core::Navigator& windows) { m_windows.push_back(Scripted{std::nullopt, &windows}); }
    // Answers the oldest request that is still open; false when none is.
    bool answerPending(core::NavigationResult result);
    void scriptDataFolder(std::optional<core::DataFolderChoice> choice) {
        m_folders.push_back(std::move(choice));
    }
    void typePassword(std::optional<QString> password) {
        m_passwords.push_back(std::move(password));
    }
    // What the agenda list or the settings dialog do when asked for (several answers queue).
    void onAgendaList(std::function<core::AgendaListOutcome()> list) {
        m_agendaLists.push_back(std::move(list));
    }
    void onSettings(std::function<core::NavigationStatus()> settings) {
        m_settings.push_back(std::move(settings));
    }
    void maintenanceToolStarts(bool starts) { m_tools.push_back(starts); }

    // What happened.
    QStringList requests() const { return m_requests; }
    int count(const QString& what) const;
    const QString& lastProposedFolder() const { return m_lastProposed; }
    QStringList startedPrograms() const { return m_started; }

private:
    using Forward = std::function<std::shared_ptr<core::PendingNavigation>(core::Navigator&)>;
    // One scripted window: its answer, none (it stays open), or the navigator it is passed on to.
    struct Scripted {
        std::optional<core::NavigationResult> answer;
        core::Navigator* passedTo = nullptr;
    };

    std::shared_ptr<core::PendingNavigation> window(const QString& what, const Forward& forward);

    QStringList m_requests;
    std::deque<Scripted> m_windows;
    std::vector<std::weak_ptr<core::PendingNavigation>> m_open;
    std::deque<std::optional<core::DataFolderChoice>> m_folders;
    std::deque<std::optional<QString>> m_passwords;
    std::deque<std::function<core::AgendaListOutcome()>> m_agendaLists;
    std::deque<std::function<core::NavigationStatus()>> m_settings;
    std::deque<bool> m_tools;
    QString m_lastProposed;
    QStringList m_started;
    bool m_offerCard = true;

public:
    // "openBackup create", "openBackup restore"; the backup dialog stays out of the tests of
    // other windows (Stay) unless an answer is scripted.
    core::BackupOutcome openBackup(core::BackupPage page) override;
    void onBackup(std::function<core::BackupOutcome()> backup) {
        m_backups.push_back(std::move(backup));
    }

private:
    std::deque<std::function<core::BackupOutcome()>> m_backups;

public:
    // "openMailSettings"; Cancelled unless an answer is scripted.
    core::NavigationStatus openMailSettings() override;
    void onMailSettings(core::NavigationStatus status) { m_mailSettings.push_back(status); }

private:
    std::deque<core::NavigationStatus> m_mailSettings;
    core::CatalogueView m_lastView;
};

} // namespace orvento::testsupport
