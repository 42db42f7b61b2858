#include "notes/BuiltInNotes.h"

#include "core/IniFile.h"
#include "core/PathUtil.h"
#include "core/sources/TextCodec.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <optional>

namespace orvento::notes {

namespace {

const QString kSection = QStringLiteral("RPO");
const QString kKeyPrefix = QStringLiteral("FILE");
const QString kNoteSuffix = QStringLiteral(".rpo");
constexpr int kTitleNumber = 1;
constexpr int kAgendaNumber = 2;
// A note file is a few kilobytes of text; anything far larger is no note.
constexpr qint64 kMaxNoteFileSize = qint64{8} * 1024 * 1024;

// A name of a note file right inside the folder: no folder part, no way up, not the index.
bool isNoteFileName(const QString& file) {
    if (file.isEmpty() || file.contains(QLatin1Char('/')) || file.contains(QLatin1Char('\\')) ||
        file.contains(QLatin1Char(':')) || file.startsWith(QLatin1Char('.')))
        return false;
    return file.endsWith(kNoteSuffix, Qt::CaseInsensitive) &&
           file.compare(QString::fromLatin1(kIndexFileName), Qt::CaseInsensitive) != 0;
}

std::optional<QByteArray> readSmallFile(const QString& path) {
    QFile in(path);
    if (in.size() > kMaxNoteFileSize || !in.open(QIODevice::ReadOnly))
        return std::nullopt;
    return in.readAll();
}

} // namespace

BuiltInNote parseNoteFile(const QByteArray& content) {
    static const QRegularExpression valueLine(QStringLiteral("^#VAL(\\d+)=(.*)$"),
                                              QRegularExpression::CaseInsensitiveOption);
    BuiltInNote note;
    QString text = core::sources::decodeUnlabelledText(content);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList kept;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = valueLine.match(line);
        if (!match.hasMatch()) {
            kept << line;
            continue;
        }
        const int which = match.captured(1).toInt();
        if (which == kTitleNumber)
            note.title = match.captured(2).trimmed();
        else if (which == kAgendaNumber)
            note.agenda = match.captured(2).trimmed();
    }
    while (!kept.isEmpty() && kept.constLast().isEmpty())
        kept.removeLast();
    note.text = kept.join(QLatin1Char('\n'));
    return note;
}

QString builtInNotePath(const QString& dataFolder, const QString& file) {
    if (!isNoteFileName(file))
        return {};
    const QString path = core::resolveInFolder(dataFolder, file);
    return QFileInfo(path).isFile() ? path : QString();
}

std::vector<BuiltInNote> readBuiltInNotes(const QString& dataFolder) {
    std::vector<BuiltInNote> notes;
    const QString indexPath =
        core::resolveInFolder(dataFolder, QString::fromLatin1(kIndexFileName));
    const auto index = readSmallFile(indexPath);
    if (!index)
        return notes;
    const core::IniFile ini = core::IniFile::fromText(core::sources::decodeUnlabelledText(*index));
    // A key that is there with an empty value still counts as there: the index goes on.
    const QString missing = QStringLiteral("\x01");
    for (int n = 1;; ++n) {
        const QString file =
            ini.value(kSection, kKeyPrefix + QString::number(n), missing).trimmed();
        if (file == missing)
            break;
        const QString path = builtInNotePath(dataFolder, file);
        if (path.isEmpty())
            continue;
        const auto content = readSmallFile(path);
        if (!content)
            continue;
        BuiltInNote note = parseNoteFile(*content);
        note.number = n;
        note.file = file;
        notes.push_back(std::move(note));
    }
    return notes;
}

bool removeBuiltInNote(const QString& dataFolder, const QString& file) {
    const QString path = builtInNotePath(dataFolder, file);
    return path.isEmpty() || QFile::remove(path);
}

} // namespace orvento::notes
