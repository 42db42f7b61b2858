#pragma once

#include "offers/OfferCardLogic.h"

class QWidget;

namespace orvento::core {
class Navigator;
class UserInteraction;
} // namespace orvento::core

namespace orvento::ui {

// The item dialogs of the program, for the card's logic.
class OfferItemDialogs : public offers::OfferItemEditor {
public:
    OfferItemDialogs(core::UserInteraction& ui, core::Navigator& navigator, QWidget* parent)
        : m_ui(ui)
        , m_navigator(navigator)
        , m_parent(parent) {}
    bool editNew(offers::OfferWorkingCopy& offer, std::optional<std::size_t> current) override;
    bool editFromCatalogue(offers::OfferWorkingCopy& offer, qint64 catalogueId,
                           std::optional<std::size_t> current) override;
    bool editExisting(offers::OfferWorkingCopy& offer, std::size_t index, bool copy) override;
    bool editNewText(offers::OfferWorkingCopy& offer, bool title,
                     std::optional<std::size_t> current) override;
    bool editExistingText(offers::OfferWorkingCopy& offer, std::size_t index, bool copy) override;

private:
    core::UserInteraction& m_ui;
    core::Navigator& m_navigator;
    QWidget* m_parent;
};

} // namespace orvento::ui
