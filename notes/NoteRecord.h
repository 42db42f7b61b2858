#pragma once

#include "core/RecordMapping.h"

#include <QString>

namespace orvento::notes {

// A row of `Poznamky` as the card writes it.
struct NoteRecord {
    QString Nazev;
    QString Detail; // RTF
    QString Firma;  // the agenda's name in upper case, empty for a note of every firm
    bool ZobrazOst = false;
    int VytvorID = 0;
    bool Vyrizeno = false;
};

const core::RecordMapping<NoteRecord>& noteMapping();

} // namespace orvento::notes
