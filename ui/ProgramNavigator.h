#pragma once

#include "core/Navigator.h"
#include "ui/SplashWindow.h"

#include <QPointer>

class QWidget;

namespace orvento::core {
class AppContext;
}

namespace orvento::ui {

// The program's windows behind the navigator: the one place that opens a window of another
// subsystem (the build refuses such includes elsewhere in ui/).
class ProgramNavigator : public core::Navigator {
public:
    // The context is the one this navigator is part of; it is only used once requests come.
    // The splash window asks for the password (none: no prompt, as after "Zpět").
    ProgramNavigator(core::AppContext& context, SplashWindow* splash);

    std::shared_ptr<core::PendingNavigation> pickCatalogueItems() override;
    std::shared_ptr<core::PendingNavigation> openFirmCard(qint64 firmId) override;
    std::shared_ptr<core::PendingNavigation> pickFirm(std::optional<qint64> startOn) override;
    std::shared_ptr<core::PendingNavigation> pickPostCode() override;
    std::shared_ptr<core::PendingNavigation> showOfferHistory(qint64 offerId) override;
    std::shared_ptr<core::PendingNavigation> printOffer(qint64 offerId) override;
    std::shared_ptr<core::PendingNavigation> printOfferList(qint64 currentId,
                                                            std::vector<qint64> offerIds) override;
    std::shared_ptr<core::PendingNavigation> printFirms(std::vector<qint64> firmIds) override;
    std::shared_ptr<core::PendingNavigation> pickPriceLevel(const QString& codeToLocate) override;
    std::shared_ptr<core::PendingNavigation> pickSheet() override;
    std::shared_ptr<core::PendingNavigation> pickGroup(qint64 sheetId) override;
    std::shared_ptr<core::PendingNavigation> pickPriceGroup(const QString& codeToLocate) override;
    std::shared_ptr<core::PendingNavigation> openList(core::ListWindow list) override;
    bool offerCardAvailable() const override;
    std::shared_ptr<core::PendingNavigation> openOfferCard(core::OfferCardMode mode,
                                                           qint64 offerId) override;
    std::shared_ptr<core::PendingNavigation> openImportWizard() override;
    std::optional<core::DataFolderChoice> chooseDataFolder(const QString& proposedLocal) override;
    std::optional<QString> askPassword() override;
    core::AgendaListOutcome openAgendaList() override;
    core::NavigationStatus openSettings() override;
    bool startMaintenanceTool(const QString& program, const QString& dataFolder) override;
    std::shared_ptr<core::PendingNavigation> pickOfferTemplate() override;
    core::BackupOutcome openBackup(core::BackupPage page) override;
    std::shared_ptr<core::PendingNavigation> exportToXml(int kind,
                                                         std::vector<qint64> ids) override;
    std::shared_ptr<core::PendingNavigation> editIdentifiers(const QString& list) override;
    std::shared_ptr<core::PendingNavigation> printNote(qint64 noteId, const QString& nazev,
                                                       const QString& detail) override;
    core::NavigationStatus openMailSettings() override;
    std::shared_ptr<core::PendingNavigation> openCatalogueWizard(bool bulkUpdate) override;
    std::shared_ptr<core::PendingNavigation>
    openPriceListOutput(const core::CatalogueView& view) override;

private:
    static QWidget* parentWindow();

    core::AppContext& m_context;
    QPointer<SplashWindow> m_splash;
};

} // namespace orvento::ui
