#include "core/sources/CompoundFileCheck.h"

#include <QtEndian>

#include <cstring>
#include <optional>
#include <vector>

namespace orvento::core::sources {

namespace {

constexpr char kSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr qsizetype kSignatureSize = 8;
constexpr qsizetype kHeaderSize = 512;
constexpr qsizetype kSectorShiftAt = 0x1E;
constexpr qsizetype kFatSectorCountAt = 0x2C;
constexpr qsizetype kFirstDirectorySectorAt = 0x30;
constexpr qsizetype kFirstDifatSectorAt = 0x44;
constexpr qsizetype kDifatSectorCountAt = 0x48;
constexpr qsizetype kHeaderDifatAt = 0x4C;
constexpr quint32 kHeaderDifatEntries = 109;
// Version 3 files have 512-byte sectors, version 4 files 4096-byte ones.
constexpr quint16 kSmallSectorShift = 9;
constexpr quint16 kLargeSectorShift = 12;
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFreeSector = 0xFFFFFFFF;
constexpr qsizetype kEntrySize = 128;
constexpr qsizetype kNameLengthAt = 64;
// The name field holds 32 UTF-16 units, the terminating zero included.
constexpr quint16 kMaxNameBytes = 64;

class CompoundFile {
public:
    explicit CompoundFile(const QByteArray& file)
        : m_file(file) {}

    bool sound() {
        if (m_file.size() < kHeaderSize ||
            std::memcmp(m_file.constData(), kSignature, kSignatureSize) != 0)
            return false;
        const quint16 shift = u16(kSectorShiftAt);
        if (shift != kSmallSectorShift && shift != kLargeSectorShift)
            return false;
        m_sectorSize = qsizetype{1} << shift;
        // The header takes the place of the first sector; sector n follows it at (n + 1).
        m_sectorCount = m_file.size() / m_sectorSize - 1;
        return readFat() && directoryIsSound();
    }

private:
    quint16 u16(qsizetype at) const { return qFromLittleEndian<quint16>(m_file.constData() + at); }
    quint32 u32(qsizetype at) const { return qFromLittleEndian<quint32>(m_file.constData() + at); }

    // Where a sector begins in the file; nothing for one the file does not hold whole.
    std::optional<qsizetype> sectorAt(quint32 sector) const {
        if (static_cast<qint64>(sector) >= m_sectorCount)
            return std::nullopt;
        return (static_cast<qsizetype>(sector) + 1) * m_sectorSize;
    }

    bool addFatSector(quint32 sector) {
        const auto at = sectorAt(sector);
        if (!at)
            return false;
        for (qsizetype i = 0; i < m_sectorSize; i += 4)
            m_fat.push_back(u32(*at + i));
        return true;
    }

    // The allocation table, from the sectors the header lists and then from the chain of
    // further list sectors; every one of them must be inside the file.
    bool readFat() {
        const quint32 fatSectors = u32(kFatSectorCountAt);
        if (static_cast<qint64>(fatSectors) > m_sectorCount)
            return false;
        quint32 listed = 0;
        for (quint32 i = 0; i < kHeaderDifatEntries && listed < fatSectors; ++i, ++listed)
            if (!addFatSector(u32(kHeaderDifatAt + static_cast<qsizetype>(i) * 4)))
                return false;
        quint32 difat = u32(kFirstDifatSectorAt);
        const quint32 difatSectors = u32(kDifatSectorCountAt);
        for (quint32 n = 0; n < difatSectors && listed < fatSectors; ++n) {
            const auto at = sectorAt(difat);
            if (!at)
                return false;
            const qsizetype last = m_sectorSize - 4;
            for (qsizetype i = 0; i < last && listed < fatSectors; i += 4, ++listed)
                if (!addFatSector(u32(*at + i)))
                    return false;
            difat = u32(*at + last);
        }
        return listed == fatSectors;
    }

    bool directoryIsSound() const {
        quint32 sector = u32(kFirstDirectorySectorAt);
        // A chain longer than the file has sectors runs in a circle.
        for (qint64 visited = 0; sector != kEndOfChain; ++visited) {
            if (visited >= m_sectorCount || sector == kFreeSector)
                return false;
            const auto at = sectorAt(sector);
            if (!at)
                return false;
            for (qsizetype entry = 0; entry < m_sectorSize; entry += kEntrySize) {
                const quint16 nameBytes = u16(*at + entry + kNameLengthAt);
                if (nameBytes > kMaxNameBytes || nameBytes % 2 != 0)
                    return false;
            }
            if (sector >= m_fat.size())
                return false;
            sector = m_fat[sector];
        }
        return true;
    }

    const QByteArray& m_file;
    qsizetype m_sectorSize = 0;
    qint64 m_sectorCount = 0;
    std::vector<quint32> m_fat;
};

} // namespace

bool compoundDirectoryIsSound(const QByteArray& file) {
    return CompoundFile(file).sound();
}

} // namespace orvento::core::sources
