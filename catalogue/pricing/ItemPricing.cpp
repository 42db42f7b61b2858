#include "catalogue/pricing/ItemPricing.h"

#include "catalogue/pricing/FieldPrecision.h"

namespace orvento::catalogue {

namespace {

double priceField(double value) {
    return toFieldPrecision(value, PriceFieldDecimals);
}

double percentField(double value) {
    return toFieldPrecision(value, StandardFieldDecimals);
}

} // namespace

ItemPricing::ItemPricing(const ItemPriceFields& stored)
    : m_fields(stored) {
    m_fields.NakCena = priceField(stored.NakCena);
    m_fields.PrCenaBDPH = priceField(stored.PrCenaBDPH);
    m_fields.PrCenaSDPH = priceField(stored.PrCenaSDPH);
    m_fields.Marze = percentField(stored.Marze);
    m_fields.Rabat = percentField(stored.Rabat);
}

double ItemPricing::actualMargin() const {
    return catalogue::actualMargin(m_fields.NakCena, m_fields.PrCenaBDPH);
}

double ItemPricing::actualRabat() const {
    return catalogue::actualRabat(m_fields.NakCena, m_fields.PrCenaBDPH);
}

void ItemPricing::setNakCena(double nakCena) {
    m_fields.NakCena = priceField(nakCena);
    priceFromPurchase();
}

void ItemPricing::setMarze(double marze) {
    m_fields.Marze = percentField(marze);
    priceFromPurchase();
}

void ItemPricing::setRabat(double rabat) {
    m_fields.Rabat = percentField(rabat);
    priceFromPurchase();
}

void ItemPricing::setTypHodnoty(int typHodnoty) {
    m_fields.TypHodnoty = typHodnoty;
    priceFromPurchase();
}

void ItemPricing::setPrepocitat(bool prepocitat) {
    const bool switchedOn = prepocitat && !m_fields.Prepocitat;
    m_fields.Prepocitat = prepocitat;
    if (switchedOn) {
        priceFromPurchase();
    }
}

void ItemPricing::setLeadingPrice(double price) {
    (m_fields.SDPH ? m_fields.PrCenaSDPH : m_fields.PrCenaBDPH) = priceField(price);
    deriveFromLeading();
}

void ItemPricing::setSazbaDPH(double rate) {
    m_fields.SazbaDPH = rate;
    deriveFromLeading();
}

void ItemPricing::setZaok(int zaok) {
    m_fields.Zaok = zaok;
    deriveFromLeading();
}

void ItemPricing::setSDPH(bool sdph) {
    const double leading = leadingPrice();
    m_fields.SDPH = sdph;
    setLeadingPrice(leading);
}

void ItemPricing::recompute() {
    priceFromPurchase();
    deriveFromLeading();
}

// Only while the sale price follows the purchase price; otherwise the prices stay as typed.
void ItemPricing::priceFromPurchase() {
    if (!m_fields.Prepocitat) {
        return;
    }
    const double percent =
        m_fields.TypHodnoty == ItemValueType::Rabat ? m_fields.Rabat : m_fields.Marze;
    setPair(salePriceFromPurchase(m_fields.NakCena, m_fields.TypHodnoty, percent, m_fields.SazbaDPH,
                                  m_fields.Zaok));
}

void ItemPricing::deriveFromLeading() {
    setPair(pairFromLeading(leadingPrice(), m_fields.SDPH, m_fields.SazbaDPH, m_fields.Zaok));
}

void ItemPricing::setPair(const PricePair& pair) {
    m_fields.PrCenaBDPH = priceField(pair.net);
    m_fields.PrCenaSDPH = priceField(pair.gross);
}

} // namespace orvento::catalogue
