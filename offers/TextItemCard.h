#pragma once

#include "offers/OfferWorkingCopy.h"

#include <QString>

#include <optional>

namespace orvento::core {
class UserInteraction;
}

namespace orvento::offers {

// The small card of a title or text item (frmNadpisovaPol): its text, its note and its position.
class TextItemCard {
public:
    TextItemCard(core::UserInteraction& ui, OfferWorkingCopy& offer);

    // A new title or text item after the item at `current`.
    void openNew(bool title, std::optional<std::size_t> current);
    // The title or text item at `index`, or a copy of it added after it; false when the item
    // there is a price item.
    bool openExisting(std::size_t index, bool copy);

    bool title() const { return m_title; }
    QString caption() const;
    QString textLabel() const;

    QString text;
    QString note;
    int position = 1;

    // OK: the text must not be empty; then the item goes into the working copy. False when the
    // card stays open.
    bool confirm();

private:
    core::UserInteraction& m_ui;
    OfferWorkingCopy& m_offer;
    bool m_title = true;
    std::optional<std::size_t> m_index; // the item edited in place
};

} // namespace orvento::offers
