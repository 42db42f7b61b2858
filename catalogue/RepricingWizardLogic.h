#pragma once

#include "catalogue/RepricingRun.h"
#include "catalogue/RepricingSelection.h"
#include "catalogue/RepricingSettings.h"

#include <QString>

#include <vector>

namespace orvento::core {
class Database;
class Navigator;
class UserInteraction;
} // namespace orvento::core

namespace orvento::catalogue {

// The pages of both bulk wizards; each is shown alone.
enum class BulkWizardPage { Welcome = 0, Settings = 1, Filter = 2, Confirm = 3, Working = 4 };

struct BulkWizardButtons {
    bool back = false;
    bool next = false;
    bool close = false;
    bool interrupt = false;
};

// Which controls of the filter page take input now.
struct ScopeControls {
    bool sheetOn = false;
    bool sheetButton = false;
    bool groupOn = false;
    bool groupButton = false;
    bool rateOn = false;
    bool rateField = false;
};

QString bulkWizardTip();
QString bulkWizardWarningHeading();
QString bulkWizardWarningText();
QString bulkWizardContinueText();
QString bulkWizardConfirmText();

// What the repricing and the bulk update wizards share: the walk through their pages, the
// filter page of the whole-catalogue mode and the run on the working page. "Další >" and
// "< Zpět" skip the pages that do not apply: the settings page when it is not wanted, the filter
// page outside the whole-catalogue mode.
class BulkWizardLogic {
public:
    BulkWizardLogic(core::Database& db, core::UserInteraction& ui, core::Navigator& navigator,
                    SelectionMode mode, MarkedRows marked);
    virtual ~BulkWizardLogic();
    BulkWizardLogic(const BulkWizardLogic&) = delete;
    BulkWizardLogic& operator=(const BulkWizardLogic&) = delete;

    SelectionMode mode() const { return m_mode; }
    // The other-workstations notice is shown on the first page.
    bool othersRunning() const { return m_othersRunning; }
    // The tip to start from the main window for whole sheets, shown on marks.
    bool showsTip() const { return m_mode != SelectionMode::WholeCatalogue; }
    BulkWizardPage page() const { return m_page; }
    BulkWizardButtons buttons() const;
    bool running() const { return m_page == BulkWizardPage::Working && !m_done; }
    // Whether the wizard ran to its end (the caller's result 0).
    bool finished() const { return m_done; }

    // "Další >": false when the page stays (the reason told). From the confirm page it moves to
    // the working page; the window then shows it and calls run().
    bool next();
    // "< Zpět".
    void back();
    // The work, shown through `display`; afterwards the wizard is finished.
    RunEnd run(RunDisplay display);

    // The filter page.
    const CatalogueScope& scope() const { return m_scope; }
    ScopeControls scopeControls() const;
    void setEverything(bool on);
    void setSheetOn(bool on);
    void setGroupOn(bool on);
    void setRateOn(bool on);
    void setRate(int rate) { m_scope.rate = rate; }
    // "..." at the sheet: a picked sheet replaces the group chosen so far.
    void chooseSheet();
    // "..." at the group: the groups of the chosen sheet.
    void chooseGroup();

protected:
    virtual bool usesSettingsPage() const = 0;
    // Leaving the settings page: false when it stays (told).
    virtual bool leaveSettings() = 0;
    virtual ScopeKind scopeKind() const = 0;
    virtual RunEnd work(const RunSelection& selection, RunDisplay display) = 0;

    core::Database& m_db;
    core::UserInteraction& m_ui;
    core::Navigator& m_navigator;

private:
    std::vector<BulkWizardPage> walk() const;

    SelectionMode m_mode;
    MarkedRows m_marked;
    CatalogueScope m_scope;
    BulkWizardPage m_page = BulkWizardPage::Welcome;
    bool m_othersRunning = false;
    bool m_done = false;
};

// The repricing wizard (frmPreceneni).
class RepricingWizardLogic : public BulkWizardLogic {
public:
    using BulkWizardLogic::BulkWizardLogic;

    static QString caption() { return QStringLiteral("Hromadné operace - přecenění"); }
    static QString helpTopic() { return QStringLiteral("pgPreceneni.htm"); }
    // The rights to open it (refusal told).
    static bool mayOpen(core::UserInteraction& ui);
    static QStringList actionTexts(bool withMultiply);
    static QStringList roundingTexts();
    static QString settingsNote();
    static QString coefficientMessage() {
        return QStringLiteral("Koeficient musí být větší než nula.");
    }

    // "hromadně nastavit také vybrané cenové hodnoty".
    bool withSettings() const { return m_withSettings; }
    void setWithSettings(bool on) { m_withSettings = on; }
    const RepricingSettings& settings() const { return m_settings; }
    // The settings as the page shows them; a sale price raised or multiplied unticks the price
    // type and the price group, which then stay off.
    void setSettings(const RepricingSettings& settings);
    bool priceTypeAndGroupEnabled() const { return !m_settings.salePriceRelative(); }
    // "..." and "x" at the price group.
    void choosePriceGroup();
    void clearPriceGroup() { m_settings.priceGroup.clear(); }

protected:
    bool usesSettingsPage() const override { return m_withSettings; }
    bool leaveSettings() override;
    ScopeKind scopeKind() const override { return ScopeKind::Repricing; }
    RunEnd work(const RunSelection& selection, RunDisplay display) override;

private:
    bool m_withSettings = false;
    RepricingSettings m_settings;
};

} // namespace orvento::catalogue
