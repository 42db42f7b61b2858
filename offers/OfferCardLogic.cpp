#include "offers/OfferCardLogic.h"

#include "catalogue/ItemRecord.h"
#include "core/AmountFormat.h"
#include "core/AppContext.h"
#include "core/CzechCollation.h"
#include "core/Database.h"
#include "core/PersonName.h"
#include "core/ProgramState.h"
#include "core/RtfCodec.h"
#include "core/UserInteraction.h"
#include "offers/OfferBulkOperations.h"
#include "offers/OfferItemCard.h"
#include "offers/OfferTemplateRecords.h"
#include "offers/SharedDocuments.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"
#include "services/PurchasePriceDisplay.h"
#include "services/RecordRefresh.h"

#include <QSqlQuery>

#include <algorithm>
#include <unordered_set>
#include <utility>

namespace orvento::offers {

namespace {

OfferMode storeMode(core::OfferCardMode mode) {
    switch (mode) {
    case core::OfferCardMode::Existing:
        return OfferMode::Existing;
    case core::OfferCardMode::Copy:
        return OfferMode::Copy;
    case core::OfferCardMode::New:
        break;
    }
    return OfferMode::New;
}

QString levelChangeIntro() {
    return QStringLiteral(
        "• tato funkce zaktualizuje prodejní cenu na všech ceníkových položkách "
        "podle zadané cenové hladiny (vychází se ze současných cen v ceníku)\r\r");
}

// `AdrKontakt` holds at most this much of the name.
constexpr int kContactWidth = 85;

QString allItemsBullet() {
    return QStringLiteral("• změna se dotkne VŠECH ceníkových položek (mimo uzamčených), bez "
                          "ohledu na označení");
}

// The firm's first primary contact, as offers name it.
QString contactPerson(core::Database& db, qint64 firmId) {
    QSqlQuery q = db.select(QStringLiteral("SELECT TitulPred, Prijmeni, Jmeno, TitulZa FROM "
                                           "Kontakty WHERE CisloAdr = :CisloAdr AND Zobrazit <> 0 "
                                           "ORDER BY ID"),
                            {{QStringLiteral("CisloAdr"), firmId}});
    if (!q.next())
        return {};
    return core::contactPersonName(q.value(0).toString(), q.value(1).toString(),
                                   q.value(2).toString(), q.value(3).toString())
        .left(kContactWidth);
}

} // namespace

OfferCardLogic::OfferCardLogic(core::AppContext& context, OpenedOffer opened,
                               OfferItemEditor& editor)
    : m_context(context)
    , m_db(context.db().agenda)
    , m_opened(std::move(opened))
    , m_editor(editor) {
    m_opened.copy.recomputeTotals();
    syncMarks();
    if (!m_opened.copy.items().empty())
        m_current = 0;
}

std::optional<OpenedOffer> OfferCardLogic::open(core::AppContext& context, core::OfferCardMode mode,
                                                qint64 offerId) {
    OfferStore store(context.db().agenda);
    std::optional<qint64> id;
    if (mode != core::OfferCardMode::New)
        id = offerId;
    return store.open(storeMode(mode), id, context.ui());
}

void OfferCardLogic::editHeader(const std::function<void(OfferHeader&)>& edit) {
    edit(m_opened.copy.header());
    setChanged();
}

QString OfferCardLogic::customerHint() const {
    return addressLinked() ? QStringLiteral("Výběr jiné firmy z adresáře (Alt+A)")
                           : QStringLiteral("Výběr firmy z adresáře (Alt+A)");
}

QString OfferCardLogic::shownLevel() const {
    return effectiveLevel(m_opened.copy);
}

void OfferCardLogic::setCurrent(std::optional<std::size_t> index) {
    if (index && *index >= m_opened.copy.items().size())
        index.reset();
    m_current = index;
}

void OfferCardLogic::syncMarks() {
    // The marks follow their items wherever they moved; a deleted item's mark goes with it.
    const std::vector<OfferItem>& items = m_opened.copy.items();
    std::unordered_set<quint64> present;
    m_marks.assign(items.size(), false);
    for (std::size_t i = 0; i < items.size(); ++i) {
        present.insert(items[i].RowKey);
        m_marks[i] = m_markedKeys.contains(items[i].RowKey);
    }
    std::erase_if(m_markedKeys, [&present](quint64 key) { return !present.contains(key); });
}

void OfferCardLogic::afterItemsChanged() {
    OfferWorkingCopy& copy = m_opened.copy;
    copy.recomputeTotals();
    copy.changed = true;
    syncMarks();
    if (copy.items().empty())
        m_current.reset();
    else if (!m_current || *m_current >= copy.items().size())
        m_current = copy.items().size() - 1;
}

bool OfferCardLogic::sumOfMarksShown() {
    return services::profile::loadBool(services::profile::value::OfferSumOfMarks, false);
}

void OfferCardLogic::rememberSumOfMarks(bool shown) {
    services::profile::saveBool(services::profile::value::OfferSumOfMarks, shown);
}

void OfferCardLogic::itemsChanged() {
    afterItemsChanged();
}

void OfferCardLogic::setShownLevelOnItems() {
    OfferBulkOperations operations(m_opened.copy, m_marks, m_context.ui());
    const QString level = shownLevel();
    if (!operations.askSetLevel(level))
        return;
    operations.setLevel(m_db, level, false);
    afterItemsChanged();
}

void OfferCardLogic::refreshPricesFromCatalogue() {
    OfferBulkOperations operations(m_opened.copy, m_marks, m_context.ui());
    if (!operations.askRefresh())
        return;
    operations.refreshFromCatalogue(m_db);
    afterItemsChanged();
}

void OfferCardLogic::afterAdding(int position) {
    afterItemsChanged();
    // The new item becomes the current one, so the next lands after it.
    const std::size_t count = m_opened.copy.items().size();
    m_current = std::min(static_cast<std::size_t>(std::max(0, position - 1)), count - 1);
}

void OfferCardLogic::addFreeItem() {
    const int position = m_opened.copy.proposedPosition(m_current);
    if (m_editor.editNew(m_opened.copy, m_current))
        afterAdding(position);
}

void OfferCardLogic::addTextItem(bool title) {
    const int position = m_opened.copy.proposedPosition(m_current);
    if (m_editor.editNewText(m_opened.copy, title, m_current))
        afterAdding(position);
}

void OfferCardLogic::editCurrent() {
    if (!m_current)
        return;
    const OfferItem& item = m_opened.copy.items()[*m_current];
    const bool done = item.isPriceItem()
                          ? m_editor.editExisting(m_opened.copy, *m_current, false)
                          : m_editor.editExistingText(m_opened.copy, *m_current, false);
    if (done)
        afterItemsChanged();
}

void OfferCardLogic::copyCurrent() {
    if (!m_current)
        return;
    const OfferItem& item = m_opened.copy.items()[*m_current];
    const int position = m_opened.copy.proposedPosition(m_current);
    const bool done = item.isPriceItem()
                          ? m_editor.editExisting(m_opened.copy, *m_current, true)
                          : m_editor.editExistingText(m_opened.copy, *m_current, true);
    if (done)
        afterAdding(position);
}

void OfferCardLogic::removeCurrent() {
    if (!m_current)
        return;
    const std::size_t index = *m_current;
    m_opened.copy.removeItem(index);
    if (index >= m_opened.copy.items().size() && index > 0)
        m_current = index - 1;
    afterItemsChanged();
}

void OfferCardLogic::moveCurrent(bool up) {
    if (!m_current)
        return;
    const std::size_t from = *m_current;
    if ((up && from == 0) || (!up && from + 1 >= m_opened.copy.items().size()))
        return;
    const std::size_t to = up ? from - 1 : from + 1;
    m_opened.copy.moveItem(from, to);
    m_current = to;
    afterItemsChanged();
}

std::optional<ItemSortColumn> OfferCardLogic::sortColumnOf(const QString& field) {
    if (field == QLatin1String("Popis"))
        return ItemSortColumn::Popis;
    if (field == QLatin1String("Katalog"))
        return ItemSortColumn::Katalog;
    if (field == QLatin1String("Poradi"))
        return ItemSortColumn::Poradi;
    return std::nullopt;
}

bool OfferCardLogic::sortBy(ItemSortColumn column) {
    if (m_opened.copy.titleCount() > 0 &&
        !m_context.ui().question(
            QStringLiteral("Doklad obsahuje tzv. nadpisové položky, novým setříděním sloupce "
                           "pravděpodobně dojde ke ztátě pozic pořadí těchto položek. Opravdu "
                           "chcete položky setřídit podle zvoleného sloupce?")))
        return false;
    switch (column) {
    case ItemSortColumn::Popis:
        m_opened.copy.sortItems([](const OfferItem& a, const OfferItem& b) {
            return core::compareCzech(a.Popis, b.Popis) < 0;
        });
        break;
    case ItemSortColumn::Katalog:
        m_opened.copy.sortItems([](const OfferItem& a, const OfferItem& b) {
            return core::compareCzech(a.Katalog, b.Katalog) < 0;
        });
        break;
    case ItemSortColumn::Poradi:
        m_opened.copy.sortItems(
            [](const OfferItem& a, const OfferItem& b) { return a.Poradi < b.Poradi; });
        break;
    }
    afterItemsChanged();
    return true;
}

void OfferCardLogic::setMark(std::size_t index, bool marked) {
    const std::vector<OfferItem>& items = m_opened.copy.items();
    if (index >= items.size())
        return;
    if (marked)
        m_markedKeys.insert(items[index].RowKey);
    else
        m_markedKeys.erase(items[index].RowKey);
    syncMarks();
}

void OfferCardLogic::markAll(bool marked) {
    m_markedKeys.clear();
    if (marked)
        for (const OfferItem& item : m_opened.copy.items())
            m_markedKeys.insert(item.RowKey);
    syncMarks();
}

void OfferCardLogic::markOnly(const std::vector<std::size_t>& indices) {
    const std::vector<OfferItem>& items = m_opened.copy.items();
    m_markedKeys.clear();
    for (const std::size_t i : indices)
        if (i < items.size())
            m_markedKeys.insert(items[i].RowKey);
    syncMarks();
}

int OfferCardLogic::markedCount() const {
    return static_cast<int>(std::count(m_marks.begin(), m_marks.end(), true));
}

QString OfferCardLogic::marksLabel() const {
    const int marked = markedCount();
    if (marked == 0)
        return {};
    return QStringLiteral(" Označeno %1 z %2 ").arg(marked).arg(itemCount());
}

void OfferCardLogic::setLocks(bool locked, bool allWhenNoneMarked) {
    std::vector<OfferItem> items = m_opened.copy.items();
    const bool anyMarked = markedCount() > 0;
    bool any = false;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const bool affected =
            anyMarked ? m_marks[i] : (allWhenNoneMarked || (m_current && *m_current == i));
        if (!affected || items[i].IgnorHr == locked)
            continue;
        OfferItem item = items[i];
        item.IgnorHr = locked;
        m_opened.copy.replaceItem(i, std::move(item));
        any = true;
    }
    if (any)
        afterItemsChanged();
}

