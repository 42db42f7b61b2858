#include "output/PriceListTables.h"

#include "catalogue/CatalogueItemsModel.h"
#include "catalogue/CatalogueRecords.h"
#include "catalogue/LevelPrice.h"
#include "catalogue/PictureStore.h"
#include "catalogue/PriceLevelRecords.h"
#include "core/AgendaSettings.h"
#include "core/CurrentUser.h"
#include "core/Database.h"
#include "core/ProgressScope.h"
#include "output/DataSetWriter.h"
#include "output/PrintTypes.h"
#include "output/ReportTables.h"

#include <QHash>
#include <QSqlQuery>

#include <algorithm>

namespace orvento::output {

namespace {

using catalogue::GroupLevelRow;
using catalogue::LevelPriceItem;

QString fillingText() {
    return QStringLiteral("Načítám data pro tisk/export - operace může trvat delší dobu, "
                          "v závislosti na rozsahu vybrané množiny dat - [prosím čekejte...]");
}

// The columns an item row is read with, in this order.
enum ItemColumn {
    cID,
    cSklad,
    cSkupina,
    cPopis,
    cKatalog,
    cBarCode,
    cPoznamka,
    cNakCena,
    cPrCenaSDPH,
    cPrCenaBDPH,
    cSazbaDPH,
    cSDPH,
    cTextMJ,
    cPLU,
    cZkratka,
    cObrazek,
    cCenSkupina,
    cNakladova,
    cSlots // then per slot: CenHlad, PrCenaBDPH, PrCenaSDPH, SDPH
};
constexpr int kSlotColumns = 4;

const QString& itemColumns() {
    static const QString columns = QStringLiteral(
        "ID, Sklad, Skupina, Popis, Katalog, BarCode, Poznamka, NakCena, PrCenaSDPH, PrCenaBDPH, "
        "SazbaDPH, SDPH, TextMJ, PLU, Zkratka, Obrazek, CenSkupina, Nakladova, "
        "CenHlad1, PrCenaBDPH1, PrCenaSDPH1, SDPH1, CenHlad2, PrCenaBDPH2, PrCenaSDPH2, SDPH2, "
        "CenHlad3, PrCenaBDPH3, PrCenaSDPH3, SDPH3");
    return columns;
}

// The level rows of every price group, by the group's code in upper case: loaded once per fill.
using GroupLevels = QHash<QString, std::vector<GroupLevelRow>>;

GroupLevels loadGroupLevels(core::Database& db) {
    GroupLevels levels;
    const auto groups = catalogue::readGroups(db);
    const auto rows = catalogue::loadGroupLevels(db, 0);
    if (!groups || !rows)
        return levels;
    QHash<qint64, QString> codeOfId;
    for (const catalogue::PriceGroup& g : *groups) {
        codeOfId.insert(g.ID, g.Zkratka.toUpper());
        levels.insert(g.Zkratka.toUpper(), {});
    }
    for (const GroupLevelRow& r : *rows) {
        const auto code = codeOfId.constFind(r.IDCenSkup);
        if (code != codeOfId.constEnd())
            levels[*code].push_back(r);
    }
    return levels;
}

// A sheet or a group whose items are read.
struct Owner {
    QString column; // Sklad or Skupina
    qint64 id = 0;
};

class Filler {
public:
    Filler(const ReportContext& context, const core::CatalogueView& view,
           const PriceListSettings& settings, core::UserInteraction& ui, PriceListTables& tables)
        : m_context(context)
        , m_view(view)
        , m_settings(settings)
        , m_ui(ui)
        , m_tables(tables)
        , m_levels(settings.dealer ? loadGroupLevels(context.agenda) : GroupLevels())
        , m_pictures(catalogue::PictureStore::ofAgenda()) {}

