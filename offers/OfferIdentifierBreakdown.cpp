#include "offers/OfferIdentifierBreakdown.h"

#include "catalogue/IdentifierCodes.h"
#include "catalogue/IdentifierRecords.h"
#include "core/AppContext.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/UserInteraction.h"
#include "offers/OfferCardLogic.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace orvento::offers {

namespace {

// Codes meet ignoring letter case, Czech letters too: the case-folded code is their key.
QString keyOf(const QString& code) {
    return code.toCaseFolded();
}

// The sums of one row while it is built: long doubles, so a thousand items add up without
// drifting in the last cent.
struct RowSums {
    IdentifierBreakdownRow row;
    long double purchase = 0;
    long double net = 0;
    long double gross = 0;
    long double profit = 0;
};

} // namespace

std::vector<IdentifierBreakdownRow>
buildIdentifierBreakdown(const std::vector<OfferItem>& items,
                         const std::vector<catalogue::Identifier>& defined, bool purchaseRight) {
    QHash<QString, const catalogue::Identifier*> byCode;
    for (const catalogue::Identifier& identifier : defined)
        if (const QString key = keyOf(identifier.Zkratka); !byCode.contains(key))
            byCode.insert(key, &identifier);

    std::vector<RowSums> sums;
    QHash<QString, std::size_t> rowOf;
    const auto rowFor = [&](const QString& code) -> RowSums& {
        const QString key = keyOf(code);
        if (const auto found = rowOf.constFind(key); found != rowOf.constEnd())
            return sums[*found];
        RowSums added;
        added.row.ZkrIdent = code;
        // An item without identifiers counts under the empty code, which is never shown.
        added.row.Nepouzivat = code.isEmpty();
        if (const catalogue::Identifier* known = byCode.value(key)) {
            added.row.PopisIdent = known->Popis;
            added.row.Nepouzivat = added.row.Nepouzivat || known->Nepouzivat;
        }
        rowOf.insert(key, sums.size());
        sums.push_back(std::move(added));
        return sums.back();
    };

    for (const OfferItem& item : items) {
        QStringList codes = catalogue::splitIdentifiers(item.Identif);
        if (codes.isEmpty())
            codes << QString();
        // A list written elsewhere may name a code twice; the item still counts once under it.
        QSet<QString> counted;
        for (const QString& code : std::as_const(codes)) {
            const QString key = keyOf(code);
            if (counted.contains(key))
                continue;
            counted.insert(key);
            RowSums& row = rowFor(code);
            row.net += item.PCBDPHPOL;
            row.gross += item.PCSDPHPOL;
            if (purchaseRight) {
                row.purchase += static_cast<long double>(item.NakCena) * item.PocetMJ;
                row.profit += item.ZiskPol;
            }
        }
    }

    std::vector<IdentifierBreakdownRow> shown;
    for (RowSums& s : sums) {
        if (s.row.Nepouzivat)
            continue;
        s.row.NakCena = static_cast<double>(s.purchase);
        s.row.ProdBDPH = static_cast<double>(s.net);
        s.row.ProdSDPH = static_cast<double>(s.gross);
        s.row.Zisk = static_cast<double>(s.profit);
        shown.push_back(std::move(s.row));
    }
    return shown;
}

std::optional<std::vector<IdentifierBreakdownRow>>
buildIdentifierBreakdown(core::Database& agenda, const std::vector<OfferItem>& items,
                         bool purchaseRight) {
    const auto defined = catalogue::readIdentifiers(agenda);
    if (!defined)
        return std::nullopt;
    return buildIdentifierBreakdown(items, *defined, purchaseRight);
}

std::vector<std::size_t> itemsCarrying(const std::vector<OfferItem>& items,
                                       const QStringList& codes) {
    QSet<QString> wanted;
    for (const QString& code : codes)
        wanted.insert(keyOf(code));
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const QStringList carried = catalogue::splitIdentifiers(items[i].Identif);
        if (std::any_of(carried.begin(), carried.end(),
                        [&wanted](const QString& c) { return wanted.contains(keyOf(c)); }))
            found.push_back(i);
    }
    return found;
}

