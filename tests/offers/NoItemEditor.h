#pragma once

#include "offers/OfferCardLogic.h"

namespace orvento::testsupport {

// The item dialogs of an offer card whose items a test leaves alone: none of them opens.
class NoItemEditor : public offers::OfferItemEditor {
public:
    bool editNew(offers::OfferWorkingCopy&, std::optional<std::size_t>) override { return false; }
    bool editFromCatalogue(offers::OfferWorkingCopy&, qint64, std::optional<std::size_t>) override {
        return false;
    }
    bool editExisting(offers::OfferWorkingCopy&, std::size_t, bool) override { return false; }
    bool editNewText(offers::OfferWorkingCopy&, bool, std::optional<std::size_t>) override {
        return false;
    }
    bool editExistingText(offers::OfferWorkingCopy&, std::size_t, bool) override { return false; }
};

} // namespace orvento::testsupport
