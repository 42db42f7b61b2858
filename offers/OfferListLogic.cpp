#include "offers/OfferListLogic.h"

#include "catalogue/LockedRecords.h"
#include "core/AppContext.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/ProgressScope.h"
#include "core/SlicedWrite.h"
#include "core/UserInteraction.h"
#include "offers/OfferDeletion.h"
#include "services/AccessRights.h"
#include "services/ProfileSession.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"
#include "services/PurchasePriceDisplay.h"
#include "services/RecordLock.h"
#include "services/RecordRefresh.h"

#include <algorithm>

namespace orvento::offers {

namespace {

// How many IDs one statement of the sums names at most.
constexpr size_t kSumChunk = 400;
// The most offers one slice of a bulk write takes; the lock budget of core/SlicedWrite may end a
// slice sooner. A deleted offer takes its items and history along, a lock is one row.
constexpr std::size_t kDeletionSliceOffers = 100;
constexpr std::size_t kLockSliceOffers = 1000;

const QString kOffers = QStringLiteral("Nabidky");

// A bulk command's progress on its wait window; a single offer shows none.
std::function<bool(std::size_t, std::size_t)> progressOf(std::optional<core::ProgressScope>& wait) {
    if (!wait)
        return {};
    return core::progressOf(*wait);
}

QString loadingText() {
    return QStringLiteral("Načítám seznam Nabídek\nprosím čekejte...");
}

void addSums(OfferSums& sums, QSqlQuery& q) {
    while (q.next()) {
        OfferSum part;
        part.count = q.value(1).toInt();
        part.withoutVat = q.value(2).toDouble();
        part.withVat = q.value(3).toDouble();
        part.profit = q.value(4).toDouble();
        auto add = [&part](OfferSum& to) {
            to.count += part.count;
            to.withoutVat += part.withoutVat;
            to.withVat += part.withVat;
            to.profit += part.profit;
        };
        add(sums.all);
        const int state = q.value(0).toInt();
        if (!q.value(0).isNull() && state >= 0 && state < kStateCount)
            add(sums.byState[static_cast<size_t>(state)]);
    }
}

} // namespace

OfferListLogic::OfferListLogic(core::AppContext& context)
    : m_context(context)
    , m_db(context.db().agenda)
    , m_ui(context.ui())
    , m_rows(context.db().agenda) {}

OfferListLogic::~OfferListLogic() {
    // A card that answers after the list closed tells nobody.
    if (m_card)
        m_card->onAnswer(nullptr);
}

bool OfferListLogic::mayOpen(core::UserInteraction& ui) {
    return services::checkModule(services::Module::Nabidky, services::ModuleAction::Open, ui);
}

bool OfferListLogic::open() {
    core::ProgressScope wait(m_ui, loadingText(), 0, false);
    const core::CurrentUser& user = core::programState().user;
    m_rows.setVisibility(visibilityCondition(user.vsechnyNabidky, user.prefiltrNabidkyVytvorId));
    m_filter.active = false;
    m_rows.setFilter({});
    m_rows.setSortField(m_context.profile().sortField(services::GridId::OfferList));
    m_legend = services::profile::loadBool(services::profile::value::OfferLegendShown, true);
    m_rows.setProfitVisible(profitShown());
    const bool ok = reloadRows();
    m_rows.clearMarks();
    locate(services::profile::loadInt(services::profile::value::CurrentOffer, 1));
    return ok;
}

void OfferListLogic::close() {
    if (m_current >= 0)
        services::profile::saveInt(services::profile::value::CurrentOffer,
                                   static_cast<int>(currentId()));
    m_context.profile().setSortField(services::GridId::OfferList, m_rows.sortField());
}

bool OfferListLogic::reloadRows() {
    if (m_rows.reload())
        return true;
    m_ui.error(core::readFailedMessage());
    return false;
}

void OfferListLogic::locate(qint64 id) {
    const auto row = m_rows.rowOfId(id);
    m_current = row ? *row : (m_rows.rowCount() > 0 ? 0 : -1);
}

void OfferListLogic::changed() {
    if (m_changed)
        m_changed();
}

void OfferListLogic::setCurrentRow(int row) {
    if (row >= 0 && row < m_rows.rowCount())
        m_current = row;
}

bool OfferListLogic::sortBy(const QString& field) {
    // The order of a hidden column would tell what it hides.
    const bool hiddenProfit =
        field.compare(QLatin1String("Zisk"), Qt::CaseInsensitive) == 0 && !profitShown();
    if (!OfferListModel::isSortable(field) || hiddenProfit)
        return false;
    const qint64 id = currentId();
    m_rows.sortBy(field);
    m_context.profile().setSortField(services::GridId::OfferList, m_rows.sortField());
    locate(id);
    return true;
}

std::optional<int> OfferListLogic::quickFind(const QString& text) {
    const auto row = m_rows.quickFind(text);
    if (row)
        m_current = *row;
    return row;
}

void OfferListLogic::toggleMark(int row) {
    const qint64 id = m_rows.idAt(row);
    if (id >= 0)
        m_rows.setMarked(row, !m_rows.isMarked(id));
}

void OfferListLogic::markAll() {
    m_rows.markAll();
}

void OfferListLogic::clearMarks() {
    m_rows.clearMarks();
}

void OfferListLogic::setLegendShown(bool shown) {
    m_legend = shown;
    services::profile::saveBool(services::profile::value::OfferLegendShown, shown);
}

OfferListButtons OfferListLogic::buttons() const {
    OfferListButtons b;
    const bool any = m_rows.rowCount() > 0;
    const bool card = cardAvailable();
    b.add = card;
    b.edit = any && card;
    b.copy = any && card;
    b.remove = any;
    b.print = any;
    b.other = any;
    return b;
}

std::vector<qint64> OfferListLogic::offersToPrint() const {
    return m_rows.marks().empty() ? m_rows.ids() : m_rows.marksInListOrder();
}

void OfferListLogic::printList() {
    if (m_print)
        m_print->onAnswer(nullptr);
    m_print = m_context.navigator().printOfferList(currentId(), offersToPrint());
    m_print->onAnswer([this](const core::NavigationResult& result) {
        if (result.status == core::NavigationStatus::Done && !result.ids.empty()) {
            refresh();
            changed();
        }
    });
}

std::vector<qint64> OfferListLogic::offersToExport() const {
    if (m_rows.marks().empty()) {
        if (m_current < 0)
            return {};
        return {currentId()};
    }
    std::vector<qint64> ids = m_rows.marksInListOrder();
    std::reverse(ids.begin(), ids.end());
    return ids;
}

void OfferListLogic::exportXml() {
    const std::vector<qint64> ids = offersToExport();
    if (!ids.empty())
        m_context.navigator().exportToXml(core::XmlExportOffers, ids);
}

void OfferListLogic::refresh() {
    const qint64 id = currentId();
    m_rows.clearMarks();
    reloadRows();
    locate(id);
}

bool OfferListLogic::applyFilter(const OfferFilter& filter) {
    if (filter.active) {
        if (const auto problem = filter.problem()) {
            m_ui.warning(*problem);
            return false;
        }
    }
    const qint64 id = currentId();
    m_filter = filter;
    m_dialogValues = filter;
    m_rows.clearMarks();
    m_rows.setFilter(filterCondition(m_filter));
    if (!m_rows.reload()) {
        m_ui.warning(filterCannotApplyMessage());
        m_filter.active = false;
        m_rows.setFilter({});
        reloadRows();
    }
    locate(id);
    return true;
}

bool OfferListLogic::findCurrentAgain() {
    const qint64 id = currentId();
    reloadRows();
    const auto row = m_rows.rowOfId(id);
    if (!row) {
        locate(id);
        m_ui.warning(services::recordGoneMessage());
        return false;
    }
    m_current = *row;
    return true;
}

bool OfferListLogic::cardAvailable() const {
    return m_context.navigator().offerCardAvailable();
}

void OfferListLogic::openCard(core::OfferCardMode mode) {
    if (!cardAvailable())
        return;
    m_rows.clearMarks();
    const qint64 before = currentId();
    qint64 id = 0;
    if (mode != core::OfferCardMode::New) {
        if (m_current < 0)
            return;
        if (!findCurrentAgain()) {
            changed();
            return;
        }
        id = currentId();
    }
    if (m_card)
        m_card->onAnswer(nullptr);
    m_card = m_context.navigator().openOfferCard(mode, id);
    m_card->onAnswer([this, before, mode](const core::NavigationResult& result) {
        afterCard(result, before);
        if (mode != core::OfferCardMode::Existing)
            offerPrintOfNew(result);
    });
}

void OfferListLogic::pickFilterFirm(
    std::function<void(qint64 firmId, const QString& name)> chosen) {
    if (m_firmPick)
        m_firmPick->onAnswer(nullptr);
    m_firmPick = m_context.navigator().pickFirm(std::nullopt);
    m_firmPick->onAnswer([this, chosen = std::move(chosen)](const core::NavigationResult& result) {
        if (result.status != core::NavigationStatus::Done || result.ids.empty())
            return;
        const qint64 firmId = result.ids.front();
        QSqlQuery row = m_db.select(QStringLiteral("SELECT Nazev FROM Adresar WHERE ID = :ID"),
                                    {{QStringLiteral("ID"), firmId}});
        // A firm deleted between the pick and this read leaves the filter as it was.
        if (row.next())
            chosen(firmId, row.value(0).toString());
    });
}

void OfferListLogic::offerPrintOfNew(const core::NavigationResult& card) {
    if (card.status != core::NavigationStatus::Done || card.ids.empty() ||
        !services::profile::loadBool(services::profile::value::PrintAfterNewOffer, true))
        return;
    if (m_print)
        m_print->onAnswer(nullptr);
    m_print = m_context.navigator().printOffer(card.ids.front());
    m_print->onAnswer([this](const core::NavigationResult& result) {
        // A print that marked the offer as sent changed what the list shows.
        if (result.status == core::NavigationStatus::Done && !result.ids.empty()) {
            const qint64 id = currentId();
            reloadRows();
            locate(id);
            changed();
        }
    });
}

void OfferListLogic::afterCard(const core::NavigationResult& result, qint64 before) {
    reloadRows();
    if (result.status == core::NavigationStatus::Done && !result.ids.empty() &&
        m_rows.rowOfId(result.ids.front()))
        locate(result.ids.front());
    else
        locate(before);
    changed();
}

void OfferListLogic::removeSelected() {
    if (m_current < 0 ||
        !services::checkModule(services::Module::Nabidky, services::ModuleAction::Delete, m_ui))
        return;
    const std::vector<qint64> marked = m_rows.marksInListOrder();
    std::vector<qint64> targets;
    qint64 after = -1; // where a single deletion leaves the list
    std::optional<core::ProgressScope> wait;
    if (marked.empty()) {
        if (!m_ui.question(
                QStringLiteral("Vyjmutí dokladu je nevratná operace. Opravdu chcete pokračovat ?")))
            return;
        if (!findCurrentAgain())
            return;
        targets.push_back(currentId());
        after = m_current + 1 < m_rows.rowCount() ? m_rows.idAt(m_current + 1)
                                                  : m_rows.idAt(m_current - 1);
    } else {
        if (!m_ui.question(QStringLiteral(
                "Varování: chystáte se smazat několik záznamů najednou!\n\nVyjmutí dokladu je "
                "nevratná operace - opravdu chcete pokračovat a nenávratně smazat označené "
                "doklady?")))
            return;
        targets = marked;
        wait.emplace(m_ui, QStringLiteral("Mazání dokladů\nprosím čekejte..."),
                     static_cast<int>(targets.size()), false);
    }
    // The offers to delete are settled before the first slice: those before the first one that
    // is locked or open elsewhere, which stops the deletion there.
    std::vector<qint64> deletable;
    QString refusal;
    for (const qint64 id : targets) {
        const auto locked = m_db.scalar(QStringLiteral("SELECT Zamek FROM Nabidky WHERE ID = :ID"),
                                        {{QStringLiteral("ID"), id}});
        if (!locked)
            continue; // deleted elsewhere meanwhile
        if (services::recordHeldElsewhere(kOffers, id))
            refusal = services::recordInUseDeleteMessage();
        else if (locked->toInt() != 0)
            refusal = lockedOfferDeleteMessage();
        if (!refusal.isEmpty())
            break;
        deletable.push_back(id);
        m_ui.keepAlive();
    }
    // An offer goes whole with its items, documents and history inside one slice: a failed
    // slice is rolled back, so no offer is ever left half deleted.
    QString failedTable;
    const core::SlicedWriteResult result = core::writeInSlices(
        m_db, deletable, kDeletionSliceOffers,
        [&](qint64 id) {
            failedTable = deleteOfferRows(m_db, id);
            return failedTable.isEmpty();
        },
        progressOf(wait));
    wait.reset();
    if (result.failed)
        m_ui.error(core::saveFailedMessage(failedTable.isEmpty() ? kOffers : failedTable));
    else if (!refusal.isEmpty())
        m_ui.warning(refusal);
    const qint64 current = currentId();
    reloadRows();
    if (marked.empty()) {
        locate(m_rows.rowOfId(current) ? current : after);
    } else {
        m_rows.clearMarks();
        locate(current);
    }
}

void OfferListLogic::setLocked(bool locked) {
    if (m_current < 0 ||
        !services::checkRight(services::mayLockOffers(core::programState().user), m_ui))
        return;
    std::vector<qint64> targets = m_rows.marksInListOrder();
    std::optional<core::ProgressScope> wait;
    if (targets.empty())
        targets.push_back(currentId());
    else
        wait.emplace(m_ui, QStringLiteral("Nastavení zámků\nprosím čekejte..."),
                     static_cast<int>(targets.size()), false);
    // Each offer's lock is its own: a failed slice leaves the slices before it written, and is
    // told.
    const core::SlicedWriteResult result = core::writeInSlices(
        m_db, targets, kLockSliceOffers,
        [&](qint64 id) {
            return m_db.execute(QStringLiteral("UPDATE Nabidky SET Zamek = :Zamek WHERE ID = :ID"),
                                {{QStringLiteral("Zamek"), locked}, {QStringLiteral("ID"), id}});
        },
        progressOf(wait));
    wait.reset();
    if (result.failed)
        m_ui.error(core::saveFailedMessage(kOffers));
    const qint64 current = currentId();
    reloadRows();
    locate(current);
}

std::optional<OfferSums> OfferListLogic::sumRows(const std::vector<qint64>& ids) {
    OfferSums sums;
    const QString columns = QStringLiteral(
        "SELECT IDStav, COUNT(*), SUM(CelkemBDPH), SUM(Celkem), SUM(Zisk) FROM Nabidky WHERE ");
    if (ids.empty()) {
        const SqlCondition shown = m_rows.shownCondition();
        QSqlQuery q =
            m_db.select(columns + (shown.where.isEmpty() ? QStringLiteral("1 = 1") : shown.where) +
                            QStringLiteral(" GROUP BY IDStav"),
                        shown.params);
        if (!q.isActive())
            return std::nullopt;
        addSums(sums, q);
        return sums;
    }
    sums.ofMarks = true;
    for (size_t first = 0; first < ids.size(); first += kSumChunk) {
        const size_t last = std::min(ids.size(), first + kSumChunk);
        QString names;
        core::SqlParams params;
        for (size_t i = first; i < last; ++i) {
            const QString name = QStringLiteral("I%1").arg(i - first);
            names += (i > first ? QStringLiteral(", :") : QStringLiteral(":")) + name;
            params.emplace_back(name, ids[i]);
        }
        QSqlQuery q = m_db.select(columns + QStringLiteral("ID IN (") + names +
                                      QStringLiteral(") GROUP BY IDStav"),
                                  params);
        if (!q.isActive())
            return std::nullopt;
        addSums(sums, q);
        m_ui.keepAlive();
    }
    return sums;
}

std::optional<OfferSums> OfferListLogic::sums() {
    core::ProgressScope wait(m_ui, QStringLiteral("Sumace seznamu dokladů...\n[čekejte prosím]"), 0,
                             false);
    auto result = sumRows(m_rows.marksInListOrder());
    wait.end();
    if (!result)
        m_ui.error(core::readFailedMessage());
    return result;
}

void OfferListLogic::showHistory() {
    if (m_current < 0)
        return;
    m_context.navigator().showOfferHistory(currentId());
}

void OfferListLogic::togglePurchasePrices() {
    services::togglePurchasePriceDisplay(m_context);
    m_rows.setProfitVisible(profitShown());
}

bool OfferListLogic::profitShown() const {
    return core::programState().purchasePricesVisible();
}

} // namespace orvento::offers