// Catalogue items ------------------------------------------------------------------------------

void OfferCardLogic::addCatalogueItems() {
    // Items left marked in the catalogue at an earlier visit come in without showing it again.
    if (!m_leftMarked.empty()) {
        addMarkedCatalogueItems(std::exchange(m_leftMarked, {}));
        return;
    }
    pickNextCatalogueItem();
}

void OfferCardLogic::pickNextCatalogueItem() {
    if (m_catalogue)
        m_catalogue->onAnswer(nullptr);
    m_catalogue = m_context.navigator().pickCatalogueItems();
    // A modal catalogue has answered already; one that stays open answers later.
    m_catalogue->onAnswer(
        [this](const core::NavigationResult& result) { takeCatalogueAnswer(result); });
}

void OfferCardLogic::takeCatalogueAnswer(const core::NavigationResult& result) {
    if (result.status == core::NavigationStatus::Cancelled) {
        if (result.marked)
            m_leftMarked = result.ids;
        return;
    }
    if (result.status != core::NavigationStatus::Done || result.ids.empty())
        return;
    if (!result.marked && result.ids.size() == 1) {
        addOneCatalogueItem(result.ids.front(), true);
        // The catalogue comes back for the next pick whether the card was confirmed or not.
        pickNextCatalogueItem();
        return;
    }
    addMarkedCatalogueItems(result.ids);
}

