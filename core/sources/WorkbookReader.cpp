#include "core/sources/Readers.h"
#include "core/sources/XlsReaders.h"
#include "core/sources/ZipArchive.h"

#include <QFile>
#include <QFileInfo>

namespace orvento::core::sources {

namespace {

// The container of Excel 97 files, and the start of every zip.
constexpr char compoundSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr char zipSignature[] = "PK\x03\x04";
constexpr qsizetype signatureSize = 8;
const QString xlsxWorkbook = QStringLiteral("xl/workbook.xml");
const QString odsMimeEntry = QStringLiteral("mimetype");
const QByteArray odsMimeType = QByteArrayLiteral("application/vnd.oasis.opendocument.spreadsheet");

} // namespace

std::unique_ptr<ImportSource> openWorkbookWithBudget(const QString& path, QString& error,
                                                     qint64 budget) {
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        error = QStringLiteral("Soubor \"%1\" neexistuje.").arg(path);
        return nullptr;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Soubor \"%1\" se nepodařilo otevřít.").arg(path);
        return nullptr;
    }
    const QByteArray start = file.read(signatureSize);
    file.close();
    if (start == QByteArray(compoundSignature, signatureSize))
        return openXlsFile(path, error);
    if (start.startsWith(zipSignature)) {
        auto archive = ZipArchive::open(path, error, budget);
        if (!archive)
            return nullptr;
        if (archive->contains(xlsxWorkbook))
            return openXlsxArchive(std::move(archive), error);
        if (archive->contains(odsMimeEntry)) {
            const auto mime = archive->read(odsMimeEntry, error);
            if (!mime)
                return nullptr;
            if (mime->trimmed().startsWith(odsMimeType))
                return openOdsArchive(std::move(archive), error);
        }
    }
    error = QStringLiteral("Soubor \"%1\" není sešitem MS Excel (*.xls, *.xlsx) ani OpenDocument "
                           "(*.ods).")
                .arg(path);
    return nullptr;
}

std::unique_ptr<ImportSource> openWorkbook(const QString& path, QString& error) {
    return openWorkbookWithBudget(path, error, ZipArchive::defaultBudget);
}

} // namespace orvento::core::sources
