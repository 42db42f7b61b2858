// The register's REST answer about one firm, as it comes over the network.
#include "FuzzSupport.h"

#include "addressbook/AresReaders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvento;
    addressbook::AresRecord record =
        addressbook::readAresJson(fuzz::bytes(data, size), QStringLiteral("25596641"));
    record.fitToCard();
    return 0;
}
