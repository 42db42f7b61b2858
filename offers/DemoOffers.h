#pragma once

namespace orvento::core {
class Database;
}

namespace orvento::offers {

// A handful of offers for the demo agenda, in several states, made through the working copy and
// the store so that their totals, numbers and history are what the program itself would write:
// items from the demo price list (free items when it is empty), a title and a text item, and one
// linked document in the offer's shared folder (the file itself comes with the program, in
// Res/DEMO/Nabidky/1/, and is put into the data folder with the demo agenda). Before them the
// offer templates with formatted texts, one of them the demo user's default for new offers.
bool fillDemoOffers(core::Database& db);

} // namespace orvento::offers
