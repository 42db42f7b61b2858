#include "core/sources/XbaseLayout.h"

#include <QDir>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cctype>

namespace orvento::core::sources {

namespace {

constexpr qint64 descriptorLength = 32;
constexpr char descriptorsEnd = 0x0D;
constexpr qsizetype nameLength = 11;
constexpr qsizetype typeAt = 11;
constexpr qsizetype lengthAt = 16;
constexpr qsizetype decimalsAt = 17;
constexpr qsizetype flagsAt = 18;
constexpr qsizetype recordCountAt = 4;
constexpr qsizetype headerLengthAt = 8;
constexpr qsizetype recordLengthAt = 10;
constexpr qsizetype languageDriverAt = 29;
constexpr quint8 systemColumnFlag = 0x01;
constexpr int byteValues = 256;
// A memo field holds its block number as ten digits or as four binary bytes.
constexpr int textBlockNumberLength = 10;
constexpr int binaryBlockNumberLength = 4;

struct VersionInfo {
    quint8 version;
    XbaseMemoStyle memo;
    bool visualFoxPro;
};

// The versions read here: dBase III/IV (with and without memos), FoxBASE, FoxPro 2 and Visual
// FoxPro. dBase 7 (other descriptors) is not among them.
constexpr std::array<VersionInfo, 13> knownVersions{{
    {0x02, XbaseMemoStyle::None, false},
    {0x03, XbaseMemoStyle::None, false},
    {0x05, XbaseMemoStyle::None, false},
    {0x30, XbaseMemoStyle::FoxPro, true},
    {0x31, XbaseMemoStyle::FoxPro, true},
    {0x32, XbaseMemoStyle::FoxPro, true},
    {0x43, XbaseMemoStyle::None, false},
    {0x63, XbaseMemoStyle::None, false},
    {0x83, XbaseMemoStyle::DbaseIII, false},
    {0x8B, XbaseMemoStyle::DbaseIV, false},
    {0xCB, XbaseMemoStyle::DbaseIV, false},
    {0xF5, XbaseMemoStyle::FoxPro, false},
    {0xFB, XbaseMemoStyle::FoxPro, false},
}};

quint8 byteAt(QByteArrayView bytes, qsizetype at) {
    return static_cast<quint8>(bytes[at]);
}

bool isMemoType(char type) {
    return type == 'M' || type == 'G' || type == 'P';
}

// The width a field of the type must have, or 0 when any width will do.
int requiredLength(char type, bool visualFoxPro) {
    constexpr int int32Length = 4;
    constexpr int binaryLength = 8;
    switch (type) {
    case 'I':
        return int32Length;
    case 'Y':
    case 'T':
        return binaryLength;
    case 'B':
        return visualFoxPro ? binaryLength : 0;
    default:
        return 0;
    }
}

// Gives each field its offset in the record; the record length the fields need.
qint64 placeFields(std::vector<XbaseField>& fields, bool wideTexts) {
    qint64 offset = 1; // the deletion flag comes first
    for (XbaseField& field : fields) {
        if (wideTexts && field.type == 'C') {
            field.length += field.decimals * byteValues;
            field.decimals = 0;
        }
        field.offset = static_cast<int>(offset);
        offset += field.length;
    }
    return offset;
}

QString damaged(const QString& fileName, const QString& why) {
    return QStringLiteral("Soubor %1 není platná tabulka dBase nebo je poškozený (%2).")
        .arg(fileName, why);
}

} // namespace

bool XbaseLayout::needsMemoFile() const {
    return std::any_of(fields.begin(), fields.end(),
                       [](const XbaseField& field) { return field.type == 'M'; });
}

qint64 xbaseHeaderLength(QByteArrayView prefix) {
    if (prefix.size() < xbasePrefixLength)
        return 0;
    return qFromLittleEndian<quint16>(prefix.data() + headerLengthAt);
}

std::optional<XbaseLayout> readXbaseLayout(QByteArrayView header, qint64 fileSize,
                                           const QString& fileName, QString& error) {
    if (header.size() < xbasePrefixLength) {
        error = damaged(fileName, QStringLiteral("chybí záhlaví"));
        return std::nullopt;
    }
    XbaseLayout layout;
    layout.version = byteAt(header, 0);
    const auto known =
        std::find_if(knownVersions.begin(), knownVersions.end(),
                     [&](const VersionInfo& v) { return v.version == layout.version; });
    if (known == knownVersions.end()) {
        error = damaged(
            fileName,
            QStringLiteral("neznámá verze 0x%1").arg(layout.version, 2, 16, QLatin1Char('0')));
        return std::nullopt;
    }
    layout.memoStyle = known->memo;
    layout.visualFoxPro = known->visualFoxPro;
    layout.recordCount = qFromLittleEndian<quint32>(header.data() + recordCountAt);
    layout.headerLength = qFromLittleEndian<quint16>(header.data() + headerLengthAt);
    layout.recordLength = qFromLittleEndian<quint16>(header.data() + recordLengthAt);
    layout.languageDriver = byteAt(header, languageDriverAt);
    if (layout.headerLength <= xbasePrefixLength || layout.headerLength > fileSize ||
        layout.headerLength > header.size()) {
        error = damaged(fileName, QStringLiteral("délka záhlaví přesahuje soubor"));
        return std::nullopt;
    }
    if (layout.recordLength == 0) {
        error = damaged(fileName, QStringLiteral("nulová délka záznamu"));
        return std::nullopt;
    }
    for (qint64 at = xbasePrefixLength;
         at + descriptorLength <= layout.headerLength && header[at] != descriptorsEnd;
         at += descriptorLength) {
        const QByteArrayView descriptor = header.sliced(at, descriptorLength);
        XbaseField field;
        QByteArrayView name = descriptor.first(nameLength);
        name = name.first(std::find(name.begin(), name.end(), '\0') - name.begin());
        field.name = name.toByteArray().trimmed();
        field.type = static_cast<char>(std::toupper(byteAt(descriptor, typeAt)));
        field.length = byteAt(descriptor, lengthAt);
        field.decimals = byteAt(descriptor, decimalsAt);
        field.hidden = layout.visualFoxPro && (byteAt(descriptor, flagsAt) & systemColumnFlag);
        const int required = requiredLength(field.type, layout.visualFoxPro);
        const bool memoWidthOk = !isMemoType(field.type) ||
                                 field.length == binaryBlockNumberLength ||
                                 field.length == textBlockNumberLength;
        if ((required != 0 && field.length != required) || !memoWidthOk) {
            error = damaged(
                fileName,
                QStringLiteral("sloupec %1 má chybnou šířku").arg(QString::fromLatin1(field.name)));
            return std::nullopt;
        }
        layout.fields.push_back(std::move(field));
    }
    if (layout.fields.empty()) {
        error = damaged(fileName, QStringLiteral("tabulka nemá žádný sloupec"));
        return std::nullopt;
    }
    qint64 needed = placeFields(layout.fields, false);
    // Clipper and others keep texts longer than 255 with the decimals byte as the high byte;
    // read them so only when the record's length bears it out.
    if (needed != layout.recordLength && !layout.visualFoxPro) {
        std::vector<XbaseField> wide = layout.fields;
        if (placeFields(wide, true) == layout.recordLength) {
            layout.fields = std::move(wide);
            needed = layout.recordLength;
        }
    }
    if (needed > layout.recordLength) {
        error = damaged(fileName, QStringLiteral("sloupce přesahují délku záznamu"));
        return std::nullopt;
    }
    if (layout.headerLength + layout.recordCount * layout.recordLength > fileSize) {
        error = damaged(fileName, QStringLiteral("soubor je zkrácený"));
        return std::nullopt;
    }
    return layout;
}

QString xbaseCompanionFile(const QString& tablePath, const QString& extension) {
    const QFileInfo table(tablePath);
    const QString wanted = table.completeBaseName() + QLatin1Char('.') + extension;
    const QDir folder = table.absoluteDir();
    const QStringList candidates = folder.entryList(QDir::Files);
    for (const QString& candidate : candidates) {
        if (candidate.compare(wanted, Qt::CaseInsensitive) == 0)
            return folder.filePath(candidate);
    }
    return {};
}

} // namespace orvento::core::sources
