#include "notes/NoteRecord.h"

namespace orvento::notes {

const core::RecordMapping<NoteRecord>& noteMapping() {
    static const auto mapping = core::RecordMapping<NoteRecord>(QStringLiteral("Poznamky"))
                                    .member("Nazev", &NoteRecord::Nazev)
                                    .member("Detail", &NoteRecord::Detail)
                                    .member("Firma", &NoteRecord::Firma)
                                    .member("ZobrazOst", &NoteRecord::ZobrazOst)
                                    .member("VytvorID", &NoteRecord::VytvorID)
                                    .member("Vyrizeno", &NoteRecord::Vyrizeno);
    return mapping;
}

} // namespace orvento::notes
