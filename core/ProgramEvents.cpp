#include "core/ProgramEvents.h"

namespace orvento::core {

ProgramEvents& ProgramEvents::instance() {
    static ProgramEvents events;
    return events;
}

} // namespace orvento::core
