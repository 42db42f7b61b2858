#pragma once

#include <QString>

namespace orvento::core {
class Database;
}

namespace orvento::import {

// The demo list of firms to import beside the supplier price lists: a few hundred Czech firms,
// among them some of the demo address book's firms with the same IČO and the name in capitals,
// so that a run by IČO updates those and adds the others.
QString demoAddressFileName();
QString demoAddressDefinitionName();
// Writes the list drawn from the demo address book in `demo` to `path`. False when it cannot.
bool writeDemoAddressList(core::Database& demo, const QString& path);
// Stores its definition in `demo`: compared by IČO, firms not found added, the file under
// %DATAPATH%. False with `error`.
bool fillDemoAddressDefinition(core::Database& demo, QString& error);

} // namespace orvento::import