void OfferCardLogic::addMarkedCatalogueItems(const std::vector<qint64>& ids) {
    // Each after the one added before it, so they stand in the offer as in the catalogue; with
    // the profile's bulk switch without the item card, even when only one is marked.
    const bool withCard = !core::programState().settings.profil.hromadneVkladani;
    for (const qint64 id : ids)
        addOneCatalogueItem(id, withCard);
}

bool OfferCardLogic::addOneCatalogueItem(qint64 id, bool withCard) {
    const auto row = catalogue::readItem(m_db, id);
    if (!row) {
        m_context.ui().warning(services::recordGoneMessage());
        return false;
    }
    if (row->Chyba) {
        m_context.ui().warning(unfinishedItemMessage());
        return false;
    }
    const int position = m_opened.copy.proposedPosition(m_current);
    bool added = false;
    if (withCard) {
        added = m_editor.editFromCatalogue(m_opened.copy, id, m_current);
    } else {
        OfferItemCard card(m_db, m_context.ui(), m_opened.copy, currentAgendaRates());
        card.openFromCatalogue(*row, m_current);
        added = card.confirm();
    }
    if (!added)
        return false;
    afterAdding(position);
    return true;
}

// Customer and price level ---------------------------------------------------------------------

bool OfferCardLogic::chooseTemplate() {
    const auto pending = m_context.navigator().pickOfferTemplate();
    if (!pending->answered())
        return false;
    const core::NavigationResult& result = pending->result();
    if (result.status != core::NavigationStatus::Done || result.ids.empty())
        return false;
    return useTemplate(result.ids.front());
}

