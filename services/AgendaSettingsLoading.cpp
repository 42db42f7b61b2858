#include "services/AgendaSettingsLoading.h"

#include "core/AppContext.h"
#include "core/ProgramState.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"

namespace orvento::services {

core::ProfileOptions loadProfileOptions() {
    const core::ProfileOptions defaults;
    core::ProfileOptions o;
    o.tiskPoNoveNabidce =
        profile::loadBool(profile::value::PrintAfterNewOffer, defaults.tiskPoNoveNabidce);
    o.vychoziSablona = profile::loadValue(profile::value::DefaultTemplate);
    o.dotazPriOpusteni =
        profile::loadBool(profile::value::AskOnLeavingOffer, defaults.dotazPriOpusteni);
    o.hromadneVkladani =
        profile::loadBool(profile::value::BulkInsertItems, defaults.hromadneVkladani);
    o.nezobrazovatNakupniCeny =
        profile::loadBool(profile::value::HidePurchasePrices, defaults.nezobrazovatNakupniCeny);
    return o;
}

bool saveProfileOptions(const core::ProfileOptions& o) {
    return profile::saveBool(profile::value::PrintAfterNewOffer, o.tiskPoNoveNabidce) &&
           profile::saveValue(profile::value::DefaultTemplate, o.vychoziSablona) &&
           profile::saveBool(profile::value::AskOnLeavingOffer, o.dotazPriOpusteni) &&
           profile::saveBool(profile::value::BulkInsertItems, o.hromadneVkladani) &&
           profile::saveBool(profile::value::HidePurchasePrices, o.nezobrazovatNakupniCeny);
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
