#include "Application.h"

#include "core/ProgramState.h"
#include "ui/ApplicationMinimizer.h"
#include "ui/notes/NotesPanel.h"

#include <QApplication>
#include <QScreen>

namespace orvento::app {

Application::Application() {
    m_hooks.setNotes(&m_notes);
    m_mainWindow.setDesktopPanel(new ui::NotesPanel(m_notes));
    QObject::connect(&m_termination, &TerminationSignal::terminationRequested, &m_mainWindow,
                     [this] { onTermination(); });
}

void Application::onTermination() {
    // Every modal loop ends now as "Storno" or "Ne" would (messages, questions, dialogs, cards,
    // the wait for the report runner), and none that opens later stays open: the windows are
    // left one by one, the cards drop their working copies and let go of their records, and the
    // closing steps run once the main loop has returned. A prompt for the password gives up
    // the same way.
    m_terminationPending = true;
    m_splash.abandonLogin();
    core::programState().cancelRequested = true; // a long operation stops as after "<zrušit>"
    QCoreApplication::exit(0);
}

int Application::run() {
    m_splash.show();
    QApplication::processEvents();

    core::StartUp::initProgramFolders(QApplication::applicationDirPath());
    const bool started = m_context.startUp().run();
    m_splash.close();
    if (!started) {
        const bool closed = m_context.startUp().closedOnRequest();
        // Told to end while starting: the closing steps, as far as the start-up got (a data
        // folder settled), unless the agenda list has run them already.
        if (m_terminationPending && !closed && !core::programState().folders.data.isEmpty())
            m_context.startUp().close();
        core::resetProgramState();
        return closed || m_terminationPending ? 0 : 1;
    }
    if (m_terminationPending) {
        m_context.startUp().close();
        core::resetProgramState();
        return 0;
    }

    ui::ApplicationMinimizer minimizer(&m_mainWindow);
    Q_EMIT m_context.events().agendaOpened();
    // Without a window manager "maximised" means nothing; start at the screen's size anyway.
    if (const QScreen* screen = m_mainWindow.screen())
        m_mainWindow.resize(screen->availableGeometry().size());
    m_mainWindow.showMaximized();
    int code = 0;
    // The loop would forget an end asked for before it runs.
    if (!m_terminationPending)
        code = QApplication::exec();
    // After "Konec" this does nothing more; after the desktop session's end it runs the closing
    // steps, now that every window opened from the main window has been left.
    m_mainWindow.close();
    core::resetProgramState();
    return code;
}

} // namespace orvento::app