    bool run() {
        fillHeader();
        std::vector<Owner> owners;
        for (const qint64 sheet : readSheets()) {
            if (!m_tables.withGroups) {
                owners.push_back({QStringLiteral("Sklad"), sheet});
                continue;
            }
            for (const catalogue::GroupRow& g :
                 catalogue::readGroups(m_context.agenda, sheet, m_view.groupSort)) {
                if (m_settings.groups == GroupChoice::Selected &&
                    std::find(m_settings.checkedGroups.begin(), m_settings.checkedGroups.end(),
                              g.id) == m_settings.checkedGroups.end())
                    continue;
                ReportTable& t = m_tables.groups;
                const int r = t.appendRow();
                t.set(r, QStringLiteral("Sklad"), sheet);
                t.set(r, QStringLiteral("Nazev"), g.nazev);
                t.set(r, QStringLiteral("Kod"), g.kod);
                t.set(r, QStringLiteral("ID"), g.id);
                owners.push_back({QStringLiteral("Skupina"), g.id});
            }
        }
        // Counted first, so that the wait window's bar shows how far the reading has come.
        int total = 0;
        for (const Owner& o : owners)
            total += countItems(o);
        m_progress.emplace(m_ui, fillingText(), total);
        for (const Owner& o : owners)
            if (!readItems(o))
                return false;
        return !m_progress->cancelled();
    }

private:
    void fillHeader() {
        ReportTable& t = m_tables.header;
        const int r = t.appendRow();
        for (int k = 0; k < kPriceColumns; ++k)
            t.set(r, QStringLiteral("Nadpis%1").arg(k + 1),
                  m_settings.columns[static_cast<size_t>(k)].heading);
        fillFirm(t, r, m_context.settings);
        t.set(r, QStringLiteral("NadpisCen"),
              m_settings.ownHeading ? m_settings.ownHeadingText : QStringLiteral("Ceník"));
    }

    // The chosen sheets in tab order; their identifiers are bound, never pasted into the text.
    std::vector<qint64> readSheets() {
        QString where;
        core::SqlParams params;
        if (m_settings.sheets == SheetChoice::Current) {
            where = QStringLiteral(" WHERE ID = :S0");
            params.emplace_back(QStringLiteral("S0"), m_view.sheetId);
        } else if (m_settings.sheets == SheetChoice::Selected) {
            QStringList terms;
            for (size_t n = 0; n < m_settings.checkedSheets.size(); ++n) {
                const QString name = QStringLiteral("S%1").arg(n);
                terms << QStringLiteral("ID = :") + name;
                params.emplace_back(name, m_settings.checkedSheets[n]);
            }
            where = terms.isEmpty()
                        ? QStringLiteral(" WHERE 0 = 1")
                        : QStringLiteral(" WHERE ") + terms.join(QStringLiteral(" OR "));
        }
        std::vector<qint64> ids;
        QSqlQuery q = m_context.agenda.select(QStringLiteral("SELECT ID, Nazev FROM Sklady") +
                                                  where + QStringLiteral(" ORDER BY Poradi, ID"),
                                              params);
        ReportTable& t = m_tables.sheets;
        while (q.next()) {
            const qint64 id = q.value(0).toLongLong();
            const int r = t.appendRow();
            t.set(r, QStringLiteral("ID"), id);
            if (!m_settings.noSheetName)
                t.set(r, QStringLiteral("Nazev"), q.value(1).toString());
            ids.push_back(id);
        }
        return ids;
    }

    // The items of a sheet or group that the price list takes: no cost items, and only those
    // the catalogue's filter shows. The owner's column is one of two fixed names.
    QString itemCondition(const Owner& o) const {
        return o.column + QStringLiteral(" = :Owner AND (Nakladova IS NULL OR Nakladova = 0)") +
               m_view.itemFilter.andClause();
    }
    core::SqlParams itemParams(const Owner& o) const {
        core::SqlParams params{{QStringLiteral("Owner"), o.id}};
        params.insert(params.end(), m_view.itemFilter.params.begin(),
                      m_view.itemFilter.params.end());
        return params;
    }

    int countItems(const Owner& o) {
        const auto n = m_context.agenda.scalar(
            QStringLiteral("SELECT COUNT(*) FROM Zasoby WHERE ") + itemCondition(o), itemParams(o));
        return n ? n->toInt() : 0;
    }

