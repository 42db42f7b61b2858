#include "SoakWorkstation.h"

#include "SoakChecks.h"
#include "SoakDatabase.h"
#include "SoakLog.h"

#include "addressbook/AddressBookLogic.h"
#include "addressbook/FirmCard.h"
#include "catalogue/ItemCard.h"
#include "catalogue/ItemDeletion.h"
#include "catalogue/RepricingRun.h"
#include "core/AgendaSettings.h"
#include "core/AppContext.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/SilentInteraction.h"
#include "offers/OfferCardLogic.h"
#include "offers/OfferItemCard.h"
#include "offers/OfferListLogic.h"
#include "offers/TextItemCard.h"
#include "services/CommandLineSession.h"
#include "services/ProfileSession.h"
#include "services/StandardStartupHooks.h"
#include "tests/support/StoreKinds.h"

#include <QElapsedTimer>
#include <QThread>

#include <cstdio>
#include <random>
#include <utility>
#include <vector>

namespace orvento::soak {
namespace {

using core::NavigationResult;
using core::NavigationStatus;
using core::PendingNavigation;

const QString kAgenda = QStringLiteral("DEMO");
const QString kGroups = QStringLiteral("Skupiny");
const QString kSheets = QStringLiteral("Sklady");

// A person at the workstation who confirms every question and reads no message.
class SoakInteraction : public core::SilentInteraction {
public:
    core::Answer ask(const QString&, core::Buttons, core::Answer) override {
        return core::Answer::Yes;
    }
};

// The catalogue and the address book as the person uses them from an offer card: a few items
// marked and taken, a firm picked.
class SoakNavigator : public services::CommandLineNavigator {
public:
    using Pick = std::function<std::vector<qint64>()>;
    SoakNavigator(Pick items, Pick firm)
        : m_items(std::move(items))
        , m_firm(std::move(firm)) {}

    std::shared_ptr<PendingNavigation> pickCatalogueItems() override {
        return answered(m_items(), true);
    }
    std::shared_ptr<PendingNavigation> pickFirm(std::optional<qint64>) override {
        return answered(m_firm(), false);
    }

private:
    static std::shared_ptr<PendingNavigation> answered(std::vector<qint64> ids, bool marked) {
        auto pending = std::make_shared<PendingNavigation>();
        const NavigationStatus status =
            ids.empty() ? NavigationStatus::Cancelled : NavigationStatus::Done;
        pending->answer({status, std::move(ids), marked});
        return pending;
    }

    Pick m_items;
    Pick m_firm;
};

// The offer item card as the person fills it in: a free item with a price and a quantity, a
// catalogue item as it comes, a changed quantity.
class SoakItemEditor : public offers::OfferItemEditor {
public:
    SoakItemEditor(core::UserInteraction& ui, std::mt19937& random)
        : m_ui(ui)
        , m_random(random) {}

    bool editNew(offers::OfferWorkingCopy& offer, std::optional<std::size_t> current) override {
        offers::OfferItemCard card = cardFor(offer);
        card.openNew(current);
        card.item().Popis = QStringLiteral("Montáž");
        card.setProdCena(price());
        card.setPocetMJ(quantity());
        return card.confirm();
    }
    bool editFromCatalogue(offers::OfferWorkingCopy& offer, qint64 id,
                           std::optional<std::size_t> current) override {
        const auto row = catalogue::readItem(core::programState().db->agenda, id);
        if (!row)
            return false;
        offers::OfferItemCard card = cardFor(offer);
        card.openFromCatalogue(*row, current);
        card.setPocetMJ(quantity());
        return card.confirm();
    }
    bool editExisting(offers::OfferWorkingCopy& offer, std::size_t index, bool copy) override {
        offers::OfferItemCard card = cardFor(offer);
        if (!(copy ? card.openCopy(index) : card.openExisting(index)))
            return false;
        card.setPocetMJ(quantity());
        return card.confirm();
    }
    bool editNewText(offers::OfferWorkingCopy& offer, bool title,
                     std::optional<std::size_t> current) override {
        offers::TextItemCard card(m_ui, offer);
        card.openNew(title, current);
        card.text = QStringLiteral("Poznámka");
        return card.confirm();
    }
    bool editExistingText(offers::OfferWorkingCopy& offer, std::size_t index, bool copy) override {
        offers::TextItemCard card(m_ui, offer);
        return card.openExisting(index, copy) && card.confirm();
    }

private:
    static constexpr int kMaxPrice = 5000;
    static constexpr int kMaxQuantity = 20;

