#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace orvento::notes {

// The notes that come with the program: files in the data folder named by the keys FILE1,
// FILE2, ... of the section [RPO] of `index.rpo`. A note file's lines `#VAL1=<title>` and
// `#VAL2=<agenda>` (and any other `#VAL<n>=` line) are taken out; the other lines are its text.

inline constexpr auto kIndexFileName = "index.rpo";

struct BuiltInNote {
    int number = 0; // n of its key FILE<n>
    QString file;   // the name the index gives
    QString title;  // #VAL1
    QString agenda; // #VAL2; empty for a note of every agenda
    QString text;   // the rest, RTF or plain text
};

// The notes of the index in its order, up to its first missing key. A key that names anything
// but a note file inside the data folder (a path, "..", another kind of file) is skipped like a
// missing file, so that deleting a note can never delete another file of the folder. Names are
// found whatever their letter case.
std::vector<BuiltInNote> readBuiltInNotes(const QString& dataFolder);

// A note file's content: UTF-8 when valid, else Windows-1250, lines ended by CR LF or LF.
BuiltInNote parseNoteFile(const QByteArray& content);

// The note file's path in the data folder; empty when the name is no bare note file name or
// there is no such file.
QString builtInNotePath(const QString& dataFolder, const QString& file);

// Deletes the note's file; false when it exists and cannot be deleted.
bool removeBuiltInNote(const QString& dataFolder, const QString& file);

} // namespace orvento::notes
