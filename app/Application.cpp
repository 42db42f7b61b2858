#include "Application.h"

#include "core/ProgramState.h"
#include "ui/ApplicationMinimizer.h"

#include <QApplication>
#include <QScreen>

namespace orvento::app {

Application::Application() {
    QObject::connect(&m_termination, &TerminationSignal::terminationRequested, &m_mainWindow,
                     [this] { onTermination(); });
}

void Application::onTermination() {
    if (m_running) {
        m_mainWindow.close();
        return;
    }
    // Still starting: the start-up ends first, then the program closes as "Konec" would. The
    // login prompt runs its own event loop and would keep the program alive: it gives up now,
    // and a prompt that comes later is not shown at all.
    m_terminationPending = true;
    m_splash.abandonLogin();
}

int Application::run() {
    m_splash.show();
    QApplication::processEvents();

    core::StartUp::initProgramFolders(QApplication::applicationDirPath());
    const bool started = m_context.startUp().run();
    m_splash.close();
    if (m_terminationPending && (started || m_splash.loginAbandoned())) {
        // The desktop session asked us to end while we were starting: close as "Konec" would.
        m_context.startUp().close();
        core::resetProgramState();
        return 0;
    }
    if (!started) {
        const bool closed = m_context.startUp().closedOnRequest();
        core::resetProgramState();
        return closed ? 0 : 1;
    }

    ui::ApplicationMinimizer minimizer(&m_mainWindow);
    m_running = true;
    Q_EMIT m_context.events().agendaOpened();
    // Without a window manager "maximised" means nothing; start at the screen's size anyway.
    if (const QScreen* screen = m_mainWindow.screen())
        m_mainWindow.resize(screen->availableGeometry().size());
    m_mainWindow.showMaximized();
    const int code = QApplication::exec();
    core::resetProgramState();
    return code;
}

} // namespace orvento::app
