#include "output/PriceListOutputLogic.h"

#include "core/CurrentUser.h"
#include "core/Database.h"
#include "core/ProgressScope.h"
#include "core/UserInteraction.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"

#include <QHash>
#include <QSqlQuery>

#include <algorithm>

namespace orvento::output {

namespace {

std::vector<qint64> checkedIds(const std::vector<CheckEntry>& entries) {
    std::vector<qint64> ids;
    for (const CheckEntry& e : entries)
        if (e.checked)
            ids.push_back(e.id);
    return ids;
}

// Marks the entries named; identifiers no longer listed are passed over.
void check(std::vector<CheckEntry>& entries, const std::vector<qint64>& ids) {
    for (CheckEntry& e : entries)
        e.checked = std::find(ids.begin(), ids.end(), e.id) != ids.end();
}

} // namespace

PriceListOutputLogic::PriceListOutputLogic(const ReportContext& context, core::UserInteraction& ui,
                                           core::CatalogueView view)
    : m_context(context)
    , m_ui(ui)
    , m_view(std::move(view)) {}

void PriceListOutputLogic::open() {
    const core::ProgressScope wait(
        m_ui, QStringLiteral("Příprava tisku/exportu...\rprosím čekejte..."), 0, false);
    m_sheets.clear();
    m_groups.clear();
    QHash<qint64, QString> sheetNames;
    {
        QSqlQuery q =
            m_context.agenda.select(QStringLiteral("SELECT ID, Nazev FROM Sklady ORDER BY Poradi"));
        while (q.next()) {
            const qint64 id = q.value(0).toLongLong();
            sheetNames.insert(id, q.value(1).toString());
            m_sheets.push_back({id, false, q.value(1).toString()});
        }
    }
    {
        QSqlQuery q = m_context.agenda.select(
            QStringLiteral("SELECT ID, Sklad, Nazev FROM Skupiny ORDER BY Sklad, ID"));
        while (q.next())
            m_groups.push_back({q.value(0).toLongLong(), false,
                                QStringLiteral("(") + sheetNames.value(q.value(1).toLongLong()) +
                                    QStringLiteral(") • ") + q.value(2).toString()});
    }
    loadLastUse();
}

QString PriceListOutputLogic::itemFilterText() const {
    return m_view.filtered() ? QStringLiteral("zapnutý") : QStringLiteral("vypnutý");
}

void PriceListOutputLogic::applySettings(const PriceListSettings& s) {
    settings = s;
    check(m_sheets, s.checkedSheets);
    check(m_groups, s.checkedGroups);
}

void PriceListOutputLogic::standard() {
    if (!m_ui.question(QStringLiteral("Aktivovat standardní nastavení ?")))
        return;
    applySettings(PriceListSettings());
}

void PriceListOutputLogic::takePriceSource(int k, const catalogue::PriceSource& source) {
    if (k < 0 || k >= kPriceColumns)
        return;
    QString& column = settings.columns[static_cast<size_t>(k)].source;
    switch (source.kind) {
    case catalogue::PriceSource::Cancel:
        return;
    case catalogue::PriceSource::DoNotPrint:
        column = PriceColumn::noSource();
        return;
    case catalogue::PriceSource::BasicPrice:
        column = PriceColumn::basicPrice();
        return;
    case catalogue::PriceSource::Level:
        column = source.levelCode;
        return;
    }
}

bool PriceListOutputLogic::choosePriceSource(int k, const PriceListDialogs& dialogs) {
    if (!dialogs.choosePriceSource || k < 0 || k >= kPriceColumns)
        return false;
    const catalogue::PriceSource source = dialogs.choosePriceSource(columnCaption(k));
    takePriceSource(k, source);
    return source.kind != catalogue::PriceSource::Cancel;
}

bool PriceListOutputLogic::loadNamed(const PriceListDialogs& dialogs) {
    if (!dialogs.chooseSetting)
        return false;
    const auto setting = dialogs.chooseSetting();
    if (!setting)
        return false;
    loadNamed(*setting);
    return true;
}

bool PriceListOutputLogic::saveNew(const PriceListDialogs& dialogs) {
    if (!dialogs.askSettingName)
        return false;
    const auto name = dialogs.askSettingName();
    return name && saveNew(*name);
}

QString PriceListOutputLogic::currentText() const {
    PriceListSettings s = settings;
    s.checkedSheets = checkedIds(m_sheets);
    s.checkedGroups = checkedIds(m_groups);
    return settingsText(s);
}

void PriceListOutputLogic::applyText(const QString& text) {
    applySettings(parseSettings(text));
}

bool PriceListOutputLogic::confirm(const PriceListPrinter& printer) {
    if (settings.sheets == SheetChoice::Selected && checkedIds(m_sheets).empty()) {
        m_ui.information(QStringLiteral("Vyberte alespoň jeden list nebo filtr vypněte."));
        return false;
    }
    if (groupFilterEnabled() && settings.groups == GroupChoice::Selected &&
        checkedIds(m_groups).empty()) {
        m_ui.information(QStringLiteral("Vyberte alespoň jednu skupinu nebo filtr vypněte."));
        return false;
    }
    PriceListSettings s = settings;
    s.checkedSheets = checkedIds(m_sheets);
    s.checkedGroups = checkedIds(m_groups);
    auto tables = fillPriceListTables(m_context, m_view, s, m_ui);
    if (!tables)
        return false; // cancelled: nothing printed, the window stays
    PrintRequest request;
    request.printType = priceListPrintType(tables->withGroups, exportToSpreadsheet);
    request.subject.priceList = std::make_shared<const PriceListTables>(std::move(*tables));
    if (printer)
        printer(request);
    request.subject.priceList.reset(); // the tables go once the print window has closed
    {
        const core::ProgressScope wait(
            m_ui, QStringLiteral("Uložení aktuálních filtrů...\r[prosím čekejte]"), 0, false);
        saveLastUse();
    }
    return true;
}

void PriceListOutputLogic::loadLastUse() {
    applyText(services::profile::loadMemo(services::profile::memo::CataloguePrintFilter));
}

void PriceListOutputLogic::saveLastUse() const {
    services::profile::saveMemo(services::profile::memo::CataloguePrintFilter, currentText());
}

void PriceListOutputLogic::loadNamed(const catalogue::NamedSetting& setting) {
    applyText(setting.Hodnota);
    m_loaded = setting;
}

bool PriceListOutputLogic::saveNew(const QString& name) {
    catalogue::NamedSetting row;
    row.IDModulu = catalogue::SettingModule::PriceListOutput;
    row.Nazev = name.left(catalogue::kSettingNameLength);
    row.Konfigurace = m_context.user.konfigurace;
    row.Hodnota = currentText();
    std::optional<qint64> id;
    {
        core::Transaction tx(m_context.agenda);
        id = catalogue::insertNamedSetting(m_context.agenda, row);
        if (id && !tx.commit())
            id.reset();
    }
    if (!id) {
        m_ui.error(core::saveFailedMessage());
        return false;
    }
    row.ID = *id;
    m_loaded = row;
    return true;
}

bool PriceListOutputLogic::saveCurrent() {
    if (!m_loaded)
        return false;
    catalogue::NamedSetting row = *m_loaded;
    row.Konfigurace = m_context.user.konfigurace;
    row.Hodnota = currentText();
    bool ok = false;
    {
        // A row deleted elsewhere meanwhile is a failed save, not an update of nothing.
        core::Transaction tx(m_context.agenda);
        const auto present =
            m_context.agenda.scalar(QStringLiteral("SELECT COUNT(*) FROM Filtry WHERE ID = :ID"),
                                    {{QStringLiteral("ID"), row.ID}});
        ok = present && present->toInt() > 0 &&
             m_context.agenda.execute(
                 QStringLiteral("UPDATE Filtry SET IDModulu = :IDModulu, Nazev = :Nazev, "
                                "Konfigurace = :Konfigurace, Hodnota = :Hodnota WHERE ID = :ID"),
                 {{QStringLiteral("IDModulu"), row.IDModulu},
                  {QStringLiteral("Nazev"), row.Nazev},
                  {QStringLiteral("Konfigurace"), row.Konfigurace},
                  {QStringLiteral("Hodnota"), row.Hodnota},
                  {QStringLiteral("ID"), row.ID}}) &&
             tx.commit();
    }
    if (!ok) {
        m_ui.error(core::saveFailedMessage());
        return false;
    }
    m_loaded = row;
    return true;
}

} // namespace orvento::output
