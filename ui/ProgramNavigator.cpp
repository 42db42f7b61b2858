#include "ui/ProgramNavigator.h"

#include "catalogue/PriceLevelRecords.h"
#include "core/AppContext.h"
#include "core/ProgramState.h"
#include "ui/AgendaListDialog.h"
#include "ui/DataFolderDialog.h"
#include "ui/SettingsDialog.h"
#include "ui/SplashWindow.h"
#include "ui/addressbook/AddressBookWindow.h"
#include "ui/addressbook/PostCodeListWindow.h"
#include "ui/backup/BackupDialog.h"
#include "ui/catalogue/CatalogueWindow.h"
#include "ui/catalogue/GroupPickerDialog.h"
#include "ui/catalogue/IdentifierEditorDialog.h"
#include "ui/catalogue/IdentifierListWindow.h"
#include "ui/catalogue/NamedSettingWindows.h"
#include "ui/catalogue/PriceGroupListWindow.h"
#include "ui/catalogue/PriceLevelListWindow.h"
#include "ui/catalogue/PriceSourceDialog.h"
#include "ui/catalogue/RepricingWizard.h"
#include "ui/catalogue/RepricingWizardBulkUpdate.h"
#include "ui/catalogue/SheetListWindow.h"
#include "ui/import/ImportWizard.h"
#include "ui/offers/HistoryActionWindow.h"
#include "ui/offers/OfferCardWindow.h"
#include "ui/offers/OfferListWindow.h"
#include "ui/offers/OfferTemplateListWindow.h"
#include "ui/output/MailSettingsDialog.h"
#include "ui/output/PriceListPrintWindow.h"
#include "ui/output/PrintWindow.h"
#include "ui/output/XmlExportDialog.h"

#include <QApplication>
#include <QProcess>
#include <QWidget>

