#pragma once

#include "catalogue/RepricingWizardLogic.h"

namespace orvento::catalogue {

// The bulk item update wizard (frmNastavText).
class BulkItemUpdateWizardLogic : public BulkWizardLogic {
public:
    using BulkWizardLogic::BulkWizardLogic;

    static QString caption() {
        return QStringLiteral("Hromadné operace - nastavení textových údajů");
    }
    static QString helpTopic() { return QStringLiteral("pgNastavText.htm"); }
    static bool mayOpen(core::UserInteraction& ui);
    static QStringList identifierActionTexts();
    static QString welcomeText();
    static QString noIdentifiersMessage();

    const BulkUpdateSettings& settings() const { return m_settings; }
    void setSettings(const BulkUpdateSettings& settings) { m_settings = settings; }
    // "..." at the identifiers: the identifier editor on the list chosen so far.
    void editIdentifiers();

protected:
    bool usesSettingsPage() const override { return true; }
    bool leaveSettings() override;
    ScopeKind scopeKind() const override { return ScopeKind::BulkUpdate; }
    RunEnd work(const RunSelection& selection, RunDisplay display) override;

private:
    BulkUpdateSettings m_settings;
};

} // namespace orvento::catalogue