bool OfferCardLogic::useTemplate(qint64 templateId) {
    core::UserInteraction& ui = m_context.ui();
    const auto chosen = templateById(m_db, templateId);
    if (!chosen) {
        ui.warning(services::recordGoneMessage());
        return false;
    }
    const OfferHeader& h = m_opened.copy.header();
    const bool textsEmpty = core::rtf::plainText(h.TextPred).trimmed().isEmpty() &&
                            core::rtf::plainText(h.TextZa).trimmed().isEmpty();
    if (!textsEmpty && !m_templateSettled) {
        m_templateSettled = true;
        if (!ui.question(templateQuestion()))
            return false;
    }
    m_templateSettled = true;
    editHeader([&chosen](OfferHeader& header) { applyTemplate(*chosen, header); });
    return true;
}

void OfferCardLogic::chooseCustomer() {
    core::UserInteraction& ui = m_context.ui();
    OfferWorkingCopy& copy = m_opened.copy;
    // The address book opens on the address the offer had, so that a neighbour is near at hand.
    std::optional<qint64> previous;
    if (addressLinked()) {
        if (!ui.question(QStringLiteral("Opravdu chcete zrušit stávající adresu na dokladu a "
                                        "vybrat jinou ?")))
            return;
        OfferHeader& h = copy.header();
        previous = h.AdrCislo;
        h.AdrCislo = 0;
        for (QString* field : {&h.AdrNazev, &h.AdrUlice, &h.AdrPsc, &h.AdrMisto, &h.AdrICO,
                               &h.AdrDIC, &h.AdrKontakt})
            field->clear();
        copy.addressPriceLevel.reset();
        setChanged();
    }
    const auto pending = m_context.navigator().pickFirm(previous);
    if (!pending->answered())
        return;
    const core::NavigationResult& result = pending->result();
    if (result.status != core::NavigationStatus::Done || result.ids.empty())
        return;
    linkFirm(result.ids.front());
}