namespace orvento::ui {

namespace {

std::shared_ptr<core::PendingNavigation> answered(core::NavigationResult result) {
    auto pending = std::make_shared<core::PendingNavigation>();
    pending->answer(std::move(result));
    return pending;
}

std::shared_ptr<core::PendingNavigation> closed() {
    return answered({core::NavigationStatus::Done, {}});
}

} // namespace

ProgramNavigator::ProgramNavigator(core::AppContext& context, SplashWindow* splash)
    : m_context(context)
    , m_splash(splash) {}

QWidget* ProgramNavigator::parentWindow() {
    return QApplication::activeWindow();
}

std::shared_ptr<core::PendingNavigation> ProgramNavigator::pickCatalogueItems() {
    return answered(
        CatalogueWindow::open(m_context, catalogue::CatalogueMode::Pick, parentWindow()));
}

std::shared_ptr<core::PendingNavigation> ProgramNavigator::openFirmCard(qint64 firmId) {
    const bool shown = AddressBookWindow::showFirm(m_context, firmId, parentWindow());
    return answered({shown ? core::NavigationStatus::Done : core::NavigationStatus::Cancelled, {}});
}

std::shared_ptr<core::PendingNavigation> ProgramNavigator::pickFirm(std::optional<qint64> startOn) {
    const auto firm = AddressBookWindow::open(m_context, addressbook::AddressBookMode::Pick,
                                              parentWindow(), startOn);
    if (!firm)
        return answered({core::NavigationStatus::Cancelled, {}});
    return answered({core::NavigationStatus::Done, {*firm}});
}

std::shared_ptr<core::PendingNavigation> ProgramNavigator::pickPostCode() {
    const auto row =
        PostCodeListWindow::pick(m_context, addressbook::PostCodeList::Mode::Pick, parentWindow());
    if (!row)
        return answered({core::NavigationStatus::Cancelled, {}});
    return answered({core::NavigationStatus::Done, {row->id}});
}

std::shared_ptr<core::PendingNavigation> ProgramNavigator::printOffer(qint64 offerId) {
    const bool stateChanged = PrintWindow::openForOffer(m_context, offerId, parentWindow());
    return answered({core::NavigationStatus::Done,
                     stateChanged ? std::vector<qint64>{offerId} : std::vector<qint64>{}});
}

std::shared_ptr<core::PendingNavigation> ProgramNavigator::showOfferHistory(qint64 offerId) {
    HistoryActionWindow::showFor(m_context, offerId, parentWindow());
    return answered({core::NavigationStatus::Done, {}});
}

std::shared_ptr<core::PendingNavigation>
ProgramNavigator::printOfferList(qint64 currentId, std::vector<qint64> offerIds) {
    const bool stateChanged =
        PrintWindow::open(m_context, PrintRequest::offers(currentId, offerIds), parentWindow());
    return answered(
        {core::NavigationStatus::Done, stateChanged ? std::move(offerIds) : std::vector<qint64>{}});
}

std::shared_ptr<core::PendingNavigation> ProgramNavigator::printFirms(std::vector<qint64> firmIds) {
    PrintWindow::open(m_context, PrintRequest::firms(std::move(firmIds)), parentWindow());
    return closed();
}

std::shared_ptr<core::PendingNavigation>
ProgramNavigator::pickPriceLevel(const QString& codeToLocate) {
    const auto level = PriceLevelListWindow::open(m_context.ui(), catalogue::ListMode::Pick, false,
                                                  codeToLocate, parentWindow());
    if (!level)
        return answered({core::NavigationStatus::Cancelled, {}});
    core::NavigationResult result{core::NavigationStatus::Done, {level->ID}};
    result.code = level->Zkratka;
    return answered(std::move(result));
}

std::shared_ptr<core::PendingNavigation> ProgramNavigator::pickSheet() {
    const auto sheet =
        SheetListWindow::run(m_context.ui(), catalogue::SheetListMode::Pick, false, parentWindow());
    if (!sheet)
        return answered({core::NavigationStatus::Cancelled, {}});
    return answered({core::NavigationStatus::Done, {sheet->id}});
}

std::shared_ptr<core::PendingNavigation> ProgramNavigator::pickGroup(qint64 sheetId) {
    const auto group = GroupPickerDialog::pick(m_context.ui(), sheetId, parentWindow());
    if (!group)
        return answered({core::NavigationStatus::Cancelled, {}});
    return answered({core::NavigationStatus::Done, {group->id}});
}

std::shared_ptr<core::PendingNavigation>
ProgramNavigator::pickPriceGroup(const QString& codeToLocate) {
    const auto group = PriceGroupListWindow::open(
        m_context.ui(), catalogue::ListMode::Pick,
        catalogue::groupIdOfCode(m_context.db().agenda, codeToLocate), parentWindow());
    if (!group)
        return answered({core::NavigationStatus::Cancelled, {}});
    core::NavigationResult result{core::NavigationStatus::Done, {group->ID}};
    result.code = group->Zkratka;
    return answered(std::move(result));
}

std::shared_ptr<core::PendingNavigation> ProgramNavigator::openList(core::ListWindow list) {
    QWidget* parent = parentWindow();
    switch (list) {
    case core::ListWindow::Offers:
        OfferListWindow::open(m_context, parent);
        return closed();
    case core::ListWindow::Catalogue:
        CatalogueWindow::open(m_context, catalogue::CatalogueMode::Browse, parent);
        return closed();
    case core::ListWindow::AddressBook:
        AddressBookWindow::open(m_context, addressbook::AddressBookMode::Browse, parent);
        return closed();
    case core::ListWindow::PriceGroups:
        PriceGroupListWindow::open(m_context.ui(), catalogue::ListMode::Manage, 0, parent);
        return closed();
    case core::ListWindow::PriceLevels:
        PriceLevelListWindow::open(m_context.ui(), catalogue::ListMode::Manage, true, QString(),
                                   parent);
        return closed();
    case core::ListWindow::Identifiers:
        IdentifierListWindow::open(m_context.ui(), catalogue::ListMode::Manage, parent);
        return closed();
    }
    return answered({core::NavigationStatus::NotAvailable, {}});
}

bool ProgramNavigator::offerCardAvailable() const {
    return true;
}

std::shared_ptr<core::PendingNavigation> ProgramNavigator::openOfferCard(core::OfferCardMode mode,
                                                                         qint64 offerId) {
    const auto saved = OfferCardWindow::run(m_context, mode, offerId, parentWindow());
    if (!saved)
        return answered({core::NavigationStatus::Cancelled, {}});
    return answered({core::NavigationStatus::Done, {*saved}});
}

std::shared_ptr<core::PendingNavigation> ProgramNavigator::openImportWizard() {
    ImportWizard::open(m_context, parentWindow());
    return closed();
}

std::optional<core::DataFolderChoice>
ProgramNavigator::chooseDataFolder(const QString& proposedLocal) {
    return DataFolderDialog::ask(proposedLocal, m_context.ui());
}

std::optional<QString> ProgramNavigator::askPassword() {
    if (!m_splash)
        return std::nullopt;
    return m_splash->askPassword();
}

core::AgendaListOutcome ProgramNavigator::openAgendaList() {
    return AgendaListDialog::run(m_context, parentWindow());
}

core::NavigationStatus ProgramNavigator::openSettings() {
    return SettingsDialog::run(m_context, parentWindow()) ? core::NavigationStatus::Done
                                                          : core::NavigationStatus::Cancelled;
}

bool ProgramNavigator::startMaintenanceTool(const QString& program, const QString& dataFolder) {
    return QProcess::startDetached(program, {dataFolder});
}

std::shared_ptr<core::PendingNavigation> ProgramNavigator::pickOfferTemplate() {
    const auto chosen = OfferTemplateListWindow::choose(m_context, parentWindow());
    if (!chosen)
        return answered({core::NavigationStatus::Cancelled, {}});
    core::NavigationResult result{core::NavigationStatus::Done, {chosen->ID}};
    result.code = chosen->Zkratka;
    return answered(std::move(result));
}

core::BackupOutcome ProgramNavigator::openBackup(core::BackupPage page) {
    return BackupDialog::open(m_context, page, parentWindow());
}

std::shared_ptr<core::PendingNavigation> ProgramNavigator::exportToXml(int kind,
                                                                       std::vector<qint64> ids) {
    const bool exported = XmlExportDialog::run(
        m_context, static_cast<output::xml_export::Kind>(kind), std::move(ids), parentWindow());
    return answered(
        {exported ? core::NavigationStatus::Done : core::NavigationStatus::Cancelled, {}});
}

std::shared_ptr<core::PendingNavigation> ProgramNavigator::editIdentifiers(const QString& list) {
    const auto edited = IdentifierEditorDialog::edit(m_context.ui(), list, parentWindow());
    if (!edited)
        return answered({core::NavigationStatus::Cancelled, {}});
    core::NavigationResult result{core::NavigationStatus::Done, {}};
    result.code = *edited;
    return answered(std::move(result));
}

std::shared_ptr<core::PendingNavigation>
ProgramNavigator::printNote(qint64 noteId, const QString& nazev, const QString& detail) {
    PrintRequest request;
    request.printType = output::print_type::Note;
    request.subject.noteId = noteId;
    request.subject.noteGiven = true;
    request.subject.noteNazev = nazev;
    request.subject.noteDetail = detail;
    PrintWindow::open(m_context, request, parentWindow());
    return closed();
}

core::NavigationStatus ProgramNavigator::openMailSettings() {
    return MailSettingsDialog::open(m_context, parentWindow()) ? core::NavigationStatus::Done
                                                               : core::NavigationStatus::Cancelled;
}

std::shared_ptr<core::PendingNavigation> ProgramNavigator::openCatalogueWizard(bool bulkUpdate) {
    // The wizard's pickers go through the context's navigator, as every window's do.
    core::Database& db = m_context.db().agenda;
    core::Navigator& windows = m_context.navigator();
    const auto mode = catalogue::SelectionMode::WholeCatalogue;
    if (bulkUpdate)
        BulkItemUpdateWizard::open(db, m_context.ui(), windows, mode, {}, parentWindow());
    else
        RepricingWizard::open(db, m_context.ui(), windows, mode, {}, parentWindow());
    return closed();
}

std::shared_ptr<core::PendingNavigation>
ProgramNavigator::openPriceListOutput(const core::CatalogueView& view) {
    QWidget* parent = parentWindow();
    core::UserInteraction& ui = m_context.ui();
    output::PriceListDialogs dialogs;
    dialogs.choosePriceSource = [&ui, parent](const QString& caption) {
        return PriceSourceDialog::choose(ui, caption, parent);
    };
    dialogs.chooseSetting = [&ui, parent] {
        return NamedSettingChooserWindow::choose(ui, catalogue::SettingModule::PriceListOutput,
                                                 parent);
    };
    dialogs.askSettingName = [&ui, parent] {
        return SettingNameDialog::askNew(ui, parent);
    };
    PriceListPrintWindow::open(m_context, view, std::move(dialogs), parent);
    return closed();
}

} // namespace orvento::ui
