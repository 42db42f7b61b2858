#include "offers/HistoryView.h"

#include "catalogue/pricing/FieldPrecision.h"
#include "core/AmountFormat.h"
#include "core/ProgramState.h"
#include "offers/OfferStates.h"

namespace orvento::offers {

namespace {

QVariant valueOf(const services::MemTable& table, std::size_t row, const char* field) {
    const int at = table.fieldIndex(QString::fromLatin1(field));
    if (at < 0 || row >= table.rows.size())
        return {};
    return table.rows[row][static_cast<std::size_t>(at)];
}

QString dateText(const QVariant& value) {
    const QDateTime dt = value.toDateTime();
    return dt.isValid() ? dt.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

QString sumText(const QVariant& value) {
    return core::formatAmount(catalogue::toFieldPrecision(value.toDouble())) + QLatin1Char(' ') +
           core::programState().settings.symbolMeny.trimmed();
}

} // namespace

HistoryView::HistoryView(core::Database& agenda, qint64 offerId)
    : m_db(agenda)
    , m_offerId(offerId) {}

QString HistoryView::caption() {
    return QStringLiteral("Historie akcí");
}

QString HistoryView::helpText() {
    return QStringLiteral("Pomocí historie akcí (seznam se plní automaticky po každém uložení "
                          "dokladu) můžete dohledat prováděné změny s konkrétní nabídkou. Úroveň "
                          "logování je možné nastavit v globálním nastavení programu.");
}

QString HistoryView::noPreviewText() {
    return QStringLiteral("Náhled není k dispozici.");
}

QStringList HistoryView::columnTitles() {
    return {QStringLiteral("Datum"), QStringLiteral("Čas"), QStringLiteral("Typ akce"),
            QStringLiteral("Uživatel"), QStringLiteral("Popis")};
}

QStringList HistoryView::itemColumnTitles() {
    return {QStringLiteral("Popis položky"), QStringLiteral("Počet"), QStringLiteral("m.j."),
            QStringLiteral("Za m.j. bez DPH")};
}

bool HistoryView::purchaseSumsVisible() {
    return core::programState().purchasePricesVisible();
}

bool HistoryView::open() {
    auto rows = services::offerHistory(m_db, m_offerId);
    if (!rows)
        return false;
    m_rows = std::move(*rows);
    select(m_rows.empty() ? std::nullopt : std::optional<std::size_t>(m_rows.size() - 1));
    return true;
}

QStringList HistoryView::rowTexts(std::size_t index) const {
    if (index >= m_rows.size())
        return {};
    const services::ActionRow& row = m_rows[index];
    return {row.actionDate.toString(QStringLiteral("dd.MM.yyyy")),
            row.actionDate.toString(QStringLiteral("hh:mm")),
            services::actionTypeText(row.actionType), row.userName, row.description};
}

void HistoryView::select(std::optional<std::size_t> index) {
    m_current = index && *index < m_rows.size() ? index : std::nullopt;
    m_preview.reset();
    if (!m_current)
        return;
    const services::ActionRow& row = m_rows[*m_current];
    buildPreview(services::readSnapshots(m_db, row.id), row.actionDate);
}

void HistoryView::buildPreview(const services::ActionSnapshots& snapshots, const QDateTime& when) {
    if (!snapshots.offer || snapshots.offer->rows.empty())
        return;
    const services::MemTable& offer = *snapshots.offer;
    Preview p;
    p.caption = QStringLiteral("Náhled na nabídku %1 k %2 hod.")
                    .arg(valueOf(offer, 0, "Doklad").toString(),
                         when.toString(QStringLiteral("dd.MM.yyyy hh:mm")));
    p.popis = valueOf(offer, 0, "Popis").toString();
    p.stav = stateText(valueOf(offer, 0, "IDStav").toInt());
    p.vystaveno = dateText(valueOf(offer, 0, "DatVystaveni"));
    p.platnost = dateText(valueOf(offer, 0, "DatPlatnosti"));
    p.vyrizeno = dateText(valueOf(offer, 0, "DatVyrizeni"));
    for (const char* field : {"AdrNazev", "AdrKontakt", "AdrUlice", "AdrPsc", "AdrMisto"})
        p.odberatel << valueOf(offer, 0, field).toString();
    p.celkemNC = sumText(valueOf(offer, 0, "CelkemNC"));
    p.zisk = sumText(valueOf(offer, 0, "Zisk"));
    p.celkemBDPH = sumText(valueOf(offer, 0, "CelkemBDPH"));
    p.celkem = sumText(valueOf(offer, 0, "Celkem"));
    if (snapshots.items) {
        const services::MemTable& items = *snapshots.items;
        for (std::size_t r = 0; r < items.rows.size(); ++r) {
            PreviewItem item;
            item.title = valueOf(items, r, "Nadpisova").toBool();
            const bool textOnly = item.title || valueOf(items, r, "Textova").toBool();
            item.cells << valueOf(items, r, "Popis").toString();
            if (textOnly)
                item.cells << QString() << QString() << QString();
            else
                item.cells << core::formatQuantity(valueOf(items, r, "PocetMJ").toDouble())
                           << valueOf(items, r, "MJ").toString()
                           << core::formatAmount(valueOf(items, r, "PCBDPHMJ").toDouble());
            p.items.push_back(std::move(item));
        }
    }
    m_preview = std::move(p);
}

} // namespace orvento::offers
