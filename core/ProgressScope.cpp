#include "core/ProgressScope.h"

#include "core/ProgramState.h"
#include "core/UserInteraction.h"

#include <algorithm>

namespace orvento::core {

ProgressScope::ProgressScope(UserInteraction& ui, const QString& text, int steps, bool cancellable)
    : m_ui(ui)
    , m_steps(std::max(steps, 0))
    , m_cancellable(cancellable) {
    programState().cancelRequested = false;
    m_ui.showWait(text, cancellable);
    m_ui.showProgress(0, m_steps);
}

ProgressScope::~ProgressScope() {
    m_ui.showProgress(0, 0);
    m_ui.hideWait();
    programState().cancelRequested = false;
}

bool ProgressScope::step(int done) {
    m_done = std::clamp(done, 0, m_steps);
    m_ui.showProgress(m_done, m_steps);
    m_ui.keepAlive();
    return !cancelled();
}

bool ProgressScope::cancelled() const {
    return m_cancellable && programState().cancelRequested;
}

} // namespace orvento::core
