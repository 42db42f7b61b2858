#pragma once

#include "TerminationSignal.h"

#include "core/AppContext.h"
#include "notes/NoteList.h"
#include "notes/NoteStartupHooks.h"
#include "services/ProfileSession.h"
#include "ui/MainWindow.h"
#include "ui/ProgramNavigator.h"
#include "ui/QtUserInteraction.h"
#include "ui/SplashWindow.h"

namespace orvento::app {

// The program's wiring: the context with the program's message boxes, windows and start-up
// steps, the main window and the splash, the start-up, the message loop and the closing. The
// desktop session's SIGTERM ends it the way "Konec" does, at any moment after its first line and
// whatever window, message or wait is open then.
class Application {
public:
    Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Starts the program and runs it until it closes; the process's exit code.
    int run();

private:
    void onTermination();

    ui::QtUserInteraction m_interaction;
    services::ProfileSession m_profile;
    notes::NoteStartupHooks m_hooks;
    ui::SplashWindow m_splash;
    // Answers only once the context below exists.
    ui::ProgramNavigator m_navigator{m_context, &m_splash};
    core::AppContext m_context{m_interaction, m_navigator, m_profile, m_hooks};
    // Outlives the main window, whose desktop shows it.
    notes::NoteList m_notes{m_context};
    ui::MainWindow m_mainWindow{m_context};
    TerminationSignal m_termination;
    bool m_terminationPending = false;
};

} // namespace orvento::app
