// A dBase or FoxPro table with its memo file beside it. The input is both files: two bytes
// (little-endian) with the table's length, the table, then the memo file, written under both
// names a memo file may have.
#include "FuzzSupport.h"
#include "SourceDrain.h"

#include "core/sources/ImportSource.h"

#include <QtEndian>

namespace {

constexpr std::size_t kLengthBytes = 2;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvento;
    if (size < kLengthBytes)
        return 0;
    const std::size_t tableSize =
        std::min<std::size_t>(qFromLittleEndian<quint16>(data), size - kLengthBytes);
    const std::uint8_t* table = data + kLengthBytes;
    const std::uint8_t* memo = table + tableSize;
    const std::size_t memoSize = size - kLengthBytes - tableSize;
    const QString path =
        fuzz::writeFile(QStringLiteral("cenik.dbf"), fuzz::bytes(table, tableSize));
    fuzz::writeFile(QStringLiteral("cenik.fpt"), fuzz::bytes(memo, memoSize));
    fuzz::writeFile(QStringLiteral("cenik.dbt"), fuzz::bytes(memo, memoSize));
    QString error;
    if (const auto source = core::sources::openSource(core::sources::SourceKind::Dbf, path, error))
        fuzz::drainSource(*source);
    return 0;
}
