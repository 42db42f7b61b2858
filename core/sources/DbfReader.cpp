#include "core/sources/Readers.h"
#include "core/sources/TextCodec.h"
#include "core/sources/XbaseCodePage.h"
#include "core/sources/XbaseColumns.h"
#include "core/sources/XbaseLayout.h"
#include "core/sources/XbaseMemo.h"
#include "core/sources/XbaseRecord.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <utility>

namespace orvento::core::sources {

namespace {

constexpr char deletedMark = '*';
constexpr qint64 readChunkBytes = 256 * 1024;
// Czech Windows' own code page, for a table whose header names none.
constexpr int defaultCodePage = 1250;

// The code page of a table: a .cpg file beside it wins over the header's language driver.
QByteArray tableEncoding(const QString& path, quint8 languageDriver) {
    if (const QString codePageFile = xbaseCompanionFile(path, QStringLiteral("cpg"));
        !codePageFile.isEmpty()) {
        QFile file(codePageFile);
        constexpr qint64 longestName = 64;
        if (file.open(QIODevice::ReadOnly)) {
            if (QByteArray named = xbaseCodePageFileEncoding(file.read(longestName));
                !named.isEmpty())
                return named;
        }
    }
    if (QByteArray driver = xbaseDriverEncoding(languageDriver); !driver.isEmpty())
        return driver;
    return codePageEncodingName(defaultCodePage);
}

// Reads whole records from the data part of the file, a chunk at a time.
class RecordStream {
public:
    RecordStream(QFile& file, const XbaseLayout& layout)
        : m_file(file)
        , m_layout(layout)
        , m_chunkRecords(std::max<qint64>(1, readChunkBytes / layout.recordLength)) {}

    bool start() { return m_file.seek(m_layout.headerLength); }

    // The next record, live or deleted; empty at the end or when the file was cut short since
    // it was opened.
    QByteArrayView next() {
        if (m_remaining == 0)
            return {};
        if (m_at >= m_chunk.size()) {
            const qint64 records = std::min(m_chunkRecords, m_remaining);
            m_chunk = m_file.read(records * m_layout.recordLength);
            m_at = 0;
            if (m_chunk.size() != records * m_layout.recordLength) {
                m_failed = true;
                m_remaining = 0;
                return {};
            }
        }
        const QByteArrayView record(m_chunk.constData() + m_at, m_layout.recordLength);
        m_at += m_layout.recordLength;
        --m_remaining;
        return record;
    }

    bool failed() const { return m_failed; }

private:
    QFile& m_file;
    const XbaseLayout& m_layout;
    qint64 m_chunkRecords;
    qint64 m_remaining = m_layout.recordCount;
    QByteArray m_chunk;
    qsizetype m_at = 0;
    bool m_failed = false;
};

class DbfTable final : public SourceTable {
public:
    DbfTable(QString path, XbaseLayout layout, std::unique_ptr<XbaseRecordReader> records)
        : m_layout(std::move(layout))
        , m_records(std::move(records))
        , m_columns(m_records->columns()) {
        m_file.setFileName(path);
    }

    // Opens the file and counts the live records in a pass of their own.
    bool start(QString& error) {
        if (!m_file.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("Soubor %1 nelze otevřít pro čtení.").arg(m_file.fileName());
            return false;
        }
        RecordStream counter(m_file, m_layout);
        if (!counter.start()) {
            error = readFailure();
            return false;
        }
        for (QByteArrayView record = counter.next(); !record.isEmpty(); record = counter.next()) {
            if (record[0] != deletedMark)
                ++m_rowCount;
        }
        if (counter.failed()) {
            error = readFailure();
            return false;
        }
        m_stream = std::make_unique<RecordStream>(m_file, m_layout);
        if (!m_stream->start()) {
            error = readFailure();
            return false;
        }
        return true;
    }

