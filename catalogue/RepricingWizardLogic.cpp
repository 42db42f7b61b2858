#include "catalogue/RepricingWizardLogic.h"

#include "catalogue/CatalogueMessages.h"
#include "core/Database.h"
#include "core/Navigator.h"
#include "core/ProgramState.h"
#include "core/UserInteraction.h"
#include "services/AccessRights.h"
#include "services/Workstations.h"

#include <algorithm>

namespace orvento::catalogue {

QString bulkWizardTip() {
    return QStringLiteral("Tip: pokud chcete operaci provést v celém listu (nebo celé skupině), je "
                          "vhodnější tuto funkci spustit z hlavní plochy volbou Ostatní / Operace "
                          "s ceníkem >> přecenění nákupních a prodejních cen.");
}

QString bulkWizardWarningHeading() {
    return QStringLiteral("Varování:");
}

QString bulkWizardWarningText() {
    return QStringLiteral("provedené změny budou nevratné! Před spuštěním funkce proto "
                          "doporučujeme provést zálohu dat (volba Ostatní / Zálohování >> "
                          "Vytvoření zálohy).");
}

QString bulkWizardContinueText() {
    return QStringLiteral("Pokračovat můžete tlačítkem [Další]");
}

QString bulkWizardConfirmText() {
    return QStringLiteral("Operaci dokončíte stisknutím tlačítka [Další]");
}

BulkWizardLogic::BulkWizardLogic(core::Database& db, core::UserInteraction& ui,
                                 core::Navigator& navigator, SelectionMode mode, MarkedRows marked)
    : m_db(db)
    , m_ui(ui)
    , m_navigator(navigator)
    , m_mode(mode)
    , m_marked(std::move(marked))
    , m_othersRunning(services::otherWorkstationsRunning()) {
    core::programState().cancelRequested = false;
}

BulkWizardLogic::~BulkWizardLogic() {
    // However the wizard ends, later saves stamp the tables again.
    core::programState().suppressStamps = false;
}

std::vector<BulkWizardPage> BulkWizardLogic::walk() const {
    std::vector<BulkWizardPage> pages{BulkWizardPage::Welcome};
    if (usesSettingsPage())
        pages.push_back(BulkWizardPage::Settings);
    if (m_mode == SelectionMode::WholeCatalogue)
        pages.push_back(BulkWizardPage::Filter);
    pages.push_back(BulkWizardPage::Confirm);
    pages.push_back(BulkWizardPage::Working);
    return pages;
}

BulkWizardButtons BulkWizardLogic::buttons() const {
    switch (m_page) {
    case BulkWizardPage::Welcome:
        return {false, true, true, false};
    case BulkWizardPage::Settings:
    case BulkWizardPage::Filter:
    case BulkWizardPage::Confirm:
        return {true, true, true, false};
    case BulkWizardPage::Working:
        return {false, false, false, running()};
    }
    return {};
}

bool BulkWizardLogic::next() {
    switch (m_page) {
    case BulkWizardPage::Settings:
        if (!leaveSettings())
            return false;
        break;
    case BulkWizardPage::Filter:
        if (const auto problem = scopeProblem(m_scope, scopeKind())) {
            m_ui.information(*problem);
            return false;
        }
        break;
    case BulkWizardPage::Working:
        return false;
    case BulkWizardPage::Welcome:
    case BulkWizardPage::Confirm:
        break;
    }
    const auto pages = walk();
    const auto at = std::find(pages.begin(), pages.end(), m_page);
    if (at == pages.end() || at + 1 == pages.end()) {
        // The settings page was switched off while shown: on as from the welcome page.
        m_page = pages[1];
        return true;
    }
    m_page = *(at + 1);
    return true;
}

void BulkWizardLogic::back() {
    if (m_page == BulkWizardPage::Working || m_page == BulkWizardPage::Welcome)
        return;
    const auto pages = walk();
    const auto at = std::find(pages.begin(), pages.end(), m_page);
    m_page = at == pages.end() || at == pages.begin() ? BulkWizardPage::Welcome : *(at - 1);
}

RunEnd BulkWizardLogic::run(RunDisplay display) {
    const RunSelection selection{m_mode, m_scope, m_marked};
    const RunEnd end = work(selection, std::move(display));
    m_done = true;
    return end;
}

ScopeControls BulkWizardLogic::scopeControls() const {
    const bool narrowing = !m_scope.everything;
    return {narrowing, narrowing && m_scope.sheetOn, narrowing, narrowing && m_scope.groupOn,
            narrowing, narrowing && m_scope.rateOn};
}

void BulkWizardLogic::setEverything(bool on) {
    m_scope.everything = on;
    if (on) {
        m_scope.sheetOn = false;
        m_scope.groupOn = false;
        m_scope.rateOn = false;
    }
}

void BulkWizardLogic::setSheetOn(bool on) {
    m_scope.sheetOn = on && !m_scope.everything;
}

void BulkWizardLogic::setGroupOn(bool on) {
    m_scope.groupOn = on && !m_scope.everything;
}

void BulkWizardLogic::setRateOn(bool on) {
    m_scope.rateOn = on && !m_scope.everything;
}

void BulkWizardLogic::chooseSheet() {
    const auto pending = m_navigator.pickSheet();
    if (!pending->answered() || pending->result().status != core::NavigationStatus::Done ||
        pending->result().ids.empty())
        return;
    const qint64 sheet = pending->result().ids.front();
    const auto name = m_db.scalar(QStringLiteral("SELECT Nazev FROM Sklady WHERE ID = :ID"),
                                  {{QStringLiteral("ID"), sheet}});
    if (!name)
        return;
    m_scope.sheetId = sheet;
    m_scope.sheetName = name->toString();
    m_scope.groupId = 0;
    m_scope.groupName.clear();
}

void BulkWizardLogic::chooseGroup() {
    if (m_scope.sheetId == 0) {
        m_ui.information(messages::chooseSheetFirst());
        return;
    }
    const auto pending = m_navigator.pickGroup(m_scope.sheetId);
    if (!pending->answered() || pending->result().status != core::NavigationStatus::Done ||
        pending->result().ids.empty())
        return;
    const qint64 group = pending->result().ids.front();
    const auto name = m_db.scalar(QStringLiteral("SELECT Nazev FROM Skupiny WHERE ID = :ID"),
                                  {{QStringLiteral("ID"), group}});
    if (!name)
        return;
    m_scope.groupId = group;
    m_scope.groupName = name->toString();
}

bool RepricingWizardLogic::mayOpen(core::UserInteraction& ui) {
    return services::checkRight(services::mayReprice(core::programState().user), ui);
}

QStringList RepricingWizardLogic::actionTexts(bool withMultiply) {
    QStringList texts{QStringLiteral("Nastavit jednotně"), QStringLiteral("Navýšit o")};
    if (withMultiply)
        texts << QStringLiteral("Vynásobit koef.");
    return texts;
}

QStringList RepricingWizardLogic::roundingTexts() {
    return {QStringLiteral("nezaokrouhlovat"), QStringLiteral("na koruny"),
            QStringLiteral("na desetníky")};
}

QString RepricingWizardLogic::settingsNote() {
    return QStringLiteral("Pozor: hodnoty nastavené v cenové skupině mají přednost! Proměnné "
                          "označené *) proto mohou mít po přepočtu jinou hodnotu, než je "
                          "nastavené v této funkci.");
}

void RepricingWizardLogic::setSettings(const RepricingSettings& settings) {
    m_settings = settings;
    if (m_settings.salePriceRelative()) {
        m_settings.priceTypeOn = false;
        m_settings.priceGroupOn = false;
    }
}

void RepricingWizardLogic::choosePriceGroup() {
    const auto pending = m_navigator.pickPriceGroup(m_settings.priceGroup);
    if (pending->answered() && pending->result().status == core::NavigationStatus::Done)
        m_settings.priceGroup = pending->result().code;
}

bool RepricingWizardLogic::leaveSettings() {
    // A forgotten coefficient (the field starts at 0) would wipe every price beyond repair.
    const auto badCoefficient = [](const ValueSetting& s) {
        return s.on && s.action == ValueAction::Multiply && s.value <= 0.0;
    };
    if (badCoefficient(m_settings.purchasePrice) || badCoefficient(m_settings.salePrice)) {
        m_ui.warning(coefficientMessage());
        return false;
    }
    return true;
}

RunEnd RepricingWizardLogic::work(const RunSelection& selection, RunDisplay display) {
    RepricingRun run(m_db, m_ui, std::move(display));
    return run.run(selection, m_withSettings ? std::optional(m_settings) : std::nullopt);
}

} // namespace orvento::catalogue
