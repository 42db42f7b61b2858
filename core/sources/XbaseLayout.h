#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

namespace orvento::core::sources {

// Where a table keeps its memos, told by the header's version byte.
enum class XbaseMemoStyle { None, DbaseIII, DbaseIV, FoxPro };

struct XbaseField {
    QByteArray name; // as stored, decoded once the code page is known
    char type = 'C';
    int offset = 0; // from the record's start, past the deletion flag
    int length = 0;
    int decimals = 0;
    bool hidden = false; // a system column of Visual FoxPro, never offered
};

struct XbaseLayout {
    quint8 version = 0;
    qint64 recordCount = 0;
    qint64 headerLength = 0;
    qint64 recordLength = 0;
    quint8 languageDriver = 0;
    bool visualFoxPro = false;
    XbaseMemoStyle memoStyle = XbaseMemoStyle::None;
    std::vector<XbaseField> fields;

    bool needsMemoFile() const;
};

// The fixed part of every header, enough to learn the whole header's length.
inline constexpr qint64 xbasePrefixLength = 32;
qint64 xbaseHeaderLength(QByteArrayView prefix);

// The layout of a table from its whole header, checked against the file's size: every field
// within the record, every record within the file. Nothing, with a Czech message naming
// `fileName`, when the header is damaged or the table is of a kind this reader does not know.
std::optional<XbaseLayout> readXbaseLayout(QByteArrayView header, qint64 fileSize,
                                           const QString& fileName, QString& error);

// A file kept beside a table (its memos, its code page): the table's name with the extension,
// found in any letter case. Empty when there is none.
QString xbaseCompanionFile(const QString& tablePath, const QString& extension);

} // namespace orvento::core::sources