    QStringList columns() const override { return m_columns; }
    bool select(const QStringList& names, QString& error) {
        if (!m_records->selectColumns(names, error))
            return false;
        m_columns = m_records->columns();
        return true;
    }
    qint64 rowCount() const override { return m_rowCount; }
    QString error() const override { return m_error; }

    bool next(Row& row) override {
        if (!m_error.isEmpty())
            return false;
        for (QByteArrayView record = m_stream->next(); !record.isEmpty();
             record = m_stream->next()) {
            if (record[0] == deletedMark)
                continue;
            return m_records->decode(record, row, m_error);
        }
        if (m_stream->failed())
            m_error = readFailure();
        return false;
    }

private:
    QString readFailure() const {
        return QStringLiteral("Při čtení souboru %1 došlo k chybě (soubor je zkrácený?).")
            .arg(m_file.fileName());
    }

    QFile m_file;
    XbaseLayout m_layout;
    std::unique_ptr<XbaseRecordReader> m_records;
    QStringList m_columns;
    std::unique_ptr<RecordStream> m_stream;
    qint64 m_rowCount = 0;
    QString m_error;
};

std::unique_ptr<DbfTable> openXbaseTable(const QString& path, QString& error) {
    QFile file(path);
    if (!file.exists()) {
        error = QStringLiteral("Soubor %1 neexistuje.").arg(path);
        return nullptr;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Soubor %1 nelze otevřít pro čtení.").arg(path);
        return nullptr;
    }
    const qint64 fileSize = file.size();
    if (fileSize == 0) {
        error = QStringLiteral("Soubor %1 je prázdný.").arg(path);
        return nullptr;
    }
    const QByteArray prefix = file.read(xbasePrefixLength);
    const qint64 headerLength = std::min(xbaseHeaderLength(prefix), fileSize);
    const QByteArray header = prefix + file.read(std::max<qint64>(0, headerLength - prefix.size()));
    auto layout = readXbaseLayout(header, fileSize, path, error);
    if (!layout)
        return nullptr;
    std::unique_ptr<XbaseMemoFile> memo;
    if (layout->needsMemoFile()) {
        memo = XbaseMemoFile::open(path, layout->memoStyle, error);
        if (!memo)
            return nullptr;
    }
    const QByteArray encoding = tableEncoding(path, layout->languageDriver);
    auto records = std::make_unique<XbaseRecordReader>(*layout, encoding, std::move(memo));
    auto table = std::make_unique<DbfTable>(path, *std::move(layout), std::move(records));
    if (!table->start(error))
        return nullptr;
    return table;
}

// One xBase table, whatever its file is called (Money keeps its tables as .dat files).
class DbfSource final : public ImportSource {
public:
    DbfSource(QString path, std::unique_ptr<DbfTable> opened)
        : m_path(std::move(path))
        , m_opened(std::move(opened)) {}

    QStringList tables() const override { return {QFileInfo(m_path).completeBaseName()}; }

    // The table checked when the file was opened is handed out first, so the usual open and
    // read goes over the records once; a later request reads the file again.
    std::unique_ptr<SourceTable> openTable(const QString&, QString& error) override {
        if (m_opened)
            return std::move(m_opened);
        return openXbaseTable(m_path, error);
    }

private:
    QString m_path;
    std::unique_ptr<DbfTable> m_opened;
};

} // namespace

std::unique_ptr<SourceTable> openXbaseColumns(const QString& path, const QStringList& columns,
                                              QString& error) {
    auto table = openXbaseTable(path, error);
    if (!table)
        return nullptr;
    if (!table->select(columns, error)) {
        error = QStringLiteral("%1: %2").arg(path, error);
        return nullptr;
    }
    return table;
}

std::unique_ptr<ImportSource> openDbfFile(const QString& path, QString& error) {
    // Opened here so that a file that is no table is told at once.
    auto table = openXbaseTable(path, error);
    if (!table)
        return nullptr;
    return std::make_unique<DbfSource>(path, std::move(table));
}

} // namespace orvento::core::sources
