#include "core/Navigator.h"

#include <utility>

namespace orvento::core {

void PendingNavigation::onAnswer(Handler handler) {
    if (m_answered) {
        if (handler)
            handler(m_result);
        return;
    }
    m_handler = std::move(handler);
}

void PendingNavigation::answer(NavigationResult result) {
    if (m_answered)
        return;
    m_answered = true;
    m_result = std::move(result);
    // The handler may drop the last reference to this object: it works on copies.
    if (Handler handler = std::exchange(m_handler, nullptr)) {
        const NavigationResult copy = m_result;
        handler(copy);
    }
}

} // namespace orvento::core
