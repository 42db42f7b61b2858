#pragma once

#include <QtGlobal>

namespace orvento::core {
class Database;
}

namespace orvento::catalogue {

// The demo agenda's price list: a few hundred items with Czech names, catalogue numbers, bar
// codes, units, purchase prices, margins and VAT 21/12/0 %, put into the groups the demo agenda
// already has. Every price is computed by the item pricing, as the item card would store it.
bool fillDemoCatalogue(core::Database& db);

// `count` generated items in one group of one sheet, in one transaction; for trying the
// catalogue at the size of a large firm's price list. `seed` varies the names and prices.
bool generateItems(core::Database& db, qint64 sheetId, qint64 groupId, int count, quint32 seed);

} // namespace orvento::catalogue
