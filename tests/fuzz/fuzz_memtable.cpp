// The text form of an in-memory table, kept in the database for grid layouts and the snapshots
// of the action history: read back, and written again as the program does after a change.
#include "FuzzSupport.h"

#include "services/MemTableText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvento;
    const auto table = services::readMemTable(QString::fromUtf8(fuzz::bytes(data, size)));
    if (table) {
        (void)table->fieldIndex(QStringLiteral("Nazev"));
        (void)services::readMemTable(services::writeMemTable(*table, true));
        (void)services::writeMemTable(*table, false);
    }
    return 0;
}
