#include "core/ProgressScope.h"

#include "core/ProgramState.h"
#include "core/UserInteraction.h"

#include <algorithm>
#include <utility>

namespace orvento::core {

ProgressScope::ProgressScope(UserInteraction& ui, const QString& text, int steps, bool cancellable)
    : m_ui(ui)
    , m_text(text)
    , m_steps(std::max(steps, 0))
    , m_cancellable(cancellable) {
    enter();
    m_ui.showWait(m_text, m_cancellable);
    m_ui.showProgress(0, m_steps);
}

ProgressScope::ProgressScope(UserInteraction& ui, Display display, int steps)
    : m_ui(ui)
    , m_display(std::move(display))
    , m_steps(std::max(steps, 0))
    , m_cancellable(true) {
    enter();
}

ProgressScope::~ProgressScope() {
    end();
}

void ProgressScope::enter() {
    m_outer = m_ui.m_innermostScope;
    m_ui.m_innermostScope = this;
    if (!m_outer)
        programState().cancelRequested = false;
}

bool ProgressScope::innermost() const {
    return !m_ended && m_ui.m_innermostScope == this;
}

void ProgressScope::end() {
    if (m_ended)
        return;
    if (!innermost()) {
        // An outer scope ended before an inner one: it leaves the chain and the display to it.
        for (ProgressScope* inner = m_ui.m_innermostScope; inner; inner = inner->m_outer)
            if (inner->m_outer == this) {
                inner->m_outer = m_outer;
                break;
            }
        m_ended = true;
        return;
    }
    m_ended = true;
    m_ui.m_innermostScope = m_outer;
    if (m_outer) {
        m_outer->showAgain();
        return;
    }
    if (!m_display) {
        m_ui.showProgress(0, 0);
        m_ui.hideWait();
    }
    programState().cancelRequested = false;
}

void ProgressScope::showAgain() {
    if (m_display) {
        // The inner work used the wait window; this run shows its progress in its own window.
        m_ui.showProgress(0, 0);
        m_ui.hideWait();
        return;
    }
    m_ui.showWait(m_text, m_cancellable);
    m_ui.showProgress(m_done, m_steps);
}

void ProgressScope::setText(const QString& text) {
    m_text = text;
    if (innermost() && !m_display)
        m_ui.showWait(m_text, m_cancellable);
}

bool ProgressScope::step(int done) {
    m_done = std::clamp(done, 0, m_steps);
    if (m_display)
        m_display(m_done, m_steps);
    else if (innermost())
        m_ui.showProgress(m_done, m_steps);
    m_ui.keepAlive();
    return !cancelled();
}

bool ProgressScope::stepInUnit(int done) {
    m_done = std::clamp(done, 0, m_steps);
    // A window's display repaints the whole interface, which must wait for the commit.
    if (!m_display && innermost())
        m_ui.showProgress(m_done, m_steps);
    m_ui.keepStopAlive();
    return !cancelled();
}

void ProgressScope::resume() {
    programState().cancelRequested = false;
}

bool ProgressScope::cancelled() const {
    return m_cancellable && programState().cancelRequested;
}

} // namespace orvento::core
