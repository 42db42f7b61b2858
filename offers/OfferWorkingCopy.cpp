#include "offers/OfferWorkingCopy.h"

#include "core/CzechCollation.h"
#include "core/UserInteraction.h"

#include <algorithm>

namespace orvento::offers {

QString automaticNumberText() {
    return QStringLiteral("<automaticky>");
}

void OfferWorkingCopy::insertItem(int position, OfferItem item) {
    const auto at =
        static_cast<std::size_t>(std::clamp(position - 1, 0, static_cast<int>(m_items.size())));
    giveKey(item);
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
    renumber();
    changed = true;
}

void OfferWorkingCopy::insertItems(int position, std::vector<OfferItem> items) {
    if (items.empty())
        return;
    const auto at =
        static_cast<std::size_t>(std::clamp(position - 1, 0, static_cast<int>(m_items.size())));
    for (OfferItem& item : items)
        giveKey(item);
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(at),
                   std::make_move_iterator(items.begin()), std::make_move_iterator(items.end()));
    renumber();
    changed = true;
}

void OfferWorkingCopy::replaceItem(std::size_t index, OfferItem item) {
    if (index >= m_items.size())
        return;
    item.Poradi = m_items[index].Poradi;
    item.RowKey = m_items[index].RowKey;
    item.NakCenaPol = item.NakCena * item.PocetMJ;
    m_items[index] = std::move(item);
    recomputeTotals();
    changed = true;
}

void OfferWorkingCopy::removeItem(std::size_t index) {
    if (index >= m_items.size())
        return;
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index));
    renumber();
    changed = true;
}

void OfferWorkingCopy::moveItem(std::size_t from, std::size_t to) {
    if (from >= m_items.size() || to >= m_items.size() || from == to)
        return;
    OfferItem item = std::move(m_items[from]);
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(from));
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(to), std::move(item));
    renumber();
    changed = true;
}

void OfferWorkingCopy::sortItems(
    const std::function<bool(const OfferItem&, const OfferItem&)>& before) {
    std::stable_sort(m_items.begin(), m_items.end(), before);
    renumber();
    changed = true;
}

void OfferWorkingCopy::setItems(std::vector<OfferItem> items) {
    m_items = std::move(items);
    std::stable_sort(m_items.begin(), m_items.end(),
                     [](const OfferItem& a, const OfferItem& b) { return a.Poradi < b.Poradi; });
    for (OfferItem& item : m_items) {
        item.NakCenaPol = item.NakCena * item.PocetMJ;
        if (item.RowKey == 0)
            giveKey(item);
    }
    recomputeTotals();
}

int OfferWorkingCopy::proposedPosition(std::optional<std::size_t> current) const {
    if (m_items.empty() || !current || *current >= m_items.size())
        return static_cast<int>(m_items.size()) + 1;
    return m_items[*current].Poradi + 1;
}

int OfferWorkingCopy::titleCount() const {
    return static_cast<int>(std::count_if(m_items.begin(), m_items.end(),
                                          [](const OfferItem& i) { return i.Nadpisova; }));
}

void OfferWorkingCopy::addDocument(OfferDocument document) {
    m_documents.push_back(std::move(document));
    changed = true;
}

void OfferWorkingCopy::removeDocument(std::size_t index) {
    if (index >= m_documents.size())
        return;
    m_documents.erase(m_documents.begin() + static_cast<std::ptrdiff_t>(index));
    changed = true;
}

void OfferWorkingCopy::sortDocuments() {
    std::stable_sort(m_documents.begin(), m_documents.end(),
                     [](const OfferDocument& a, const OfferDocument& b) {
                         return core::compareCzech(a.Popis, b.Popis) < 0;
                     });
}

void OfferWorkingCopy::renumber() {
    int poradi = 1;
    for (OfferItem& item : m_items) {
        item.Poradi = poradi++;
        item.NakCenaPol = item.NakCena * item.PocetMJ;
    }
    recomputeTotals();
}

void OfferWorkingCopy::recomputeTotals() {
    m_totals = computeTotals(m_items, rates());
    m_header.Celkem = m_totals.celkem;
    m_header.CelkemBDPH = m_totals.celkemBDPH;
    m_header.Zisk = m_totals.zisk;
    m_header.CelkemNC = m_totals.celkemNC;
}

QString OfferWorkingCopy::numberText() const {
    return m_automaticNumber ? automaticNumberText() : m_header.Doklad;
}

void OfferWorkingCopy::setAutomaticNumber(bool automatic) {
    m_automaticNumber = automatic;
    m_numberEditable = !automatic && m_numberEditable;
}

void OfferWorkingCopy::markSaved() {
    m_mode = OfferMode::Existing;
    m_automaticNumber = false;
    m_numberEditable = false;
    changed = false;
}

bool OfferWorkingCopy::cancelNumber(core::UserInteraction& ui) {
    if (isNew()) {
        if (m_automaticNumber &&
            !ui.question(QStringLiteral("Opravdu chcete zrušit automatické číslo dokladu ?")))
            return false;
        m_automaticNumber = false;
        m_numberEditable = true;
        m_header.Doklad.clear();
        changed = true;
        return true;
    }
    if (!ui.question(QStringLiteral("Opravdu chcete přepsat číslo dokladu ?")))
        return false;
    m_numberEditable = true;
    return true;
}

} // namespace orvento::offers
