#include "offers/OfferBulkOperations.h"

#include "catalogue/ItemCard.h"
#include "catalogue/pricing/FieldPrecision.h"
#include "catalogue/pricing/PercentAdjustment.h"
#include "core/AgendaSettings.h"
#include "core/Database.h"
#include "core/ProgressScope.h"
#include "core/UserInteraction.h"
#include "offers/OfferItemLevels.h"
#include "offers/OfferItemPricing.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include <optional>

namespace orvento::offers {

using catalogue::toFieldPrecision;

namespace {

bool sameRate(double a, double b) {
    return core::formatRate(a) == core::formatRate(b);
}

struct FieldWords {
    QString noun;       // "slevy"
    QString accusative; // "slevu"
    QString dative;     // "slevě"
};

FieldWords wordsOf(BulkField field) {
    switch (field) {
    case BulkField::Discount:
        return {QStringLiteral("slevy"), QStringLiteral("slevu"), QStringLiteral("slevě")};
    case BulkField::Margin:
        return {QStringLiteral("marže"), QStringLiteral("marži"), QStringLiteral("marži")};
    case BulkField::Rabat:
        return {QStringLiteral("rabatu"), QStringLiteral("rabat"), QStringLiteral("rabatu")};
    case BulkField::VatRate:
        break;
    }
    return {QStringLiteral("% sazby DPH"), QString(), QString()};
}

double& valueOf(OfferItem& item, BulkField field) {
    switch (field) {
    case BulkField::Discount:
        return item.Sleva;
    case BulkField::Margin:
        return item.Marze;
    case BulkField::Rabat:
        return item.Rabat;
    case BulkField::VatRate:
        break;
    }
    return item.SazbaDPH;
}

RecomputeKind kindOf(BulkField field) {
    switch (field) {
    case BulkField::Discount:
        return RecomputeKind::Discount;
    case BulkField::Margin:
        return RecomputeKind::Margin;
    case BulkField::Rabat:
        return RecomputeKind::Rabat;
    case BulkField::VatRate:
        break;
    }
    return RecomputeKind::None;
}

QString problemHeading() {
    return QStringLiteral("Upozornění - nebylo možné aktualizovat tyto položky:");
}

QString itemRef(const OfferItem& item) {
    return QStringLiteral("• %1 (ID %2)").arg(item.Popis).arg(item.CisloKarty);
}

} // namespace

OfferBulkOperations::OfferBulkOperations(OfferWorkingCopy& offer, std::vector<bool> marks,
                                         core::UserInteraction& ui)
    : m_offer(offer)
    , m_marks(std::move(marks))
    , m_ui(ui) {
    m_marks.resize(m_offer.items().size(), false);
    m_markedCount = static_cast<int>(std::count(m_marks.begin(), m_marks.end(), true));
}

QString OfferBulkOperations::caption(BulkField field) {
    return QStringLiteral("Hromadné nastavení ") + wordsOf(field).noun;
}

QString OfferBulkOperations::valueLabel(BulkField field) {
    return QStringLiteral("Zadejte výši ") + wordsOf(field).noun;
}

QStringList OfferBulkOperations::modeCaptions(BulkField field) {
    if (field == BulkField::VatRate)
        return {};
    const FieldWords w = wordsOf(field);
    return {w.accusative + QStringLiteral(" nastavit na položky jednotně"),
            w.accusative + QStringLiteral(" připočíst ke stávající ") + w.dative +
                QStringLiteral(" na položkách"),
            QStringLiteral("vynulovat ") + w.accusative + QStringLiteral(" na položkách")};
}

QString OfferBulkOperations::legend() {
    return QStringLiteral(
        "Změna se týká pouze označených položek (označení je viditelné na levé straně seznamu; "
        "není-li označena žádná položka, týká se všech položek). Zamknuté položky se "
        "ignorují.");
}

int OfferBulkOperations::markedCount() const {
    return m_markedCount;
}

bool OfferBulkOperations::affected(std::size_t index) const {
    const OfferItem& item = m_offer.items()[index];
    if (!item.isPriceItem() || item.IgnorHr)
        return false;
    return m_markedCount == 0 || (index < m_marks.size() && m_marks[index]);
}

void OfferBulkOperations::finish() {
    m_offer.recomputeTotals();
    m_offer.changed = true;
}

BulkOutcome OfferBulkOperations::applyValue(BulkField field, BulkMode mode, double typed) {
    const double value = toFieldPrecision(typed);
    if (field == BulkField::VatRate) {
        const OfferRates rates = m_offer.rates();
        if (!sameRate(value, 0.0) && !sameRate(value, rates.basic) &&
            !sameRate(value, rates.reduced)) {
            m_ui.warning(
                QStringLiteral("Zadaná hodnota neodpovídá platným % DPH sazbám v nabídce."));
            return BulkOutcome::StayOpen;
        }
        mode = BulkMode::Set;
    }
    if (mode == BulkMode::Reset && (field == BulkField::Margin || field == BulkField::Rabat)) {
        const QString which =
            field == BulkField::Margin ? QStringLiteral("marže") : QStringLiteral("rabatu");
        if (!m_ui.question(QStringLiteral("Varování - vynulování %1 způsobí nastavení prodejních "
                                          "cen na hodnoty cen nákupních. Pokračovat ?")
                               .arg(which)))
            return BulkOutcome::Cancelled;
    }
    // A margin or rabat on an item without a purchase price would leave it without a sale
    // price, so such items are skipped and listed; a reset of the rabat, which the person has
    // confirmed knowing it sets sale prices to purchase prices, goes through on them too.
    const bool needsPurchase =
        field == BulkField::Margin || (field == BulkField::Rabat && mode != BulkMode::Reset);
    QStringList skipped;
    const bool anyMarked = markedCount() > 0;
    for (std::size_t i = 0; i < m_offer.items().size(); ++i) {
        const OfferItem& current = m_offer.items()[i];
        if (!current.isPriceItem() || current.IgnorHr ||
            (anyMarked && !(i < m_marks.size() && m_marks[i])))
            continue;
        if (needsPurchase && current.NakCena == 0.0) {
            skipped << QStringLiteral("• ") + current.Popis;
            continue;
        }
        OfferItem item = current;
        double& target = valueOf(item, field);
        switch (mode) {
        case BulkMode::Set:
            target = value;
            break;
        case BulkMode::Add:
            target = toFieldPrecision(target + value);
            break;
        case BulkMode::Reset:
            target = 0.0;
            break;
        }
        recomputeItem(item, kindOf(field));
        m_offer.replaceItem(i, std::move(item));
    }
    finish();
    if (!skipped.isEmpty())
        m_ui.showProblems(
            QStringLiteral("Upozornění: následující položky mají nulovou nákupní cenu - u těchto "
                           "položek nebyla marže (resp. rabat) nastavena, protože výsledkem by "
                           "byla nulová prodejní cena položky:"),
            skipped);
    return BulkOutcome::Done;
}

bool OfferBulkOperations::startDiscountToTotal() {
    if (m_offer.items().empty()) {
        m_ui.information(QStringLiteral("Přidejte nejprve do nabídky alespoň jednu položku."));
        return false;
    }
    return true;
}

bool OfferBulkOperations::rememberedBasisWithoutVat() {
    return services::profile::loadBool(services::profile::value::DiscountPriceType, true);
}

double OfferBulkOperations::currentTotal(bool withoutVat) const {
    return withoutVat ? m_offer.totals().totalNet : m_offer.totals().totalGross;
}

DiscountSearch OfferBulkOperations::confirmDiscountToTotal(double target, bool withoutVat) {
    services::profile::saveBool(services::profile::value::DiscountPriceType, withoutVat);
    return discountToTotal(target, withoutVat);
}

void OfferBulkOperations::setDiscountOnAffected(double discount) {
    for (std::size_t i = 0; i < m_offer.items().size(); ++i) {
        if (!affected(i))
            continue;
        OfferItem item = m_offer.items()[i];
        item.Sleva = discount;
        recomputeItem(item, RecomputeKind::Discount);
        m_offer.replaceItem(i, std::move(item));
    }
}

double OfferBulkOperations::basisTotal(bool withoutVat) const {
    long double sum = 0.0L;
    for (const OfferItem& item : m_offer.items())
        sum += withoutVat ? item.PCBDPHPOL : item.PCSDPHPOL;
    return toFieldPrecision(static_cast<double>(sum), catalogue::PriceFieldDecimals);
}

DiscountSearch OfferBulkOperations::discountToTotal(double typed, bool withoutVat) {
    DiscountSearch result;
    const double target = toFieldPrecision(typed, catalogue::PriceFieldDecimals);
    // The previous discounts go first, whatever follows.
    setDiscountOnAffected(0.0);
    long double fixedSum = 0.0L;
    long double variableSum = 0.0L;
    for (std::size_t i = 0; i < m_offer.items().size(); ++i) {
        const OfferItem& item = m_offer.items()[i];
        const double line = withoutVat ? item.PCBDPHPOL : item.PCSDPHPOL;
        (affected(i) ? variableSum : fixedSum) += line;
    }
    const double fixed = toFieldPrecision(static_cast<double>(fixedSum), 4);
    const double variable = toFieldPrecision(static_cast<double>(variableSum), 4);
    finish();
    result.total = basisTotal(withoutVat);
    if (variable == 0.0) {
        m_ui.warning(QStringLiteral("Výpočet není možné provést: součet cen položek (které mají "
                                    "být slevou ovlivněny) je nulový."));
        return result;
    }
    const double rest = toFieldPrecision(target - fixed, 4);
    if (!(rest > 0.0)) {
        m_ui.warning(QStringLiteral(
            "Výpočet není možné provést: požadovaná cena je nižší, než součet cen z položek, "
            "které nemají být slevou ovlivněny (tzn. neoznačené nebo zamknuté položky).\n\n"
            "Upozornění: na všech položkách, které měly vstoupit do výpočtu byla předchozí "
            "sleva vynulována."));
        return result;
    }
    // The discount kept to four decimals, ties to even, then to the two an item holds.
    const double exact =
        std::nearbyint(catalogue::discountPercent(variable, rest) * 10000.0) / 10000.0;
    double candidate = toFieldPrecision(exact);
    std::set<double> tried;
    double best = candidate;
    double bestError = 0.0;
    double applied = candidate;
    // Each item rounds its own prices, so the formula's discount may miss the target by a few
    // hundredths; a neighbouring discount is kept only when it comes strictly closer, and the
    // search ends when it would try a discount again or the steps run out.
    while (result.steps < kMaxSearchSteps && tried.insert(candidate).second) {
        setDiscountOnAffected(candidate);
        applied = candidate;
        ++result.steps;
        const double error = basisTotal(withoutVat) - target;
        if (result.steps == 1 || std::fabs(error) < std::fabs(bestError)) {
            best = candidate;
            bestError = error;
        }
        if (std::fabs(error) < 0.005)
            break;
        double next = toFieldPrecision(candidate + error * 100.0 / variable);
        if (next == candidate)
            next = toFieldPrecision(candidate + (error > 0 ? 0.01 : -0.01));
        candidate = next;
    }
    if (applied != best)
        setDiscountOnAffected(best);
    finish();
    result.reached = true;
    result.discount = best;
    result.total = basisTotal(withoutVat);
    return result;
}

QString OfferBulkOperations::marksBullet() const {
    const int marked = markedCount();
    if (marked > 0)
        return QStringLiteral("• funkce ovlivní pouze označené ceníkové položky v nabídce "
                              "(aktuální počet označených položek: %1), mimo uzamčených")
            .arg(marked);
    return QStringLiteral("• není označena žádná položka (označení je viditelné na levé straně "
                          "seznamu), funkce tedy ovlivní všechny ceníkové položky v nabídce, "
                          "mimo uzamčených");
}

bool OfferBulkOperations::askSetLevel(const QString& level) const {
    const QString levelBullet =
        level.isEmpty()
            ? QStringLiteral("• protože není zadána cenová hladina, bude na všechny ceníkové "
                             "položky dosazena zákl. prod. cena")
            : QStringLiteral("• na všechny ceníkové položky bude hromadně dosazena hladina \"%1\"")
                  .arg(level);
    return m_ui.question(QStringLiteral("• tato funkce zaktualizuje prodejní cenu na ceníkových "
                                        "položkách podle zadané cenové hladiny (vychází se ze "
                                        "současných cen v ceníku)\n\n") +
                         levelBullet + QStringLiteral("\n\n") + marksBullet() +
                         QStringLiteral("\n\n\nPokračovat ?"));
}

bool OfferBulkOperations::askRefresh() const {
    return m_ui.question(
        QStringLiteral("• tato funkce zaktualizuje všechny ceny (vč. nákupní) na ceníkových "
                       "položkách podle současného ceníku\n\n• budou zachovány stávající zkratky "
                       "cenových hladin na jednotlivých položkách a podle nich dopočítána "
                       "prodejní cena\n\n") +
        marksBullet() + QStringLiteral("\n\n\nPokračovat ?"));
}

void OfferBulkOperations::setLevel(core::Database& agenda, const QString& level, bool allItems) {
    updatePrices(agenda, level, allItems);
}

void OfferBulkOperations::refreshFromCatalogue(core::Database& agenda) {
    updatePrices(agenda, std::nullopt, false);
}

void OfferBulkOperations::updatePrices(core::Database& agenda, const std::optional<QString>& level,
                                       bool allItems) {
    const bool takePurchase = !level.has_value();
    const bool anyMarked = !allItems && markedCount() > 0;
    const catalogue::PriceGroupData groups =
        catalogue::PriceGroupData::load(agenda).value_or(catalogue::PriceGroupData{});
    const auto processed = [&](std::size_t i) {
        const OfferItem& item = m_offer.items()[i];
        return item.isPriceItem() && item.CisloKarty > 0 &&
               (!anyMarked || (i < m_marks.size() && m_marks[i]));
    };
    std::vector<qint64> ids;
    for (std::size_t i = 0; i < m_offer.items().size(); ++i)
        if (processed(i) && !m_offer.items()[i].IgnorHr)
            ids.push_back(m_offer.items()[i].CisloKarty);
    const std::map<qint64, catalogue::ItemRecord> rows = catalogue::readCatalogueRows(agenda, ids);
    QStringList problems;
    constexpr qint64 kWaitTextInterval = 100; // ms
    QElapsedTimer shownSince;
    std::optional<core::ProgressScope> wait;
    const QString waitText = QStringLiteral("Aktualizace cen, prosím čekejte...\n");
    for (std::size_t i = 0; i < m_offer.items().size(); ++i) {
        if (!processed(i))
            continue;
        const OfferItem& current = m_offer.items()[i];
        // The wait window repaints with each new text: the item shown changes a few times a
        // second, not once per item.
        if (!wait) {
            wait.emplace(m_ui, waitText + current.Popis, 0, false);
            shownSince.start();
        } else if (shownSince.elapsed() >= kWaitTextInterval) {
            wait->setText(waitText + current.Popis);
            shownSince.start();
        }
        m_ui.keepAlive();
        if (current.IgnorHr) {
            problems << itemRef(current) + QStringLiteral(" - položka je uzamčena");
            continue;
        }
        const auto found = rows.find(current.CisloKarty);
        if (found == rows.end()) {
            problems << itemRef(current) + QStringLiteral(" - položka v ceníku již neexistuje");
            continue;
        }
        const catalogue::ItemRecord& row = found->second;
        const QString code = level.value_or(current.CenHladina);
        const std::vector<ItemLevelChoice> levels = levelChoices(row, groups);
        const auto chosen = findLevel(levels, code);
        if (!chosen) {
            problems
                << itemRef(current) +
                       QStringLiteral(" - hladina \"%1\" na položce v ceníku neexistuje").arg(code);
            continue;
        }
        const ItemLevelChoice& choice = levels[*chosen];
        OfferItem item = current;
        item.SazbaDPH = row.price.SazbaDPH;
        item.ProdCena = choice.salePrice();
        item.SDPH = choice.SDPH;
        item.CenHladina = choice.code;
        if (takePurchase)
            item.NakCena = row.price.NakCena;
        recomputeItem(item, RecomputeKind::None);
        m_offer.replaceItem(i, std::move(item));
    }
    finish();
    wait.reset();
    if (!problems.isEmpty())
        m_ui.showProblems(problemHeading(), problems);
}

VatRatesView VatRatesView::of(const OfferWorkingCopy& offer, const OfferRates& current) {
    const OfferRates rates = offer.rates();
    return {rates.reduced, rates.basic, current.reduced, current.basic};
}

bool VatRatesView::differ() const {
    return !sameRate(offerReduced, currentReduced) || !sameRate(offerBasic, currentBasic);
}

QString VatRatesView::differenceNote() {
    return QStringLiteral("Upozornění: některá sazba DPH v této nabídce se liší od aktuální "
                          "hodnoty v nastavení programu. Chcete-li přepočítat nabídku podle "
                          "aktuálních hodnot, klepněte na [Nastavit aktuální].");
}

void setCurrentVatRates(OfferWorkingCopy& offer, const OfferRates& current) {
    const OfferRates former = offer.rates();
    offer.header().SazDPHSniz = current.reduced;
    offer.header().SazDPHZakl = current.basic;
    for (std::size_t i = 0; i < offer.items().size(); ++i) {
        if (!offer.items()[i].isPriceItem())
            continue;
        OfferItem item = offer.items()[i];
        if (sameRate(item.SazbaDPH, former.reduced))
            item.SazbaDPH = current.reduced;
        else if (sameRate(item.SazbaDPH, former.basic))
            item.SazbaDPH = current.basic;
        recomputeItem(item, RecomputeKind::None);
        offer.replaceItem(i, std::move(item));
    }
    offer.recomputeTotals();
    offer.changed = true;
}

} // namespace orvento::offers
