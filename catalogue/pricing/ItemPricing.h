#pragma once

#include "catalogue/pricing/PercentAdjustment.h"
#include "catalogue/pricing/Rounding.h"

namespace orvento::catalogue {

// The pricing columns of a catalogue item (`Zasoby`).
struct ItemPriceFields {
    double NakCena = 0.0;    // purchase price without VAT
    double PrCenaBDPH = 0.0; // basic sale price without VAT
    double PrCenaSDPH = 0.0; // basic sale price with VAT
    bool SDPH = false;       // the leading sale price is the one with VAT
    double SazbaDPH = 0.0;   // VAT rate in percent
    int Zaok = RoundingCode::FourDecimals;
    bool Prepocitat = false; // the sale price follows the purchase price
    int TypHodnoty = ItemValueType::Margin;
    double Marze = 0.0; // percent, used by the margin value type
    double Rabat = 0.0; // percent, used by the rabat value type

    bool operator==(const ItemPriceFields&) const = default;
};

// The pricing fields of one item as the item card holds them, and the rules by which they drive
// one another. The card calls a setter for each change the user makes; the silent recomputation
// of repricing and imports loads the row and calls recompute(). Both then write fields().
//
// Every amount is held as its field holds it: prices to four decimals, percentages to two. The
// leading sale price is never rounded by the rounding code, only the prices computed here are.
// After any change the caller recomputes the item's level prices from the new values.
class ItemPricing {
public:
    ItemPricing() = default;
    // Takes a stored row into the fields; nothing is recomputed.
    explicit ItemPricing(const ItemPriceFields& stored);

    const ItemPriceFields& fields() const { return m_fields; }
    double leadingPrice() const {
        return m_fields.SDPH ? m_fields.PrCenaSDPH : m_fields.PrCenaBDPH;
    }
    // What the purchase price and the net sale price actually give; shown, never stored.
    double actualMargin() const;
    double actualRabat() const;

    // Changes after which, when Prepocitat is on, the sale price pair is computed from the
    // purchase price again. Switching Prepocitat off changes no price.
    void setNakCena(double nakCena);
    void setMarze(double marze);
    void setRabat(double rabat);
    void setTypHodnoty(int typHodnoty);
    void setPrepocitat(bool prepocitat);

    // Changes after which the derived sale price follows the leading one again. A change of the
    // price type keeps the number of the leading price and reinterprets it in the new type.
    void setLeadingPrice(double price);
    void setSazbaDPH(double rate);
    void setZaok(int zaok);
    void setSDPH(bool sdph);

    // The full recomputation ("Znovu přepočítat", an unfinished item, repricing, import): the
    // pair from the purchase price when Prepocitat is on, then the derived price from the
    // leading one. With the price type with VAT the net price is derived again from the rounded
    // gross price, so it may differ from the net price the purchase price gave.
    void recompute();

private:
    void priceFromPurchase();
    void deriveFromLeading();
    void setPair(const PricePair& pair);

    ItemPriceFields m_fields;
};

} // namespace orvento::catalogue
