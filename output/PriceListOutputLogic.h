#pragma once

#include "catalogue/NamedSettings.h"
#include "catalogue/PriceSourceChoice.h"
#include "core/CatalogueView.h"
#include "output/PriceListSettings.h"
#include "output/PriceListTables.h"
#include "output/PrintWindowLogic.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace orvento::core {
class UserInteraction;
}

namespace orvento::output {

// One entry of the window's sheet or group check list.
struct CheckEntry {
    qint64 id = 0;
    bool checked = false;
    QString name; // as shown
};

// Opens the print window for the filled price list and returns once it has closed.
using PriceListPrinter = std::function<void(const PrintRequest&)>;

// The windows of the catalogue the price-list output asks: "Výběr ceny" with a caption, the
// chooser of named settings and the name dialog of a new one.
struct PriceListDialogs {
    std::function<catalogue::PriceSource(const QString& caption)> choosePriceSource;
    std::function<std::optional<catalogue::NamedSetting>()> chooseSetting;
    std::function<std::optional<QString>()> askSettingName;
};

// The logic of frmTiskExpCeniku, "Tisk - export ceníku": which sheets and groups of the
// catalogue go into the price list, printed or exported, with a heading of its own and up to six
// dealer price columns; the last use and named settings.
class PriceListOutputLogic {
public:
    PriceListOutputLogic(const ReportContext& context, core::UserInteraction& ui,
                         core::CatalogueView view);

    static QString caption() { return QStringLiteral("Tisk - export ceníku"); }
    static QString helpTopic() { return QStringLiteral("pgTiskExpCeniku.htm"); }
    static QString lastUseName() { return QStringLiteral("<naposledy použité>"); }
    static QString groupsOffText() { return QStringLiteral("[skladové skupiny jsou vypnuté]"); }
    // The caption of column k's source choice ("1. sloupec" …).
    static QString columnCaption(int k) { return QStringLiteral("%1. sloupec").arg(k + 1); }

    // Fills the check lists, then takes the last use; under the wait window.
    void open();

    const core::CatalogueView& view() const { return m_view; }
    // "zapnutý" while the catalogue's items are filtered, else "vypnutý".
    QString itemFilterText() const;
    bool itemFilterOn() const { return m_view.filtered(); }

    PriceListSettings settings;
    bool exportToSpreadsheet = false; // "exportovat ceník do MS Excel"

    std::vector<CheckEntry>& sheetEntries() { return m_sheets; }
    std::vector<CheckEntry>& groupEntries() { return m_groups; }
    const std::vector<CheckEntry>& sheetEntries() const { return m_sheets; }
    const std::vector<CheckEntry>& groupEntries() const { return m_groups; }

    // What the window enables now.
    bool sheetListEnabled() const { return settings.sheets == SheetChoice::Selected; }
    bool groupFilterEnabled() const { return m_view.groupsShown; }
    bool groupListEnabled() const {
        return groupFilterEnabled() && settings.groups == GroupChoice::Selected;
    }
    bool headingEnabled() const { return settings.ownHeading; }
    bool dealerEnabled() const { return settings.dealer; }
    bool saveCurrentEnabled() const { return m_loaded.has_value(); }
    // The name of the loaded setting, or the last use.
    QString settingName() const { return m_loaded ? m_loaded->Nazev : lastUseName(); }

    // "Standard", after its question.
    void standard();
    // The result of "Výběr ceny" for column k; a cancel keeps the column.
    void takePriceSource(int k, const catalogue::PriceSource& source);
    // The "..." of column k, "Načíst nastavení" and "Uložit pod novým názvem" through the
    // dialogs; true when something changed.
    bool choosePriceSource(int k, const PriceListDialogs& dialogs);
    bool loadNamed(const PriceListDialogs& dialogs);
    bool saveNew(const PriceListDialogs& dialogs);

    // "OK": the checks, the tables, the print window through `printer`, the last use remembered.
    // True when the window is to close.
    bool confirm(const PriceListPrinter& printer);

    // The settings as a text, with the check marks of the lists; and restored from one.
    QString currentText() const;
    void applyText(const QString& text);

    // "Načíst nastavení": a chosen named setting.
    void loadNamed(const catalogue::NamedSetting& setting);
    // "Uložit pod novým názvem" with the name from the name dialog.
    bool saveNew(const QString& name);
    // "Uložit pod současným názvem": the loaded row, which must still be there.
    bool saveCurrent();
    // The last use (the profile's memo) read and written.
    void loadLastUse();
    void saveLastUse() const;

private:
    void applySettings(const PriceListSettings& s);

    ReportContext m_context;
    core::UserInteraction& m_ui;
    core::CatalogueView m_view;
    std::vector<CheckEntry> m_sheets;
    std::vector<CheckEntry> m_groups;
    std::optional<catalogue::NamedSetting> m_loaded;
};

} // namespace orvento::output
