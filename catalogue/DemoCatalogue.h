#pragma once

#include <QString>

namespace orvento::core {
class Database;
}

namespace orvento::catalogue {

// The demo agenda's price list: a few hundred items with Czech names, catalogue numbers, bar
// codes, units, availability, purchase prices, margins and VAT 21/12/0 %, put into the groups
// the demo agenda already has; price levels ("DEALER", "VO", ...) and price groups using them,
// most items in a price group, some with fixed level prices, a few with a picture. Every price
// is computed by the pricing routines, as the item card would store it. One unit of work.
bool fillDemoCatalogue(core::Database& db);

// The pictures the demo items name, as small JPEGs in the picture store `folder`.
bool writeDemoPictures(const QString& folder);

// `count` generated items in one group of one sheet, in one transaction; for trying the
// catalogue at the size of a large firm's price list. `seed` varies the names and prices.
bool generateItems(core::Database& db, qint64 sheetId, qint64 groupId, int count, quint32 seed);

} // namespace orvento::catalogue
