#include "services/AgendaSettingsLoading.h"

#include "core/AppContext.h"
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

bool saveProfileOptions(const core::ProfileOptions& o) {
    return profile::saveBool(kPrintAfterNew, o.tiskPoNoveNabidce) &&
           profile::saveValue(kDefaultTemplate, o.vychoziSablona) &&
           profile::saveBool(kAskOnLeave, o.dotazPriOpusteni) &&
           profile::saveBool(kBulkAdd, o.hromadneVkladani) &&
           profile::saveBool(kHidePurchasePrices, o.nezobrazovatNakupniCeny);
}

void applyPurchasePriceDisplay(const core::ProfileOptions& options, core::ProgramEvents& events) {
    core::ProgramState& state = core::programState();
    state.showPurchasePrices = !options.nezobrazovatNakupniCeny;
    Q_EMIT events.purchasePricesDisplayChanged(state.purchasePricesVisible());
}

std::optional<core::AgendaSettings> readOpenAgendaSettings(core::UserInteraction& ui) {
    const core::ProgramState& state = core::programState();
    core::AgendaSettings loaded;
    if (!core::loadAgendaSettings(state.db->agenda, state.folders.data, state.agenda, loaded, ui))
        return std::nullopt;
    loaded.profil = loadProfileOptions();
    return loaded;
}

void takeOverSettings(core::AgendaSettings settings, core::ProgramEvents& events) {
    core::ProgramState& state = core::programState();
    state.settings = std::move(settings);
    state.agendaName = state.settings.nazev;
    applyPurchasePriceDisplay(state.settings.profil, events);
}

bool loadOpenAgendaSettings(core::AppContext& context) {
    auto loaded = readOpenAgendaSettings(context.ui());
    if (!loaded)
        return false;
    takeOverSettings(std::move(*loaded), context.events());
    return true;
}

} // namespace orvento::services
