#pragma once

#include "core/sources/XbaseLayout.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>
#include <optional>

namespace orvento::core::sources {

// The memo file beside a table (.dbt for dBase, .fpt for FoxPro), read a memo at a time.
class XbaseMemoFile {
public:
    // Opens the memo file of the table at `tablePath`: the same name with the style's extension
    // in any letter case. Nothing, with a Czech message, when it is missing or damaged.
    static std::unique_ptr<XbaseMemoFile> open(const QString& tablePath, XbaseMemoStyle style,
                                               QString& error);

    // The bytes of the memo starting at the block; nothing, with a Czech message, when the
    // block or the memo's length lies beyond the file.
    std::optional<QByteArray> read(quint64 block, QString& error);

private:
    XbaseMemoFile(XbaseMemoStyle style, qint64 blockSize, qint64 size)
        : m_style(style)
        , m_blockSize(blockSize)
        , m_size(size) {}

    // From the file's position up to the end mark, or to the end of the file.
    QByteArray readUpToEndMark();
    // The memo after a block header at `start`, as long as the header says.
    std::optional<QByteArray> readCounted(qint64 start, qint64 storedLength, QString& error);
    QString damaged() const;

    QFile m_file;
    XbaseMemoStyle m_style;
    qint64 m_blockSize;
    qint64 m_size;
};

} // namespace orvento::core::sources
