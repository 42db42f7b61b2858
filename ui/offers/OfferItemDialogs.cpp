#include "ui/offers/OfferItemDialogs.h"

#include "ui/offers/OfferItemCardDialog.h"
#include "ui/offers/TextItemDialog.h"

namespace orvento::ui {

bool OfferItemDialogs::editNew(offers::OfferWorkingCopy& offer,
                               std::optional<std::size_t> current) {
    return OfferItemCardDialog::editNew(offer, current, m_ui, m_navigator, m_parent);
}

bool OfferItemDialogs::editFromCatalogue(offers::OfferWorkingCopy& offer, qint64 catalogueId,
                                         std::optional<std::size_t> current) {
    return OfferItemCardDialog::editFromCatalogue(offer, catalogueId, current, m_ui, m_navigator,
                                                  m_parent);
}

bool OfferItemDialogs::editExisting(offers::OfferWorkingCopy& offer, std::size_t index, bool copy) {
    return OfferItemCardDialog::editExisting(offer, index, copy, m_ui, m_navigator, m_parent);
}

bool OfferItemDialogs::editNewText(offers::OfferWorkingCopy& offer, bool title,
                                   std::optional<std::size_t> current) {
    return TextItemDialog::editNew(offer, title, current, m_ui, m_parent);
}

bool OfferItemDialogs::editExistingText(offers::OfferWorkingCopy& offer, std::size_t index,
                                        bool copy) {
    return TextItemDialog::editExisting(offer, index, copy, m_ui, m_parent);
}

} // namespace orvento::ui