void OfferCardLogic::linkFirm(qint64 firmId) {
    core::UserInteraction& ui = m_context.ui();
    OfferWorkingCopy& copy = m_opened.copy;
    QSqlQuery row = m_db.select(QStringLiteral("SELECT * FROM Adresar WHERE ID = :ID"),
                                {{QStringLiteral("ID"), firmId}});
    if (!row.next()) {
        ui.warning(QStringLiteral("Vybraná firma již v adresáři neexistuje."));
        return;
    }
    const auto text = [&row](const char* column) {
        return row.value(QString::fromLatin1(column)).toString();
    };
    const QString name = text("Nazev");
    const QString note = text("Zprava").trimmed();
    const QString firmLevel = text("CenHladina");
    OfferHeader& h = copy.header();
    h.AdrCislo = firmId;
    h.AdrNazev = name;
    h.AdrUlice = text("Ulice");
    h.AdrPsc = text("Psc");
    h.AdrMisto = text("Misto");
    h.AdrICO = text("ICO");
    h.AdrDIC = text("DIC");
    h.AdrKontakt = contactPerson(m_db, firmId);
    copy.addressPriceLevel = firmLevel;
    setChanged();

    if (!note.isEmpty())
        ui.information(name + QStringLiteral("\r\r") + note);
    if (h.CenHladAdr && !copy.items().empty()) {
        const QString& level = firmLevel;
        if (ui.question(QStringLiteral("Došlo ke změně adresy, mohla se tedy změnit i cenová "
                                       "hladina dokladu - chcete promítnout nastavenou cenovou "
                                       "hladinu do položek ?\r\r") +
                        levelChangeIntro() + levelBullet(level) + QStringLiteral("\r\r") +
                        allItemsBullet() +
                        QStringLiteral("\r\r\rChcete tyto změny nyní provést ?")))
            applyLevelToItems(level);
    }
}

QString OfferCardLogic::levelBullet(const QString& level) const {
    if (level.isEmpty())
        return QStringLiteral("• protože není zadána cenová hladina, bude na všechny ceníkové "
                              "položky dosazena zákl. prod. cena");
    return QStringLiteral("• na všechny ceníkové položky bude hromadně dosazena hladina \"") +
           level + QStringLiteral("\"");
}

bool OfferCardLogic::askLevelChange(const QString& level, const QString& ending) {
    return m_context.ui().question(
        QStringLiteral("Chcete promítnout změnu cenové hladiny do položek ?\r\r") +
        levelChangeIntro() + levelBullet(level) + QStringLiteral("\r\r") + allItemsBullet() +
        QStringLiteral("\r\r\r") + ending);
}

void OfferCardLogic::applyLevelToItems(const QString& level) {
    OfferBulkOperations bulk(m_opened.copy, {}, m_context.ui());
    bulk.setLevel(m_db, level, true);
    afterItemsChanged();
}

void OfferCardLogic::pickOwnLevel() {
    const auto pending = m_context.navigator().pickPriceLevel(m_opened.copy.header().CenHladina);
    if (pending->answered() && pending->result().status == core::NavigationStatus::Done)
        chooseOwnLevel(pending->result().code);
}

void OfferCardLogic::chooseOwnLevel(const QString& level) {
    OfferHeader& h = m_opened.copy.header();
    if (h.CenHladAdr)
        return;
    h.CenHladina = level;
    setChanged();
    if (askLevelChange(level, QStringLiteral("Pokračovat ?")))
        applyLevelToItems(level);
}

void OfferCardLogic::clearOwnLevel() {
    OfferHeader& h = m_opened.copy.header();
    if (h.CenHladAdr)
        return;
    h.CenHladina.clear();
    setChanged();
    if (m_context.ui().question(
            QStringLiteral("Chcete na všechny ceníkové položky dosadit základní prodejní cenu z "
                           "ceníku ? Změna se dotkne VŠECH ceníkových položek (mimo uzamčených), "
                           "bez ohledu na označení.\r\r\rPokračovat ?")))
        applyLevelToItems(QString());
}

void OfferCardLogic::setLevelFromAddress(bool fromAddress) {
    OfferHeader& h = m_opened.copy.header();
    if (h.CenHladAdr == fromAddress)
        return;
    const QString before = shownLevel();
    h.CenHladAdr = fromAddress;
    setChanged();
    const QString after = shownLevel();
    if (after != before && askLevelChange(after, QStringLiteral("Pokračovat ?")))
        applyLevelToItems(after);
}

// Documents, history, purchase prices ----------------------------------------------------------

QString OfferCardLogic::documentsFolder() const {
    const auto id = m_opened.copy.offerId();
    return id && !m_opened.copy.isNew() ? core::programState().offerDocumentsFolder(*id)
                                        : QString();
}

bool OfferCardLogic::acceptLink(const QString& link, bool copyToShared) const {
    return services::acceptDocumentLink(link, expandLink(link.trimmed(), documentsFolder()),
                                        copyToShared, m_context.ui());
}

