#include "services/PurchasePriceDisplay.h"

#include "core/AppContext.h"
#include "core/ProgramState.h"
#include "core/UserInteraction.h"

namespace orvento::services {

bool togglePurchasePriceDisplay(core::AppContext& context) {
    core::ProgramState& state = core::programState();
    const QString text =
        state.showPurchasePrices
            ? QStringLiteral("Opravdu chcete vypnout zobrazování nákupních cen a zisku ?")
            : QStringLiteral("Opravdu chcete zapnout zobrazování nákupních cen a zisku ?");
    if (!context.ui().question(text))
        return false;
    state.showPurchasePrices = !state.showPurchasePrices;
    Q_EMIT context.events().purchasePricesDisplayChanged(state.purchasePricesVisible());
    return true;
}

} // namespace orvento::services
