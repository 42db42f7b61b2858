#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace orvento::core {
class UserInteraction;
}

namespace orvento::output {

// How the export dialogs check the typed export file before they write it.
struct ExportFileCheck {
    // Further checks after the name and before the folder; false (after its message) stops.
    std::function<bool()> afterName;
    // Further checks once the folder is there and before the old file is asked about.
    std::function<bool()> beforeOverwrite;
    // The warning when the old file cannot be replaced; %1 is the file.
    QString lockedWarning;
    // Whether the old file is removed before the export is written. An export that writes
    // through a save file keeps it instead until the new one is complete, so that a failed
    // export loses nothing; it is then only checked to be writable.
    bool removeOld = true;
};

// The checks of an export file name: not empty, with a folder, the folder created on request,
// an existing file replaced only on request. Each failed check shows its message. The trimmed
// file name when the export may go ahead.
std::optional<QString> checkExportFile(core::UserInteraction& ui, const QString& typed,
                                       const ExportFileCheck& check);

} // namespace orvento::output
