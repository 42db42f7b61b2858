#include "services/AgendaSettingsLoading.h"

#include "core/ProgramEvents.h"
#include "core/ProgramState.h"
#include "services/ProfileStore.h"

namespace orvento::services {

namespace {

// Profile value numbers.
constexpr int kPrintAfterNew = 1;
constexpr int kDefaultTemplate = 2;
constexpr int kAskOnLeave = 21;
constexpr int kHidePurchasePrices = 22;
constexpr int kBulkAdd = 44;

} // namespace

core::ProfileOptions loadProfileOptions() {
    const core::ProfileOptions defaults;
    core::ProfileOptions o;
    o.tiskPoNoveNabidce = profile::loadBool(kPrintAfterNew, defaults.tiskPoNoveNabidce);
    o.vychoziSablona = profile::loadValue(kDefaultTemplate);
    o.dotazPriOpusteni = profile::loadBool(kAskOnLeave, defaults.dotazPriOpusteni);
    o.hromadneVkladani = profile::loadBool(kBulkAdd, defaults.hromadneVkladani);
    o.nezobrazovatNakupniCeny =
        profile::loadBool(kHidePurchasePrices, defaults.nezobrazovatNakupniCeny);
    return o;
}

void saveProfileOptions(const core::ProfileOptions& o) {
    profile::saveBool(kPrintAfterNew, o.tiskPoNoveNabidce);
    profile::saveValue(kDefaultTemplate, o.vychoziSablona);
    profile::saveBool(kAskOnLeave, o.dotazPriOpusteni);
    profile::saveBool(kBulkAdd, o.hromadneVkladani);
    profile::saveBool(kHidePurchasePrices, o.nezobrazovatNakupniCeny);
}

void applyPurchasePriceDisplay(const core::ProfileOptions& options) {
    core::ProgramState& state = core::programState();
    state.showPurchasePrices = !options.nezobrazovatNakupniCeny;
    Q_EMIT core::ProgramEvents::instance().purchasePricesDisplayChanged(
        state.purchasePricesVisible());
}

bool loadOpenAgendaSettings(core::UserInteraction& ui) {
    core::ProgramState& state = core::programState();
    core::AgendaSettings loaded;
    if (!core::loadAgendaSettings(state.db->agenda, state.folders.data, state.agenda, loaded, ui))
        return false;
    loaded.profil = loadProfileOptions();
    state.settings = std::move(loaded);
    state.agendaName = state.settings.nazev;
    applyPurchasePriceDisplay(state.settings.profil);
    return true;
}

} // namespace orvento::services
