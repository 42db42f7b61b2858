#pragma once

#include "offers/OfferTotals.h"
#include "offers/OfferWorkingCopy.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::offers {

// What a bulk dialog sets on the items, and how.
enum class BulkField { Discount, Margin, Rabat, VatRate };
enum class BulkMode { Set, Add, Reset };
// How a bulk dialog's OK ended: the dialog stays open for a value it refuses.
enum class BulkOutcome { StayOpen, Done, Cancelled };

// How the discount that brings the offer to a typed total ended.
struct DiscountSearch {
    bool reached = false;  // false: refused, the warning was shown
    double discount = 0.0; // what the affected items now carry
    double total = 0.0;    // the offer's total in the chosen basis afterwards
    int steps = 0;         // discounts tried
};

// The operations the offer card runs on many items of its working copy at once. `marks` are the
// marks of the item grid, by index; with none set every item is affected. Locked, title and text
// items are always left alone, except by the VAT-rate dialog. Each operation writes the changed
// value into an item, recomputes the item from it, then the offer's totals, and flags the offer
// as changed.
class OfferBulkOperations {
public:
    OfferBulkOperations(OfferWorkingCopy& offer, std::vector<bool> marks,
                        core::UserInteraction& ui);

    // The texts of the dialog for one field.
    static QString caption(BulkField field);
    static QString valueLabel(BulkField field);
    // Set, add and reset, in this order; none for the VAT rate, which always sets.
    static QStringList modeCaptions(BulkField field);
    static QString legend();

    bool affected(std::size_t index) const;
    int markedCount() const;

    // OK of the bulk dialog with the typed value.
    BulkOutcome applyValue(BulkField field, BulkMode mode, double value);

    // The discount that brings the offer to a typed total. start() is false after the message
    // when the offer has no items. The remembered basis (true: without VAT) and the prefilled
    // total of a basis; confirm() remembers the basis and runs the search.
    bool startDiscountToTotal();
    static bool rememberedBasisWithoutVat();
    double currentTotal(bool withoutVat) const;
    DiscountSearch confirmDiscountToTotal(double target, bool withoutVat);
    // The search itself: the discount of the stated formula first, then, within a bounded
    // number of steps, a neighbouring discount whenever the prices as each item rounds them
    // come closer to the target.
    DiscountSearch discountToTotal(double target, bool withoutVat);
    static constexpr int kMaxSearchSteps = 12;

    // The offer's level onto its catalogue items (empty: the basic sale price), after the
    // question; with `allItems` every catalogue item regardless of marks, without a question
    // (the offer card has asked its own).
    bool askSetLevel(const QString& level) const;
    void setLevel(core::Database& agenda, const QString& level, bool allItems);
    // Every price of the catalogue items (the purchase price too) from the catalogue as it is
    // now, each on its own level, after the question.
    bool askRefresh() const;
    void refreshFromCatalogue(core::Database& agenda);

private:
    void updatePrices(core::Database& agenda, const std::optional<QString>& level, bool allItems);
    void setDiscountOnAffected(double discount);
    double basisTotal(bool withoutVat) const;
    QString marksBullet() const;
    void finish();

    OfferWorkingCopy& m_offer;
    std::vector<bool> m_marks; // one per item, as the grid marks them when the run starts
    int m_markedCount = 0;
    core::UserInteraction& m_ui;
};

// The VAT-rate dialog (frmDPH): the offer's rates beside the agenda's current ones.
struct VatRatesView {
    double offerReduced = 0.0;
    double offerBasic = 0.0;
    double currentReduced = 0.0;
    double currentBasic = 0.0;

    static VatRatesView of(const OfferWorkingCopy& offer, const OfferRates& current);
    bool differ() const;
    static QString differenceNote();
};

// "Nastavit aktuální": the offer takes the agenda's current rates and every price item (locked
// ones too, marks ignored) moves from the former reduced or basic rate to the new one, judged
// by its rate before the change; then each of them is recomputed.
void setCurrentVatRates(OfferWorkingCopy& offer, const OfferRates& current);

} // namespace orvento::offers
