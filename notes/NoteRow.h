#pragma once

#include <QString>
#include <QtGlobal>

namespace orvento::notes {

// The IDs of the notes that come with the program: -1001 for the first of the index, -1002 for
// the second, ...; they never meet a row of `Poznamky`.
inline constexpr qint64 kBuiltInIdBase = -1000;
inline constexpr qint64 builtInNoteId(int number) {
    return kBuiltInIdBase - number;
}
// The note selected when the profile remembers none.
inline constexpr qint64 kDefaultNoteId = builtInNoteId(1);
// The longest title `Poznamky.Nazev` holds.
inline constexpr int kTitleWidth = 50;

// One row of the desktop's list.
struct NoteRow {
    qint64 ID = -1;
    QString Nazev;
    QString Detail; // RTF; a user note's is read when it is first shown
    bool ZobrazOst = true;
    int VytvorID = 0;
    bool Viditelna = true; // `Poznamky.Firma` empty
    QString RPOSoubor;     // the file of a note that came with the program
    bool Vyrizeno = false;
    bool detailRead = false;

    bool builtIn() const { return !RPOSoubor.isEmpty(); }
};

} // namespace orvento::notes
