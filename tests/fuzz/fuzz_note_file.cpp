// A note file that came with the program or was put into the data folder: its title and agenda
// lines taken out, the rest its text, RTF or plain.
#include "FuzzSupport.h"

#include "core/RtfCodec.h"
#include "notes/BuiltInNotes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvento;
    const notes::BuiltInNote note = notes::parseNoteFile(fuzz::bytes(data, size));
    (void)core::rtf::plainText(note.text);
    return 0;
}