    // The items of a sheet or group in the catalogue's order under its filter.
    bool readItems(const Owner& o) {
        QSqlQuery q = m_context.agenda.select(
            QStringLiteral("SELECT ") + itemColumns() + QStringLiteral(" FROM Zasoby WHERE ") +
                itemCondition(o) + QStringLiteral(" ORDER BY ") +
                catalogue::CatalogueItemsModel::orderByClause(m_view.itemSort),
            itemParams(o));
        if (!q.isActive())
            return false;
        q.setForwardOnly(true);
        while (q.next()) {
            addItem(q);
            if (!m_progress->advance())
                return false;
        }
        return true;
    }

    void addItem(const QSqlQuery& q) {
        ReportTable& t = m_tables.items;
        const int r = t.appendRow();
        const auto copy = [&](int column, ItemColumn from) {
            t.set(r, column, q.value(from));
        };
        copy(m_col.sklad, cSklad);
        copy(m_col.skupina, cSkupina);
        copy(m_col.popis, cPopis);
        copy(m_col.id, cID);
        copy(m_col.katalog, cKatalog);
        copy(m_col.barCode, cBarCode);
        copy(m_col.poznamka, cPoznamka);
        const double gross = q.value(cPrCenaSDPH).toDouble();
        const double net = q.value(cPrCenaBDPH).toDouble();
        t.set(r, m_col.nakCena, m_context.user.nakupniCeny ? q.value(cNakCena).toDouble() : 0.0);
        t.set(r, m_col.gross, gross);
        t.set(r, m_col.net, net);
        t.set(r, m_col.rate, q.value(cSazbaDPH).toDouble());
        copy(m_col.textMJ, cTextMJ);
        copy(m_col.plu, cPLU);
        copy(m_col.zkratka, cZkratka);
        const QString picture = q.value(cObrazek).toString();
        t.set(r, m_col.obrazek, picture.isEmpty() ? QString() : m_pictures.pathOf(picture));
        if (!m_settings.dealer) {
            for (int k = 0; k < kPriceColumns; ++k)
                t.set(r, m_col.cena1 + k, 0.0);
            return;
        }
        const auto rows = m_levels.constFind(q.value(cCenSkupina).toString().toUpper());
        const std::vector<GroupLevelRow>* groupRows =
            rows == m_levels.constEnd() ? nullptr : &*rows;
        LevelPriceItem item;
        if (groupRows) {
            item.SDPH = q.value(cSDPH).toBool();
            item.SazbaDPH = q.value(cSazbaDPH).toDouble();
            item.leading = item.SDPH ? gross : net;
            item.NakCena = q.value(cNakCena).toDouble();
            for (int s = 0; s < static_cast<int>(item.fixedSlots.size()); ++s) {
                const int at = cSlots + s * kSlotColumns;
                catalogue::FixedSlot& slot = item.fixedSlots[static_cast<size_t>(s)];
                slot.CenHlad = q.value(at).toString();
                slot.PrCenaBDPH = q.value(at + 1).toDouble();
                slot.PrCenaSDPH = q.value(at + 2).toDouble();
                slot.SDPH = q.value(at + 3).toBool();
            }
        }
        for (int k = 0; k < kPriceColumns; ++k)
            t.set(r, m_col.cena1 + k, columnPrice(k, groupRows, item, net, gross));
    }

    // Column k's price of an item whose group has the level rows `groupRows` (none without a
    // group).
    double columnPrice(int k, const std::vector<GroupLevelRow>* groupRows,
                       const LevelPriceItem& item, double net, double gross) const {
        const PriceColumn& c = m_settings.columns[static_cast<size_t>(k)];
        if (!c.printed())
            return 0.0;
        const double basic = c.withVat ? gross : net;
        if (c.basic())
            return basic;
        const double fallback = m_settings.basicWhenNoLevel ? basic : 0.0;
        if (!groupRows)
            return fallback;
        const auto price = catalogue::levelPrice(*groupRows, c.source, item);
        if (!price)
            return fallback;
        return c.withVat ? price->gross : price->net;
    }