    offers::OfferItemCard cardFor(offers::OfferWorkingCopy& offer) {
        return offers::OfferItemCard(core::programState().db->agenda, m_ui, offer,
                                     offers::currentAgendaRates());
    }
    double price() { return 1.0 + static_cast<double>(m_random() % kMaxPrice); }
    double quantity() { return 1.0 + static_cast<double>(m_random() % kMaxQuantity); }

    core::UserInteraction& m_ui;
    std::mt19937& m_random;
};

// What a workstation does next, by its share of the actions (out of kActionShares).
enum class Action {
    EditOffer,
    NewOffer,
    CopyOffer,
    DeleteOffer,
    EditFirm,
    NewFirm,
    DeleteFirm,
    EditItem,
    NewItem,
    DeleteItem,
    Bulk,
};
struct ActionShare {
    Action action;
    int share;
};
constexpr ActionShare kActions[] = {
    {Action::EditOffer, 33},  {Action::NewOffer, 8},  {Action::CopyOffer, 5},
    {Action::DeleteOffer, 3}, {Action::EditFirm, 16}, {Action::NewFirm, 5},
    {Action::DeleteFirm, 2},  {Action::EditItem, 18}, {Action::NewItem, 6},
    {Action::DeleteItem, 3},  {Action::Bulk, 1},
};

// How long the person looks at a card before confirming it, at most; the workstation that edits
// without the lock takes its time, so that its cards meet the others' within a short run.
constexpr int kMaxThinkMs = 3;
constexpr int kBrokenThinkMs = 50;
// Catalogue items marked for one pick, at most; the range of firms' phone numbers.
constexpr int kMaxPickedItems = 3;
constexpr int kPhoneDigits = 1000000;
constexpr int kMaxPurchasePrice = 3000;
// Repricing factors: a group up or down by a percent, so prices stay in range.
constexpr double kRepriceUp = 1.01;

class Workstation {
public:
    explicit Workstation(const WorkstationOptions& options)
        : m_options(options)
        , m_random(options.seed)
        , m_journal(options.journal)
        , m_navigator([this] { return pickItems(); }, [this] { return pickFirm(); })
        , m_context(m_ui, m_navigator, m_profile, m_hooks)
        , m_editor(m_ui, m_random) {}

    bool open();
    void run();

private:
    void act(Action action);
    void editOffer();
    void newOffer();
    void deleteOffer();
    void editFirm();
    void newFirm();
    void deleteFirm();
    void editItem();
    void newItem();
    void deleteItem();
    void bulk();

    void changeItems(offers::OfferCardLogic& card);
    void changeContacts(addressbook::FirmCard& card);
    static QStringList firmValues(const addressbook::FirmCard& card, const QString& phone);
    void copyOffer();
    void saveOffer(offers::OfferCardLogic& card, const QString& token, qint64 id);
    QString storeWithoutLastItem(const offers::OfferWorkingCopy& offer, qint64 id);
    template <typename Delete> void deleteRecord(const QString& table, Delete remove);

