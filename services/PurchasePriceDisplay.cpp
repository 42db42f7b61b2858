#include "services/PurchasePriceDisplay.h"

#include "core/ProgramEvents.h"
#include "core/ProgramState.h"
#include "core/UserInteraction.h"

namespace orvento::services {

using namespace core;

bool togglePurchasePriceDisplay(UserInteraction& ui) {
    ProgramState& state = programState();
    const QString text =
        state.showPurchasePrices
            ? QStringLiteral("Opravdu chcete vypnout zobrazování nákupních cen a zisku ?")
            : QStringLiteral("Opravdu chcete zapnout zobrazování nákupních cen a zisku ?");
    if (!ui.question(text))
        return false;
    state.showPurchasePrices = !state.showPurchasePrices;
    Q_EMIT ProgramEvents::instance().purchasePricesDisplayChanged(state.purchasePricesVisible());
    return true;
}

} // namespace orvento::services
