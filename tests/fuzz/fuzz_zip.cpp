// The zip reader under the workbook readers: entries read whole and as XML streams, under a
// small unpacking budget so that running over it is tried as often as reading within it.
#include "FuzzSupport.h"

#include "core/sources/ZipArchive.h"

#include <QStringList>

namespace {

constexpr qint64 kBudget = 1024 * 1024;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvento::core::sources;
    const QString path =
        orvento::fuzz::writeFile(QStringLiteral("archiv.zip"), orvento::fuzz::bytes(data, size));
    QString error;
    const auto archive = ZipArchive::open(path, error, kBudget);
    if (!archive)
        return 0;
    const QStringList names{QStringLiteral("mimetype"),
                            QStringLiteral("[Content_Types].xml"),
                            QStringLiteral("xl/workbook.xml"),
                            QStringLiteral("content.xml"),
                            QStringLiteral("xl/sharedStrings.xml"),
                            QStringLiteral("xl/worksheets/sheet1.xml")};
    for (const QString& name : names) {
        if (!archive->contains(name))
            continue;
        archive->renewBudget();
        (void)archive->read(name, error);
        archive->renewBudget();
        if (const auto stream = ZipXmlStream::open(*archive, name, error))
            (void)stream->forEach([](QXmlStreamReader&) { return true; }, error);
    }
    return 0;
}