void OfferCardLogic::storeDocument(std::optional<std::size_t> index, const QString& description,
                                   const QString& file, bool copyToShared) {
    auto& documents = m_opened.copy.documents();
    if (index && *index < documents.size()) {
        documents[*index].Popis = description.left(50);
        documents[*index].File = file.trimmed();
    } else {
        OfferDocument document;
        document.Popis = description.left(50);
        document.File = file.trimmed();
        document.CopyFile = copyToShared;
        m_opened.copy.addDocument(std::move(document));
    }
    setChanged();
}

void OfferCardLogic::removeDocument(std::size_t index) {
    if (index >= m_opened.copy.documents().size() ||
        !m_context.ui().question(QStringLiteral("Opravdu chcete vyjmout označený odkaz ?")))
        return;
    m_opened.copy.removeDocument(index);
    setChanged();
}

QString OfferCardLogic::documentPath(std::size_t index) const {
    const auto& documents = m_opened.copy.documents();
    return index < documents.size() ? expandLink(documents[index].File, documentsFolder())
                                    : QString();
}

void OfferCardLogic::sortDocuments() {
    m_opened.copy.sortDocuments();
}

std::optional<std::size_t> OfferCardLogic::findDocument(const QString& text) const {
    if (text.isEmpty())
        return std::nullopt;
    const auto& documents = m_opened.copy.documents();
    for (std::size_t i = 0; i < documents.size(); ++i)
        if (core::findIgnoringCase(documents[i].Popis, text) == 1)
            return i;
    return std::nullopt;
}

void OfferCardLogic::showHistory() {
    const auto id = m_opened.copy.offerId();
    if (m_opened.copy.isNew() || !id) {
        m_context.ui().information(
            QStringLiteral("Historie akcí je k dispozici až po uložení nabídky."));
        return;
    }
    m_context.navigator().showOfferHistory(*id);
}

void OfferCardLogic::togglePurchasePrices() {
    services::togglePurchasePriceDisplay(m_context);
}

bool OfferCardLogic::purchasePricesVisible() const {
    return core::programState().purchasePricesVisible();
}

const QStringList& OfferCardLogic::purchasePriceFields() {
    static const QStringList fields = {QStringLiteral("Marze"),   QStringLiteral("Rabat"),
                                       QStringLiteral("NakCena"), QStringLiteral("NakCenaPol"),
                                       QStringLiteral("ZiskMJ"),  QStringLiteral("ZiskPol")};
    return fields;
}

QString OfferCardLogic::totalText(double amount) {
    return core::formatAmount(amount) + QLatin1Char(' ') + core::programState().settings.symbolMeny;
}

// Confirm and leave ----------------------------------------------------------------------------

bool OfferCardLogic::confirm() {
    core::UserInteraction& ui = m_context.ui();
    OfferWorkingCopy& copy = m_opened.copy;
    if (copy.readOnly)
        return false;
    if (copy.numberText().trimmed().isEmpty()) {
        ui.information(QStringLiteral("Musíte vyplnit číslo dokladu."));
        return false;
    }
    OfferHeader& h = copy.header();
    if (copy.isNew() && !h.AdrNazev.trimmed().isEmpty() && h.AdrCislo == 0 &&
        !ui.question(QStringLiteral("Zadaná adresa nemá vazbu na adresář firem (doporučení: "
                                    "pokud je to možné, vybírejte adresu z adresáře). Opravdu "
                                    "chcete pokračovat ?")))
        return false;
    if (settlementEnabled(h.IDStav)) {
        if (!h.DatVyrizeni.isValid()) {
            if (!ui.question(QStringLiteral("Není vyplněný datum vyřízeni (zamítnutí). Chcete "
                                            "dosadit dnešní datum ?")))
                return false;
            h.DatVyrizeni = QDateTime(QDate::currentDate(), QTime());
        }
    } else {
        h.DatVyrizeni = QDateTime();
    }
    copy.recomputeTotals();
    if (!m_opened.lock.stillHeldForSave(ui)) {
        copy.readOnly = true;
        return false;
    }
    OfferStore store(m_db);
    if (!store.save(copy, ui))
        return false;
    m_savedId = copy.offerId();
    copy.changed = false;
    return true;
}

bool OfferCardLogic::mayLeave() {
    if (!m_opened.copy.changed || !core::programState().settings.profil.dotazPriOpusteni)
        return true;
    return m_context.ui().question(leaveQuestion());
}

} // namespace orvento::offers
