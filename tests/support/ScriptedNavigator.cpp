#include "support/ScriptedNavigator.h"

#include <gtest/gtest.h>

namespace orvento::testsupport {

namespace {

template <typename Queue> bool takeNext(Queue& queue, const QString& what) {
    if (!queue.empty())
        return true;
    ADD_FAILURE() << "unscripted window: " << what.toStdString();
    return false;
}

// Swapped out rather than moved: GCC's optimiser sees a moved-from optional QString as possibly
// uninitialised.
template <typename T> std::optional<T> popFront(std::deque<std::optional<T>>& queue) {
    std::optional<T> value;
    value.swap(queue.front());
    queue.pop_front();
    return value;
}

// " 3 4 5": the IDs as a request shows them.
QString idList(const std::vector<qint64>& ids) {
    QString text;
    for (const qint64 id : ids)
        text += QLatin1Char(' ') + QString::number(id);
    return text;
}

QString listName(core::ListWindow list) {
    switch (list) {
    case core::ListWindow::Offers:
        return QStringLiteral("offers");
    case core::ListWindow::Catalogue:
        return QStringLiteral("catalogue");
    case core::ListWindow::AddressBook:
        return QStringLiteral("addressBook");
    case core::ListWindow::PriceGroups:
        return QStringLiteral("priceGroups");
    case core::ListWindow::PriceLevels:
        return QStringLiteral("priceLevels");
    case core::ListWindow::Identifiers:
        return QStringLiteral("identifiers");
    }
    return QStringLiteral("?");
}

} // namespace

ScriptedNavigator::~ScriptedNavigator() {
    const auto left = m_windows.size() + m_folders.size() + m_passwords.size() +
                      m_agendaLists.size() + m_settings.size() + m_tools.size();
    if (left > 0)
        ADD_FAILURE() << left << " scripted window answer(s) left unused";
}

std::shared_ptr<core::PendingNavigation> ScriptedNavigator::window(const QString& what,
                                                                   const Forward& forward) {
    m_requests << what;
    auto pending = std::make_shared<core::PendingNavigation>();
    if (!takeNext(m_windows, what)) {
        pending->answer({core::NavigationStatus::NotAvailable, {}});
        return pending;
    }
    Scripted scripted = std::move(m_windows.front());
    m_windows.pop_front();
    if (scripted.passedTo)
        return forward(*scripted.passedTo);
    if (scripted.answer)
        pending->answer(std::move(*scripted.answer));
    else
        m_open.push_back(pending);
    return pending;
}

bool ScriptedNavigator::answerPending(core::NavigationResult result) {
    if (m_open.empty())
        return false;
    const std::shared_ptr<core::PendingNavigation> oldest = m_open.front().lock();
    m_open.erase(m_open.begin());
    // A requester that let go gets nothing, as with the program's windows.
    if (oldest)
        oldest->answer(std::move(result));
    return true;
}

std::shared_ptr<core::PendingNavigation> ScriptedNavigator::pickCatalogueItems() {
    return window(QStringLiteral("pickCatalogueItems"),
                  [](core::Navigator& to) { return to.pickCatalogueItems(); });
}

std::shared_ptr<core::PendingNavigation> ScriptedNavigator::openFirmCard(qint64 firmId) {
    return window(QStringLiteral("openFirmCard %1").arg(firmId),
                  [firmId](core::Navigator& to) { return to.openFirmCard(firmId); });
}

std::shared_ptr<core::PendingNavigation>
ScriptedNavigator::pickFirm(std::optional<qint64> startOn) {
    return window(startOn ? QStringLiteral("pickFirm %1").arg(*startOn)
                          : QStringLiteral("pickFirm"),
                  [startOn](core::Navigator& to) { return to.pickFirm(startOn); });
}

std::shared_ptr<core::PendingNavigation> ScriptedNavigator::pickPostCode() {
    return window(QStringLiteral("pickPostCode"),
                  [](core::Navigator& to) { return to.pickPostCode(); });
}

std::shared_ptr<core::PendingNavigation> ScriptedNavigator::printOffer(qint64 offerId) {
    return window(QStringLiteral("printOffer %1").arg(offerId),
                  [offerId](core::Navigator& to) { return to.printOffer(offerId); });
}

std::shared_ptr<core::PendingNavigation> ScriptedNavigator::showOfferHistory(qint64 offerId) {
    return window(QStringLiteral("showOfferHistory %1").arg(offerId),
                  [offerId](core::Navigator& to) { return to.showOfferHistory(offerId); });
}

std::shared_ptr<core::PendingNavigation> ScriptedNavigator::openOfferCard(core::OfferCardMode mode,
                                                                          qint64 offerId) {
    QString what;
    switch (mode) {
    case core::OfferCardMode::New:
        what = QStringLiteral("openOfferCard new");
        break;
    case core::OfferCardMode::Existing:
        what = QStringLiteral("openOfferCard existing %1").arg(offerId);
        break;
    case core::OfferCardMode::Copy:
        what = QStringLiteral("openOfferCard copy %1").arg(offerId);
        break;
    }
    return window(what,
                  [mode, offerId](core::Navigator& to) { return to.openOfferCard(mode, offerId); });
}

std::shared_ptr<core::PendingNavigation>
ScriptedNavigator::printOfferList(qint64 currentId, std::vector<qint64> offerIds) {
    return window(QStringLiteral("printOfferList %1:%2").arg(currentId).arg(idList(offerIds)),
                  [currentId, offerIds](core::Navigator& to) {
                      return to.printOfferList(currentId, offerIds);
                  });
}

std::shared_ptr<core::PendingNavigation>
ScriptedNavigator::printFirms(std::vector<qint64> firmIds) {
    return window(QStringLiteral("printFirms") + idList(firmIds),
                  [firmIds](core::Navigator& to) { return to.printFirms(firmIds); });
}

std::shared_ptr<core::PendingNavigation>
ScriptedNavigator::pickPriceLevel(const QString& codeToLocate) {
    return window(codeToLocate.isEmpty() ? QStringLiteral("pickPriceLevel")
                                         : QStringLiteral("pickPriceLevel ") + codeToLocate,
                  [codeToLocate](core::Navigator& to) { return to.pickPriceLevel(codeToLocate); });
}

std::shared_ptr<core::PendingNavigation> ScriptedNavigator::pickSheet() {
    return window(QStringLiteral("pickSheet"), [](core::Navigator& to) { return to.pickSheet(); });
}

std::shared_ptr<core::PendingNavigation> ScriptedNavigator::pickGroup(qint64 sheetId) {
    return window(QStringLiteral("pickGroup %1").arg(sheetId),
                  [sheetId](core::Navigator& to) { return to.pickGroup(sheetId); });
}

std::shared_ptr<core::PendingNavigation>
ScriptedNavigator::pickPriceGroup(const QString& codeToLocate) {
    return window(codeToLocate.isEmpty() ? QStringLiteral("pickPriceGroup")
                                         : QStringLiteral("pickPriceGroup ") + codeToLocate,
                  [codeToLocate](core::Navigator& to) { return to.pickPriceGroup(codeToLocate); });
}

std::shared_ptr<core::PendingNavigation> ScriptedNavigator::openList(core::ListWindow list) {
    return window(QStringLiteral("openList ") + listName(list),
                  [list](core::Navigator& to) { return to.openList(list); });
}

std::shared_ptr<core::PendingNavigation> ScriptedNavigator::openImportWizard() {
    return window(QStringLiteral("openImportWizard"),
                  [](core::Navigator& to) { return to.openImportWizard(); });
}

std::optional<core::DataFolderChoice>
ScriptedNavigator::chooseDataFolder(const QString& proposedLocal) {
    m_requests << QStringLiteral("chooseDataFolder");
    m_lastProposed = proposedLocal;
    if (!takeNext(m_folders, QStringLiteral("chooseDataFolder")))
        return std::nullopt;
    return popFront(m_folders);
}

std::optional<QString> ScriptedNavigator::askPassword() {
    m_requests << QStringLiteral("askPassword");
    if (!takeNext(m_passwords, QStringLiteral("askPassword")))
        return std::nullopt;
    return popFront(m_passwords);
}

core::AgendaListOutcome ScriptedNavigator::openAgendaList() {
    m_requests << QStringLiteral("openAgendaList");
    if (!takeNext(m_agendaLists, QStringLiteral("openAgendaList")))
        return core::AgendaListOutcome::Stay;
    const auto list = std::move(m_agendaLists.front());
    m_agendaLists.pop_front();
    return list ? list() : core::AgendaListOutcome::Stay;
}

core::NavigationStatus ScriptedNavigator::openSettings() {
    m_requests << QStringLiteral("openSettings");
    if (!takeNext(m_settings, QStringLiteral("openSettings")))
        return core::NavigationStatus::Cancelled;
    const auto settings = std::move(m_settings.front());
    m_settings.pop_front();
    return settings ? settings() : core::NavigationStatus::Cancelled;
}

bool ScriptedNavigator::startMaintenanceTool(const QString& program, const QString& dataFolder) {
    m_requests << QStringLiteral("startMaintenanceTool");
    m_started << program + QLatin1Char(' ') + dataFolder;
    if (!takeNext(m_tools, QStringLiteral("startMaintenanceTool")))
        return false;
    const bool starts = m_tools.front();
    m_tools.pop_front();
    return starts;
}

std::shared_ptr<core::PendingNavigation> ScriptedNavigator::pickOfferTemplate() {
    return window(QStringLiteral("pickOfferTemplate"),
                  [](core::Navigator& to) { return to.pickOfferTemplate(); });
}

core::BackupOutcome ScriptedNavigator::openBackup(core::BackupPage page) {
    m_requests << (page == core::BackupPage::Create ? QStringLiteral("openBackup create")
                                                    : QStringLiteral("openBackup restore"));
    if (m_backups.empty())
        return core::BackupOutcome::Stay;
    const auto backup = std::move(m_backups.front());
    m_backups.pop_front();
    return backup ? backup() : core::BackupOutcome::Stay;
}

std::shared_ptr<core::PendingNavigation> ScriptedNavigator::exportToXml(int kind,
                                                                        std::vector<qint64> ids) {
    return window(QStringLiteral("exportToXml %1:").arg(kind) + idList(ids),
                  [kind, ids](core::Navigator& to) { return to.exportToXml(kind, ids); });
}

std::shared_ptr<core::PendingNavigation> ScriptedNavigator::editIdentifiers(const QString& list) {
    return window(list.isEmpty() ? QStringLiteral("editIdentifiers")
                                 : QStringLiteral("editIdentifiers ") + list,
                  [list](core::Navigator& to) { return to.editIdentifiers(list); });
}

std::shared_ptr<core::PendingNavigation>
ScriptedNavigator::printNote(qint64 noteId, const QString& nazev, const QString& detail) {
    return window(QStringLiteral("printNote %1 %2").arg(noteId).arg(nazev),
                  [noteId, nazev, detail](core::Navigator& to) {
                      return to.printNote(noteId, nazev, detail);
                  });
}

std::shared_ptr<core::PendingNavigation> ScriptedNavigator::openCatalogueWizard(bool bulkUpdate) {
    return window(bulkUpdate ? QStringLiteral("openCatalogueWizard bulkUpdate")
                             : QStringLiteral("openCatalogueWizard repricing"),
                  [bulkUpdate](core::Navigator& to) { return to.openCatalogueWizard(bulkUpdate); });
}

std::shared_ptr<core::PendingNavigation>
ScriptedNavigator::openPriceListOutput(const core::CatalogueView& view) {
    m_lastView = view;
    return window(QStringLiteral("openPriceListOutput %1").arg(view.sheetId),
                  [view](core::Navigator& to) { return to.openPriceListOutput(view); });
}

int ScriptedNavigator::count(const QString& what) const {
    int n = 0;
    for (const QString& r : m_requests) {
        if (r == what || r.startsWith(what + QLatin1Char(' ')))
            ++n;
    }
    return n;
}

core::NavigationStatus ScriptedNavigator::openMailSettings() {
    m_requests << QStringLiteral("openMailSettings");
    if (m_mailSettings.empty())
        return core::NavigationStatus::Cancelled;
    const core::NavigationStatus status = m_mailSettings.front();
    m_mailSettings.pop_front();
    return status;
}

} // namespace orvento::testsupport
