#pragma once

// One scripted workstation of the soak: for the set time it opens random cards of offers, firms
// and catalogue items through the program's own card logic, edits and saves them, creates and
// deletes records and now and then reprices a group, answering every question Yes and showing
// nothing. Each lock it is granted, each write it sets out to make and each one that returned
// goes into its journal.

#include <QString>

namespace orvento::soak {

// Deliberate faults of the soak's own workstation, so that the checks can be seen to catch them.
enum class BrokenMode {
    None,
    NoLock,   // workstation 0 edits only offers, each with its lock given back at once
    SkipItem, // workstation 0 stores an offer's totals without its last item
};

struct WorkstationOptions {
    int slot = 0;
    int generation = 0;
    QString storeKind;
    QString dataLocation;  // the data folder (or what the store kind names)
    QString programFolder; // the templates
    QString journal;       // this workstation's journal file
    qint64 until = 0;      // monotonic stamp (ns) at which it stops
    quint32 seed = 0;
    BrokenMode broken = BrokenMode::None;
};

// Runs until `until`; 0 when it ran to the end, non-zero when it could not start.
int runWorkstation(const WorkstationOptions& options);

} // namespace orvento::soak
