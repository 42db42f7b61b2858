#pragma once

#include "services/StandardStartupHooks.h"

namespace orvento::notes {

class NoteList;

// The program's start-up steps with the desktop notes: loaded at the end of the start-up on the
// note the profile remembers, which is stored with the profile when an agenda is left and when
// the program closes.
class NoteStartupHooks : public services::StandardStartupHooks {
public:
    void setNotes(NoteList* notes) { m_notes = notes; }

    void loadNotes(core::AppContext& context) override;
    void saveProfile(core::AppContext& context) override;

private:
    NoteList* m_notes = nullptr;
};

} // namespace orvento::notes