    bool brokenHere(BrokenMode mode) const {
        return m_options.broken == mode && m_options.slot == 0;
    }
    core::Database& agenda() { return core::programState().db->agenda; }
    QString nextToken() {
        return QStringLiteral("s%1g%2n%3")
            .arg(m_options.slot)
            .arg(m_options.generation)
            .arg(++m_sequence);
    }
    void note(const char* what, QStringList words) {
        words.prepend(QString::number(monotonicStamp()));
        words.prepend(QString::fromLatin1(what));
        m_journal.line(words);
    }
    void noteLock(const char* what, const QString& table, qint64 id) {
        note(what, {table, QString::number(id)});
    }
    void noteIntent(const QString& token, const char* kind, const QString& table, qint64 id,
                    const QStringList& values = {}) {
        note("intent",
             QStringList{token, QString::fromLatin1(kind), table, QString::number(id)} + values);
    }
    void noteEnd(bool done, const QString& token, const QString& table, qint64 id, qint64 ms,
                 const QStringList& values = {}) {
        if (done)
            note("commit", QStringList{token, QString::number(id), QString::number(ms)} + values);
        else
            note("abandon", {token, failureReason(table, id), QString::number(ms)});
    }
    // A deletion the program refused (the record is in use elsewhere or locked) is no failure.
    void noteDeletion(const QString& token, const QString& table, qint64 id, qint64 ms) {
        const bool busy = core::Database::lastFailureKindInProgram() == core::FailureKind::Busy;
        if (!exists(table, id))
            note("commit", {token, QString::number(id), QString::number(ms)});
        else if (busy)
            note("abandon", {token, QStringLiteral("busy"), QString::number(ms)});
        else
            note("abandon", {token, QStringLiteral("refused"), QString::number(ms)});
    }
    QString failureReason(const QString& table, qint64 id);
    bool exists(const QString& table, qint64 id);
    std::vector<qint64> ids(const QString& table);
    std::optional<qint64> randomId(const QString& table);
    std::vector<qint64> pickItems();
    std::vector<qint64> pickFirm();
    int below(int bound) { return static_cast<int>(m_random() % static_cast<unsigned>(bound)); }
    void think() {
        const int ms = brokenHere(BrokenMode::NoLock) ? kBrokenThinkMs : below(kMaxThinkMs + 1);
        QThread::msleep(static_cast<unsigned long>(ms));
    }

