#pragma once

#include "core/AppContext.h"
#include "core/Navigator.h"
#include "core/SilentInteraction.h"
#include "services/ProfileSession.h"
#include "services/StandardStartupHooks.h"

#include <QString>

class QTextStream;

namespace orvento::services {

// What a run from the command line (an import, a backup) shares: nobody watches it, so messages
// go to the error stream as they come, every question is answered No and every dialog cancelled,
// except the one that follows a request to end the process ("Přerušit" pressed), which is
// answered Yes.
class CommandLineInteraction : public core::SilentInteraction {
public:
    CommandLineInteraction(QTextStream& err, const bool& interrupted);

    void information(const QString& text) override;
    void warning(const QString& text) override;
    void error(const QString& text) override;
    core::Answer ask(const QString& text, core::Buttons, core::Answer) override;
    void showProblems(const QString& heading, const QStringList& lines) override;
    void keepAlive() override { letSignalsIn(); }

    // Lets a request to end the process in; a progress scope opened after the request cleared
    // the cancel flag, so it is set again.
    void letSignalsIn() const;

private:
    void print(const QString& kind, const QString& text);

    QTextStream& m_err;
    const bool& m_interrupted;
};

// No windows: the password comes from the environment variable ORVENTO_PASSWORD, once, and every
// other window is one a run from the command line does not have.
class CommandLineNavigator : public core::Navigator {
public:
    std::shared_ptr<core::PendingNavigation> pickCatalogueItems() override;
    std::shared_ptr<core::PendingNavigation> openFirmCard(qint64) override;
    std::shared_ptr<core::PendingNavigation> pickFirm(std::optional<qint64>) override;
    std::shared_ptr<core::PendingNavigation> pickPostCode() override;
    std::shared_ptr<core::PendingNavigation> showOfferHistory(qint64) override;
    std::shared_ptr<core::PendingNavigation> printOffer(qint64) override;
    std::shared_ptr<core::PendingNavigation> printOfferList(qint64, std::vector<qint64>) override;
    std::shared_ptr<core::PendingNavigation> printFirms(std::vector<qint64>) override;
    std::shared_ptr<core::PendingNavigation> pickPriceLevel(const QString&) override;
    std::shared_ptr<core::PendingNavigation> pickSheet() override;
    std::shared_ptr<core::PendingNavigation> pickGroup(qint64) override;
    std::shared_ptr<core::PendingNavigation> pickPriceGroup(const QString&) override;
    std::shared_ptr<core::PendingNavigation> openList(core::ListWindow) override;
    bool offerCardAvailable() const override { return false; }
    std::shared_ptr<core::PendingNavigation> openOfferCard(core::OfferCardMode, qint64) override;
    std::shared_ptr<core::PendingNavigation> openImportWizard() override;
    std::optional<core::DataFolderChoice> chooseDataFolder(const QString&) override;
    std::optional<QString> askPassword() override;
    core::AgendaListOutcome openAgendaList() override;
    core::NavigationStatus openSettings() override;
    bool startMaintenanceTool(const QString&, const QString&) override { return false; }
    core::BackupOutcome openBackup(core::BackupPage) override;
    std::shared_ptr<core::PendingNavigation> pickOfferTemplate() override;
    std::shared_ptr<core::PendingNavigation> exportToXml(int, std::vector<qint64>) override;
    std::shared_ptr<core::PendingNavigation> editIdentifiers(const QString&) override;
    std::shared_ptr<core::PendingNavigation> printNote(qint64, const QString&,
                                                       const QString&) override;
    core::NavigationStatus openMailSettings() override;
    std::shared_ptr<core::PendingNavigation> openCatalogueWizard(bool) override;
    std::shared_ptr<core::PendingNavigation>
    openPriceListOutput(const core::CatalogueView&) override;

private:
    bool m_asked = false;
};

// The service steps of the start-up, except that no database is upgraded here: an upgrade needs
// every other workstation out and somebody to watch it. Window placements and the profile are
// the windows' business.
class CommandLineHooks : public StandardStartupHooks {
public:
    bool checkGlobalSchema(core::AppContext& context) override;
    bool checkAgendaSchema(core::AppContext& context) override;
    void loadWindowPositions(core::AppContext&) override {}
    void saveWindowPositions(core::AppContext&) override {}
    void saveProfile(core::AppContext&) override {}
};

// What a run from the command line is made of, and the start-up's steps it goes through.
class CommandLineSession {
public:
    CommandLineSession(QTextStream& err, const bool& interrupted);

    core::AppContext& context() { return m_context; }
    CommandLineInteraction& ui() { return m_ui; }

    // The start-up on the data folder (`dataFolder`, else Tovaro.ini's), the login and the
    // agenda (`agenda`, else the last one), never upgrading a database. False after the message.
    bool start(const QString& programFolder, const QString& dataFolder, const QString& agenda);
    // The same up to the login, without an agenda; with `filesOnly` a data folder whose
    // databases are already on a server is refused.
    bool startData(const QString& programFolder, const QString& dataFolder, bool filesOnly);

private:
    CommandLineInteraction m_ui;
    CommandLineNavigator m_navigator;
    ProfileSession m_profile;
    CommandLineHooks m_hooks;
    core::AppContext m_context{m_ui, m_navigator, m_profile, m_hooks};
};

// A path given on the command line, made absolute against the current folder.
QString commandLinePath(const QString& path);

} // namespace orvento::services
