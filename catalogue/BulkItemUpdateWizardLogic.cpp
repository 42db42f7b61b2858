#include "catalogue/BulkItemUpdateWizardLogic.h"

#include "catalogue/BulkItemUpdateRun.h"
#include "core/Navigator.h"
#include "core/ProgramState.h"
#include "core/UserInteraction.h"
#include "services/AccessRights.h"

namespace orvento::catalogue {

bool BulkItemUpdateWizardLogic::mayOpen(core::UserInteraction& ui) {
    return services::checkRight(services::mayBulkUpdate(core::programState().user), ui);
}

QStringList BulkItemUpdateWizardLogic::identifierActionTexts() {
    return {QStringLiteral("Nastavit jednotně"), QStringLiteral("Přidat"),
            QStringLiteral("Odebrat")};
}

QString BulkItemUpdateWizardLogic::welcomeText() {
    return QStringLiteral("Vítá Vás průvodce hromadným nastavením údajů na položkách v ceníku. "
                          "Funkce hromadně nastaví vybrané textové údaje na položkách v ceníku. "
                          "Pokud chcete nastavit cenové údaje (změna ceny, marže, atd.), použijte "
                          "funkci \"Přecenění nákupních a prodejních cen\".");
}

QString BulkItemUpdateWizardLogic::noIdentifiersMessage() {
    return QStringLiteral("Vyberte alespoň jeden identifikátor, který chcete přidat/odebrat nebo "
                          "tuto funkci vypněte. Chcete-li odebrat všechny identifikátory na "
                          "položce, zvolte \"Nastavit jednotně\" a políčko Identifikátory "
                          "ponechte prázdné.");
}

void BulkItemUpdateWizardLogic::editIdentifiers() {
    const auto pending = m_navigator.editIdentifiers(m_settings.identifiers);
    if (pending->answered() && pending->result().status == core::NavigationStatus::Done)
        m_settings.identifiers = pending->result().code;
}

bool BulkItemUpdateWizardLogic::leaveSettings() {
    if (m_settings.identifiersOn && m_settings.identifierAction != IdentifierAction::Set &&
        m_settings.identifiers.isEmpty()) {
        m_ui.warning(noIdentifiersMessage());
        return false;
    }
    return true;
}

RunEnd BulkItemUpdateWizardLogic::work(const RunSelection& selection, RunDisplay display) {
    BulkItemUpdateRun run(m_db, m_ui, std::move(display));
    return run.run(selection, m_settings);
}

} // namespace orvento::catalogue