// The window ----------------------------------------------------------------------------------

IdentifierBreakdown::IdentifierBreakdown(core::AppContext& context, OfferCardLogic& card,
                                         std::vector<IdentifierBreakdownRow> rows)
    : m_context(context)
    , m_card(card)
    , m_rows(std::move(rows))
    , m_marks(m_rows.size(), false) {
    if (!m_rows.empty())
        m_current = 0;
}

std::optional<IdentifierBreakdown> IdentifierBreakdown::open(core::AppContext& context,
                                                             OfferCardLogic& card) {
    auto rows = buildIdentifierBreakdown(context.db().agenda, card.offer().items(),
                                         core::programState().user.nakupniCeny);
    if (!rows) {
        context.ui().error(core::readFailedMessage());
        return std::nullopt;
    }
    return IdentifierBreakdown(context, card, std::move(*rows));
}

QString IdentifierBreakdown::note() {
    return QStringLiteral(
        "Součet všech řádků rozpisu nemusí souhlasit s celkovou cenou nabídky: položky bez "
        "identifikátoru se v rozpisu neobjeví, stejně jako identifikátory s nastavením "
        "\"nepoužívat v rozpisu\", a položka s více identifikátory se započítá u každého z nich.");
}

const std::vector<IdentifierBreakdown::Column>& IdentifierBreakdown::columns() {
    static const std::vector<Column> list = {
        {QStringLiteral("ZkrIdent"), QStringLiteral("Zkratka"), false, false},
        {QStringLiteral("PopisIdent"), QStringLiteral("Popis"), false, false},
        {QStringLiteral("NakCena"), QStringLiteral("Nák. cena "), true, true},
        {QStringLiteral("ProdBDPH"), QStringLiteral("Bez DPH "), true, false},
        {QStringLiteral("ProdSDPH"), QStringLiteral("S DPH "), true, false},
        {QStringLiteral("Zisk"), QStringLiteral("Zisk "), true, true},
    };
    return list;
}

bool IdentifierBreakdown::columnHidden(int column) const {
    const auto& list = columns();
    return column >= 0 && column < static_cast<int>(list.size()) &&
           list[static_cast<std::size_t>(column)].purchase && !purchasePricesVisible();
}

void IdentifierBreakdown::setCurrent(std::optional<std::size_t> row) {
    if (row && *row >= m_rows.size())
        return;
    m_current = row;
}

void IdentifierBreakdown::setMark(std::size_t row, bool marked) {
    if (row < m_marks.size())
        m_marks[row] = marked;
}

void IdentifierBreakdown::markAll(bool marked) {
    m_marks.assign(m_rows.size(), marked);
}

MarkedSums IdentifierBreakdown::markedSums() const {
    long double purchase = 0, net = 0, gross = 0, profit = 0;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (!m_marks[i])
            continue;
        purchase += m_rows[i].NakCena;
        net += m_rows[i].ProdBDPH;
        gross += m_rows[i].ProdSDPH;
        profit += m_rows[i].Zisk;
    }
    return {static_cast<double>(purchase), static_cast<double>(net), static_cast<double>(gross),
            static_cast<double>(profit)};
}

bool IdentifierBreakdown::sumOfMarksShown() {
    return OfferCardLogic::sumOfMarksShown();
}

void IdentifierBreakdown::rememberSumOfMarks(bool shown) {
    OfferCardLogic::rememberSumOfMarks(shown);
}

void IdentifierBreakdown::markInOffer() {
    QStringList codes;
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        if (m_marks[i])
            codes << m_rows[i].ZkrIdent;
    if (codes.isEmpty() && m_current)
        codes << m_rows[*m_current].ZkrIdent;
    m_card.markOnly(itemsCarrying(m_card.offer().items(), codes));
}

void IdentifierBreakdown::togglePurchasePrices() {
    m_card.togglePurchasePrices();
}

bool IdentifierBreakdown::purchasePricesVisible() const {
    return m_card.purchasePricesVisible();
}

} // namespace orvento::offers
