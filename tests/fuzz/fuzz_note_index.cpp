// The index of the notes that came with the program (`index.rpo` in the data folder), which
// names the note files to show on the desktop; a name that leads out of the folder is refused.
#include "FuzzSupport.h"

#include "notes/BuiltInNotes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvento;
    static const QString folder = [] {
        fuzz::writeFile(QStringLiteral("PrvniKroky.rpo"),
                        QByteArrayLiteral("#VAL1=První kroky\r\n#VAL2=\r\nText poznámky\r\n"));
        fuzz::writeFile(QStringLiteral("Zalohovani.rpo"),
                        QByteArrayLiteral("#VAL1=Zálohování\r\n#VAL2=DEMO\r\n{\\rtf1 Text}\r\n"));
        return fuzz::workFolder();
    }();
    fuzz::writeFile(QString::fromLatin1(notes::kIndexFileName), fuzz::bytes(data, size));
    for (const notes::BuiltInNote& note : notes::readBuiltInNotes(folder))
        (void)notes::builtInNotePath(folder, note.file);
    return 0;
}
