#include "core/sources/XbaseMemo.h"

#include <QFileInfo>
#include <QtEndian>

namespace orvento::core::sources {

namespace {

constexpr qint64 dbaseBlockSize = 512;
constexpr qint64 memoFileHeaderLength = 512;
constexpr qint64 foxProBlockSizeAt = 6;
constexpr qint64 dbaseIVBlockSizeAt = 20;
// A FoxPro memo starts with its type and length (big-endian); a dBase IV one with a mark and its
// length (little-endian, the eight header bytes counted in).
constexpr qint64 memoBlockHeaderLength = 8;
constexpr quint32 dbaseIVMemoMark = 0x0008FFFF;
constexpr char dbaseIIIEndMark = 0x1A;
constexpr qsizetype memoLengthAt = 4;
constexpr qsizetype memoMarkLength = 4;

} // namespace

std::unique_ptr<XbaseMemoFile> XbaseMemoFile::open(const QString& tablePath, XbaseMemoStyle style,
                                                   QString& error) {
    if (style == XbaseMemoStyle::None)
        style = XbaseMemoStyle::DbaseIII; // a table that forgot to say it has memos
    const QString extension =
        style == XbaseMemoStyle::FoxPro ? QStringLiteral("fpt") : QStringLiteral("dbt");
    const QString path = xbaseCompanionFile(tablePath, extension);
    if (path.isEmpty()) {
        error = QStringLiteral("K tabulce %1 chybí soubor poznámek (*.%2).")
                    .arg(QFileInfo(tablePath).fileName(), extension);
        return nullptr;
    }
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Soubor poznámek %1 nelze otevřít pro čtení.").arg(path);
        return nullptr;
    }
    const QByteArray header = probe.read(memoFileHeaderLength);
    qint64 blockSize = dbaseBlockSize;
    if (style == XbaseMemoStyle::FoxPro) {
        blockSize = header.size() >= foxProBlockSizeAt + 2
                        ? qFromBigEndian<quint16>(header.constData() + foxProBlockSizeAt)
                        : 0;
    } else if (style == XbaseMemoStyle::DbaseIV && header.size() >= dbaseIVBlockSizeAt + 2) {
        const qint64 stored = qFromLittleEndian<quint16>(header.constData() + dbaseIVBlockSizeAt);
        if (stored != 0)
            blockSize = stored;
    }
    if (blockSize == 0) {
        error = QStringLiteral("Soubor poznámek %1 je poškozený.").arg(path);
        return nullptr;
    }
    auto memo = std::unique_ptr<XbaseMemoFile>(new XbaseMemoFile(style, blockSize, probe.size()));
    probe.close();
    memo->m_file.setFileName(path);
    if (!memo->m_file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Soubor poznámek %1 nelze otevřít pro čtení.").arg(path);
        return nullptr;
    }
    return memo;
}

QString XbaseMemoFile::damaged() const {
    return QStringLiteral("Soubor poznámek %1 je poškozený: poznámka leží mimo soubor.")
        .arg(m_file.fileName());
}

std::optional<QByteArray> XbaseMemoFile::read(quint64 block, QString& error) {
    if (block == 0)
        return QByteArray(); // block 0 holds the file's header: no memo
    if (block > static_cast<quint64>(m_size / m_blockSize)) {
        error = damaged();
        return std::nullopt;
    }
    const qint64 start = static_cast<qint64>(block) * m_blockSize;
    if (start >= m_size || !m_file.seek(start)) {
        error = damaged();
        return std::nullopt;
    }
    if (m_style == XbaseMemoStyle::DbaseIII)
        return readUpToEndMark();
    const QByteArray head = m_file.read(memoBlockHeaderLength);
    if (m_style == XbaseMemoStyle::FoxPro) {
        if (head.size() != memoBlockHeaderLength) {
            error = damaged();
            return std::nullopt;
        }
        return readCounted(start, qFromBigEndian<quint32>(head.constData() + memoLengthAt), error);
    }
    const bool marked = head.size() >= memoMarkLength &&
                        qFromLittleEndian<quint32>(head.constData()) == dbaseIVMemoMark;
    if (!marked) {
        // A dBase IV file whose memo was written the dBase III way.
        if (!m_file.seek(start)) {
            error = damaged();
            return std::nullopt;
        }
        return readUpToEndMark();
    }
    if (head.size() != memoBlockHeaderLength) {
        error = damaged();
        return std::nullopt;
    }
    // dBase IV counts the eight header bytes in the memo's length.
    return readCounted(
        start, qFromLittleEndian<quint32>(head.constData() + memoLengthAt) - memoBlockHeaderLength,
        error);
}

std::optional<QByteArray> XbaseMemoFile::readCounted(qint64 start, qint64 storedLength,
                                                     QString& error) {
    if (storedLength < 0 || start + memoBlockHeaderLength + storedLength > m_size) {
        error = damaged();
        return std::nullopt;
    }
    QByteArray bytes = m_file.read(storedLength);
    if (bytes.size() != storedLength) {
        error = damaged();
        return std::nullopt;
    }
    return bytes;
}

QByteArray XbaseMemoFile::readUpToEndMark() {
    // Ends at the end mark, or at the end of the file when the mark was never written.
    QByteArray bytes;
    while (!m_file.atEnd()) {
        const QByteArray chunk = m_file.read(dbaseBlockSize);
        if (chunk.isEmpty())
            break;
        const qsizetype mark = chunk.indexOf(dbaseIIIEndMark);
        if (mark >= 0) {
            bytes += chunk.first(mark);
            return bytes;
        }
        bytes += chunk;
    }
    return bytes;
}

} // namespace orvento::core::sources
