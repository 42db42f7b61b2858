#include "offers/TextItemCard.h"

#include "core/UserInteraction.h"

#include <algorithm>

namespace orvento::offers {

TextItemCard::TextItemCard(core::UserInteraction& ui, OfferWorkingCopy& offer)
    : m_ui(ui)
    , m_offer(offer) {}

void TextItemCard::openNew(bool title, std::optional<std::size_t> current) {
    m_title = title;
    m_index.reset();
    text.clear();
    note.clear();
    position = m_offer.proposedPosition(current);
}

bool TextItemCard::openExisting(std::size_t index, bool copy) {
    if (index >= m_offer.items().size() || m_offer.items()[index].isPriceItem())
        return false;
    const OfferItem& item = m_offer.items()[index];
    m_title = item.Nadpisova;
    text = item.Popis;
    note = item.Poznamka;
    if (copy) {
        m_index.reset();
        position = m_offer.proposedPosition(index);
    } else {
        m_index = index;
        position = item.Poradi;
    }
    return true;
}

QString TextItemCard::caption() const {
    return m_title ? QStringLiteral("Nadpis položek") : QStringLiteral("Textová položka");
}

QString TextItemCard::textLabel() const {
    return m_title ? QStringLiteral("Nadpis") : QStringLiteral("Popis položky");
}

bool TextItemCard::confirm() {
    if (text.trimmed().isEmpty()) {
        m_ui.information(QStringLiteral("Zadejte text do kolonky \"%1\".").arg(textLabel()));
        return false;
    }
    OfferItem item = m_title ? titleItem(text.left(50), note) : textItem(text.left(50), note);
    if (m_index) {
        item.LockID = m_offer.items()[*m_index].LockID;
        m_offer.replaceItem(*m_index, item);
        const int target = std::clamp(position, 1, static_cast<int>(m_offer.items().size()));
        m_offer.moveItem(*m_index, static_cast<std::size_t>(target - 1));
    } else {
        m_offer.insertItem(position, item);
    }
    m_offer.recomputeTotals();
    m_offer.changed = true;
    return true;
}

} // namespace orvento::offers