    WorkstationOptions m_options;
    std::mt19937 m_random;
    Journal m_journal;
    SoakInteraction m_ui;
    SoakNavigator m_navigator;
    services::ProfileSession m_profile;
    services::StandardStartupHooks m_hooks;
    core::AppContext m_context;
    SoakItemEditor m_editor;
    int m_sequence = 0;
};

bool Workstation::open() {
    auto store = testsupport::makeStore(m_options.storeKind, m_options.dataLocation,
                                        m_options.programFolder);
    if (!store || !m_journal.isOpen()) {
        std::fprintf(stderr, "workstation: no store %s or no journal %s\n",
                     qPrintable(m_options.storeKind), qPrintable(m_options.journal));
        return false;
    }
    // As the program's start-up does: its connections then speak the store's engine.
    core::useProgramStore(std::move(store));
    core::ProgramState& state = core::programState();
    state.folders.setData(m_options.dataLocation);
    state.agenda = kAgenda;
    for (const auto& [db, which] :
         {std::pair{&state.db->global, core::DatabaseId::global()},
          std::pair{&state.db->agenda, core::DatabaseId::agendaNamed(kAgenda)}}) {
        core::OpenFailure failure;
        if (!state.store->open(*db, which, &failure)) {
            std::fprintf(stderr, "workstation: %s does not open: %s\n",
                         qPrintable(state.store->label(which)), qPrintable(failure.reason));
            return false;
        }
    }
    return core::loadAgendaSettings(state.db->agenda, state.folders.data, kAgenda, state.settings,
                                    m_ui);
}

void Workstation::run() {
    int total = 0;
    for (const ActionShare& a : kActions)
        total += a.share;
    while (monotonicStamp() < m_options.until) {
        // The workstation that edits without the lock does nothing else, so that a short run
        // always shows its fault.
        if (brokenHere(BrokenMode::NoLock)) {
            editOffer();
            continue;
        }
        int roll = below(total);
        for (const ActionShare& a : kActions) {
            if (roll < a.share) {
                act(a.action);
                break;
            }
            roll -= a.share;
        }
    }
}

void Workstation::act(Action action) {
    switch (action) {
    case Action::EditOffer:
        return editOffer();
    case Action::NewOffer:
        return newOffer();
    case Action::CopyOffer:
        return copyOffer();
    case Action::DeleteOffer:
        return deleteOffer();
    case Action::EditFirm:
        return editFirm();
    case Action::NewFirm:
        return newFirm();
    case Action::DeleteFirm:
        return deleteFirm();
    case Action::EditItem:
        return editItem();
    case Action::NewItem:
        return newItem();
    case Action::DeleteItem:
        return deleteItem();
    case Action::Bulk:
        return bulk();
    }
}

// Offers ----------------------------------------------------------------------------------------

void Workstation::editOffer() {
    const auto id = randomId(kOffers);
    if (!id)
        return;
    auto opened = offers::OfferCardLogic::open(m_context, core::OfferCardMode::Existing, *id);
    if (!opened || opened->copy.header().Zamek)
        return; // deleted meanwhile, or locked against changes from the list
    if (opened->copy.readOnly) {
        noteLock("inuse", kOffers, *id);
        return;
    }
    const bool held = opened->lock.isHeld();
    if (brokenHere(BrokenMode::NoLock))
        opened->lock.release();
    if (held)
        noteLock("take", kOffers, *id);
    {
        offers::OfferCardLogic card(m_context, std::move(*opened), m_editor);
        changeItems(card);
        saveOffer(card, nextToken(), *id);
        if (held)
            noteLock("release", kOffers, *id);
    }
}

void Workstation::newOffer() {
    auto opened = offers::OfferCardLogic::open(m_context, core::OfferCardMode::New, 0);
    if (!opened)
        return;
    offers::OfferCardLogic card(m_context, std::move(*opened), m_editor);
    if (below(2) == 0)
        card.chooseCustomer();
    const int items = 1 + below(kMaxPickedItems);
    for (int i = 0; i < items; ++i)
        card.addFreeItem();
    if (below(2) == 0)
        card.addCatalogueItems();
    saveOffer(card, nextToken(), 0);
}

// "Kopírovat": a copy of a random offer, its items changed, saved as a new offer.
void Workstation::copyOffer() {
    const auto id = randomId(kOffers);
    if (!id)
        return;
    auto opened = offers::OfferCardLogic::open(m_context, core::OfferCardMode::Copy, *id);
    if (!opened)
        return;
    offers::OfferCardLogic card(m_context, std::move(*opened), m_editor);
    changeItems(card);
    saveOffer(card, nextToken(), 0);
}

void Workstation::changeItems(offers::OfferCardLogic& card) {
    constexpr int kMaxSteps = 3;
    const int steps = 1 + below(kMaxSteps);
    for (int i = 0; i < steps; ++i) {
        if (card.itemCount() > 0)
            card.setCurrent(static_cast<std::size_t>(below(card.itemCount())));
        switch (below(7)) {
        case 0:
            card.addFreeItem();
            break;
        case 1:
            card.addCatalogueItems();
            break;
        case 2:
            if (card.itemCount() > 1)
                card.removeCurrent();
            break;
        case 3:
            card.chooseCustomer();
            break;
        case 4:
            card.refreshPricesFromCatalogue();
            break;
        case 5:
            card.moveCurrent(below(2) == 0);
            break;
        default:
            card.editCurrent();
            break;
        }
    }
}

void Workstation::saveOffer(offers::OfferCardLogic& card, const QString& token, qint64 id) {
    card.editHeader([&token](offers::OfferHeader& h) { h.Poznamka = token; });
    think();
    noteIntent(token, id == 0 ? "create" : "save", kOffers, id);
    QElapsedTimer took;
    took.start();
    const bool saved = card.confirm();
    const qint64 ms = took.elapsed();
    const qint64 stored = saved ? card.savedId().value_or(id) : id;
    QString total = amountValue(card.offer().header().Celkem);
    if (saved && brokenHere(BrokenMode::SkipItem))
        total = storeWithoutLastItem(card.offer(), stored);
    noteEnd(saved, token, kOffers, stored, ms,
            {kOfferItemCount + QLatin1Char('=') + QString::number(card.itemCount()),
             kOfferTotal + QLatin1Char('=') + total});
}

// The soak's own fault: the offer's totals stored again as if its last item were not there.
// Gives the total with VAT the offer then holds.
QString Workstation::storeWithoutLastItem(const offers::OfferWorkingCopy& offer, qint64 id) {
    std::vector<offers::OfferItem> items = offer.items();
    if (items.size() > 1)
        items.pop_back();
    const offers::OfferTotals totals = offers::computeTotals(items, offer.rates());
    core::Transaction unit(agenda());
    const bool written =
        unit.isActive() &&
        agenda().execute(QStringLiteral("UPDATE Nabidky SET Celkem = :Celkem, CelkemBDPH = "
                                        ":CelkemBDPH, Zisk = :Zisk, CelkemNC = :CelkemNC WHERE "
                                        "ID = :ID"),
                         {{QStringLiteral("Celkem"), totals.celkem},
                          {QStringLiteral("CelkemBDPH"), totals.celkemBDPH},
                          {QStringLiteral("Zisk"), totals.zisk},
                          {QStringLiteral("CelkemNC"), totals.celkemNC},
                          {QStringLiteral("ID"), id}}) &&
        unit.commit();
    return amountValue(written ? totals.celkem : offer.header().Celkem);
}

void Workstation::deleteOffer() {
    offers::OfferListLogic list(m_context);
    if (!list.open() || list.rows().rowCount() == 0)
        return;
    list.setCurrentRow(below(list.rows().rowCount()));
    const qint64 id = list.currentId();
    const QString token = nextToken();
    noteIntent(token, "delete", kOffers, id);
    QElapsedTimer took;
    took.start();
    list.removeSelected();
    noteDeletion(token, kOffers, id, took.elapsed());
}

// Firms -----------------------------------------------------------------------------------------

void Workstation::editFirm() {
    const auto id = randomId(kFirms);
    if (!id)
        return;
    core::ProgramState& state = core::programState();
    addressbook::FirmCard card(state.db->agenda, state.db->global, m_ui);
    if (!card.open(addressbook::FirmCardMode::Edit, *id))
        return;
    if (!card.editable()) {
        noteLock("inuse", kFirms, *id);
        return;
    }
    noteLock("take", kFirms, *id);
    const QString token = nextToken();
    const QString phone = QString::number(below(kPhoneDigits));
    card.firm().Poznamka = token;
    card.firm().Telefon = phone;
    changeContacts(card);
    think();
    noteIntent(token, "save", kFirms, *id);
    QElapsedTimer took;
    took.start();
    const bool saved = card.confirm() == catalogue::CardOutcome::Saved;
    noteEnd(saved, token, kFirms, *id, took.elapsed(), firmValues(card, phone));
    noteLock("release", kFirms, *id);
}

void Workstation::newFirm() {
    core::ProgramState& state = core::programState();
    addressbook::FirmCard card(state.db->agenda, state.db->global, m_ui);
    if (!card.open(addressbook::FirmCardMode::New))
        return;
    const QString token = nextToken();
    const QString phone = QString::number(below(kPhoneDigits));
    card.firm().Nazev = QStringLiteral("Zkušební firma ") + token;
    card.firm().Poznamka = token;
    card.firm().Telefon = phone;
    changeContacts(card);
    noteIntent(token, "create", kFirms, 0);
    QElapsedTimer took;
    took.start();
    const bool saved = card.confirm() == catalogue::CardOutcome::Saved;
    noteEnd(saved, token, kFirms, saved ? card.savedId() : 0, took.elapsed(),
            firmValues(card, phone));
}

// A contact added, or the first one removed, now and then.
void Workstation::changeContacts(addressbook::FirmCard& card) {
    switch (below(3)) {
    case 0: {
        addressbook::Contact contact = card.newContact();
        contact.Prijmeni = QStringLiteral("Novák");
        contact.Jmeno = QStringLiteral("Jan");
        card.storeContact(std::nullopt, contact);
        break;
    }
    case 1:
        if (!card.contacts().empty())
            card.removeContact(0);
        break;
    default:
        break;
    }
}

QStringList Workstation::firmValues(const addressbook::FirmCard& card, const QString& phone) {
    return {kFirmPhone + QLatin1Char('=') + phone,
            kFirmContactCount + QLatin1Char('=') + QString::number(card.contacts().size())};
}

template <typename Delete> void Workstation::deleteRecord(const QString& table, Delete remove) {
    const auto id = randomId(table);
    if (!id)
        return;
    const QString token = nextToken();
    noteIntent(token, "delete", table, *id);
    QElapsedTimer took;
    took.start();
    remove(*id);
    noteDeletion(token, table, *id, took.elapsed());
}

void Workstation::deleteFirm() {
    deleteRecord(kFirms, [this](qint64 id) { addressbook::deleteFirms(agenda(), m_ui, {id}); });
}

// Catalogue items -------------------------------------------------------------------------------

void Workstation::editItem() {
    const auto id = randomId(kItems);
    if (!id)
        return;
    catalogue::ItemCard card(agenda(), m_ui);
    if (!card.open(catalogue::ItemCardMode::Edit, *id, 0, 0))
        return;
    if (!card.editable()) {
        noteLock("inuse", kItems, *id);
        return;
    }
    noteLock("take", kItems, *id);
    const QString token = nextToken();
    card.item().Poznamka = token;
    card.setNakCena(1.0 + below(kMaxPurchasePrice));
    think();
    noteIntent(token, "save", kItems, *id);
    QElapsedTimer took;
    took.start();
    const bool saved = card.confirm() == catalogue::CardOutcome::Saved;
    noteEnd(saved, token, kItems, *id, took.elapsed(),
            {kItemPurchasePrice + QLatin1Char('=') + amountValue(card.prices().NakCena)});
    noteLock("release", kItems, *id);
}

void Workstation::newItem() {
    const auto sheet = randomId(kSheets);
    if (!sheet)
        return;
    catalogue::ItemCard card(agenda(), m_ui);
    if (!card.open(catalogue::ItemCardMode::New, 0, *sheet, 0))
        return;
    const QString token = nextToken();
    card.item().Popis = QStringLiteral("Zkušební položka ") + token;
    card.item().Poznamka = token;
    card.setNakCena(1.0 + below(kMaxPurchasePrice));
    noteIntent(token, "create", kItems, 0);
    QElapsedTimer took;
    took.start();
    const bool saved = card.confirm() == catalogue::CardOutcome::Saved;
    noteEnd(saved, token, kItems, saved ? card.id() : 0, took.elapsed(),
            {kItemPurchasePrice + QLatin1Char('=') + amountValue(card.prices().NakCena)});
}

void Workstation::deleteItem() {
    deleteRecord(kItems, [this](qint64 id) { catalogue::deleteItem(agenda(), m_ui, id); });
}

// A repricing of one group's purchase prices, or the plain recomputation of the whole catalogue.
void Workstation::bulk() {
    const QString token = nextToken();
    const bool plain = below(2) == 0;
    const auto group = randomId(kGroups);
    noteIntent(token, "bulk", kItems, 0,
               plain ? QStringList{} : QStringList{kItemPurchasePrice + QLatin1Char('=')});
    QElapsedTimer took;
    took.start();
    catalogue::RepricingRun run(agenda(), m_ui, {});
    catalogue::RunEnd end = catalogue::RunEnd::Failed;
    if (plain || !group) {
        end = run.run({}, std::nullopt);
    } else {
        catalogue::RepricingSettings settings;
        settings.purchasePrice = {true, catalogue::ValueAction::Multiply,
                                  below(2) == 0 ? kRepriceUp : 1.0 / kRepriceUp};
        catalogue::RunSelection selection;
        selection.mode = catalogue::SelectionMode::MarkedGroups;
        selection.marked.groups = {*group};
        end = run.run(selection, settings);
    }
    noteEnd(end == catalogue::RunEnd::Finished, token, kItems, 0, took.elapsed());
}

// Look-ups --------------------------------------------------------------------------------------

QString Workstation::failureReason(const QString& table, qint64 id) {
    if (core::Database::lastFailureKindInProgram() == core::FailureKind::Busy)
        return QStringLiteral("busy");
    if (id != 0 && !exists(table, id))
        return QStringLiteral("gone");
    return QStringLiteral("failed");
}

bool Workstation::exists(const QString& table, qint64 id) {
    // The table is one of the soak's own names, never a value.
    return agenda()
        .scalar(QStringLiteral("SELECT ID FROM ") + table + QStringLiteral(" WHERE ID = :ID"),
                {{QStringLiteral("ID"), id}})
        .has_value();
}

std::vector<qint64> Workstation::ids(const QString& table) {
    std::vector<qint64> out;
    QSqlQuery q = agenda().select(QStringLiteral("SELECT ID FROM ") + table);
    while (q.next())
        out.push_back(q.value(0).toLongLong());
    return out;
}

std::optional<qint64> Workstation::randomId(const QString& table) {
    const std::vector<qint64> all = ids(table);
    if (all.empty())
        return std::nullopt;
    return all[static_cast<std::size_t>(below(static_cast<int>(all.size())))];
}

std::vector<qint64> Workstation::pickItems() {
    std::vector<qint64> picked;
    const int count = 1 + below(kMaxPickedItems);
    for (int i = 0; i < count; ++i)
        if (const auto id = randomId(kItems))
            picked.push_back(*id);
    return picked;
}

std::vector<qint64> Workstation::pickFirm() {
    if (const auto id = randomId(kFirms))
        return {*id};
    return {};
}

} // namespace

int runWorkstation(const WorkstationOptions& options) {
    Workstation workstation(options);
    if (!workstation.open())
        return 1;
    workstation.run();
    return 0;
}

} // namespace orvento::soak