    // The item table's column positions, looked up once.
    struct Columns {
        explicit Columns(const ReportTable& t)
            : sklad(t.columnIndex(QStringLiteral("Sklad")))
            , skupina(t.columnIndex(QStringLiteral("Skupina")))
            , popis(t.columnIndex(QStringLiteral("Popis")))
            , id(t.columnIndex(QStringLiteral("ID")))
            , katalog(t.columnIndex(QStringLiteral("Katalog")))
            , barCode(t.columnIndex(QStringLiteral("BarCode")))
            , poznamka(t.columnIndex(QStringLiteral("Poznamka")))
            , nakCena(t.columnIndex(QStringLiteral("NakCena")))
            , gross(t.columnIndex(QStringLiteral("PrCenaSDPH")))
            , net(t.columnIndex(QStringLiteral("PrCenaBDPH")))
            , rate(t.columnIndex(QStringLiteral("SazbaDPH")))
            , textMJ(t.columnIndex(QStringLiteral("TextMJ")))
            , plu(t.columnIndex(QStringLiteral("PLU")))
            , zkratka(t.columnIndex(QStringLiteral("Zkratka")))
            , cena1(t.columnIndex(QStringLiteral("Cena1")))
            , obrazek(t.columnIndex(QStringLiteral("Obrazek"))) {}
        int sklad, skupina, popis, id, katalog, barCode, poznamka, nakCena, gross, net, rate,
            textMJ, plu, zkratka, cena1, obrazek;
    };

    const ReportContext& m_context;
    const core::CatalogueView& m_view;
    const PriceListSettings& m_settings;
    core::UserInteraction& m_ui;
    PriceListTables& m_tables;
    std::optional<core::ProgressScope> m_progress;
    GroupLevels m_levels;
    catalogue::PictureStore m_pictures;
    Columns m_col{m_tables.items};
};

} // namespace

PriceListTables::PriceListTables()
    : header(priceListHeaderTable())
    , sheets(priceListSheetsTable())
    , groups(priceListGroupsTable())
    , items(priceListItemsTable()) {}

int priceListPrintType(bool withGroups, bool exportToSpreadsheet) {
    if (exportToSpreadsheet)
        return withGroups ? print_type::CatalogueWithGroupsExport
                          : print_type::CatalogueWithoutGroupsExport;
    return withGroups ? print_type::CatalogueWithGroups : print_type::CatalogueWithoutGroups;
}

std::optional<PriceListTables> fillPriceListTables(const ReportContext& context,
                                                   const core::CatalogueView& view,
                                                   const PriceListSettings& settings,
                                                   core::UserInteraction& ui) {
    PriceListTables tables;
    tables.withGroups = view.groupsShown;
    Filler filler(context, view, settings, ui, tables);
    if (!filler.run())
        return std::nullopt;
    return tables;
}

namespace {

// The tables in the order of the print type with their relations; `add` hands one over.
template <typename Add>
void addTables(DataSetWriter& writer, const PriceListTables& tables, const Add& add) {
    add(tables.header);
    add(tables.sheets);
    if (tables.withGroups) {
        add(tables.groups);
        add(tables.items);
        writer.addRelation(QStringLiteral("Sklady_Skupiny"), QStringLiteral("mtTiskSklady"),
                           QStringLiteral("ID"), QStringLiteral("mtTiskSkupiny"),
                           QStringLiteral("Sklad"));
        writer.addRelation(QStringLiteral("Skupiny_Zasoby"), QStringLiteral("mtTiskSkupiny"),
                           QStringLiteral("ID"), QStringLiteral("mtTiskZasoby"),
                           QStringLiteral("Skupina"));
    } else {
        add(tables.items);
        writer.addRelation(QStringLiteral("Sklady_Zasoby"), QStringLiteral("mtTiskSklady"),
                           QStringLiteral("ID"), QStringLiteral("mtTiskZasoby"),
                           QStringLiteral("Sklad"));
    }
}

} // namespace

void addPriceListTables(DataSetWriter& writer, const PriceListTables& tables) {
    addTables(writer, tables, [&writer](const ReportTable& t) { writer.addTable(t); });
}

void addPriceListTables(DataSetWriter& writer,
                        const std::shared_ptr<const PriceListTables>& tables) {
    // Each table shares the ownership of the whole set: nothing is copied.
    addTables(writer, *tables, [&](const ReportTable& t) {
        writer.addTable(std::shared_ptr<const ReportTable>(tables, &t));
    });
}

} // namespace orvento::output
