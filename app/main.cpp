#include "TerminationSignal.h"

#include "core/AppVersion.h"
#include "core/ProgramEvents.h"
#include "core/ProgramState.h"
#include "core/StartUp.h"
#include "services/StandardStartupHooks.h"
#include "ui/AgendaListDialog.h"
#include "ui/ApplicationMinimizer.h"
#include "ui/DataFolderDialog.h"
#include "ui/MainWindow.h"
#include "ui/QtUserInteraction.h"
#include "ui/SplashWindow.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTranslator>

using namespace orvento;

namespace {

void loadCzechTranslations(QApplication& app, QTranslator& qtbase) {
    if (qtbase.load(QLocale(QLocale::Czech, QLocale::CzechRepublic), QStringLiteral("qtbase"),
                    QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtbase);
}

} // namespace

int main(int argc, char** argv) {
    app::TerminationSignal::catchSignals();
    QApplication app(argc, argv);
    QApplication::setApplicationName(core::kProductName);
    QApplication::setApplicationDisplayName(core::kProductName);
    QApplication::setApplicationVersion(core::kVersion);
    QTranslator qtbase;
    loadCzechTranslations(app, qtbase);

    ui::QtUserInteraction interaction;
    ui::MainWindow mainWindow(interaction);
    ui::SplashWindow splash;
    splash.show();
    QApplication::processEvents();

    // The desktop session may end the program at any moment, also while it is still starting;
    // it then closes the same way "Konec" does, once there is something to close.
    app::TerminationSignal termination;
    bool running = false;
    bool terminationPending = false;
    QObject::connect(&termination, &app::TerminationSignal::terminationRequested, &mainWindow, [&] {
        if (running)
            mainWindow.close();
        else
            terminationPending = true;
    });

    core::StartUp::initProgramFolders(QApplication::applicationDirPath());
    services::StandardStartupHooks hooks(interaction, [&interaction](const QString& proposed) {
        return ui::DataFolderDialog::ask(proposed, interaction);
    });
    hooks.setPasswordPrompt([&splash] { return splash.askPassword(); });
    core::StartUp startUp(interaction, hooks);
    hooks.setAgendaListChooser([&interaction, &startUp] {
        return ui::AgendaListDialog::run(interaction, startUp, nullptr) ==
               services::AgendaListOutcome::Opened;
    });
    const bool started = startUp.run();
    splash.close();
    if (!started) {
        core::resetProgramState();
        return 1;
    }

    mainWindow.setClosingSteps([&startUp] { startUp.close(); });
    mainWindow.setStartUp(&startUp);
    mainWindow.setProfileSession(&hooks.profile());
    ui::ApplicationMinimizer minimizer(&mainWindow);
    if (terminationPending) {
        // The desktop session asked us to end while we were starting: close as "Konec" would.
        startUp.close();
        core::resetProgramState();
        return 0;
    }
    running = true;
    Q_EMIT core::ProgramEvents::instance().agendaOpened();
    // Without a window manager "maximised" means nothing; start at the screen's size anyway.
    if (const QScreen* screen = mainWindow.screen())
        mainWindow.resize(screen->availableGeometry().size());
    mainWindow.showMaximized();
    const int code = QApplication::exec();
    core::resetProgramState();
    return code;
}
