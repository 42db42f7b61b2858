#include "notes/NoteStartupHooks.h"

#include "core/AppContext.h"
#include "core/Database.h"
#include "core/UserInteraction.h"
#include "notes/NoteList.h"

namespace orvento::notes {

void NoteStartupHooks::loadNotes(core::AppContext& context) {
    StandardStartupHooks::loadNotes(context);
    if (m_notes)
        m_notes->loadRemembered();
}

void NoteStartupHooks::saveProfile(core::AppContext& context) {
    if (m_notes && !m_notes->rememberCurrent())
        context.ui().error(core::saveFailedMessage());
    StandardStartupHooks::saveProfile(context);
}

} // namespace orvento::notes
