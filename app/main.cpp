#include "Application.h"
#include "TerminationSignal.h"

#include "core/AppVersion.h"
#include "core/ProgramState.h"
#include "import/CommandLineImport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTextStream>
#include <QTranslator>

namespace {

void loadCzechTranslations(QApplication& app, QTranslator& qtbase) {
    if (qtbase.load(QLocale(QLocale::Czech, QLocale::CzechRepublic), QStringLiteral("qtbase"),
                    QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtbase);
}

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// `orvento --import ...`: one import without a window or a display; SIGTERM is "Přerušit".
int runImport(int argc, char** argv) {
    using namespace orvento;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(core::kProductName);
    QCoreApplication::setApplicationVersion(core::kVersion);
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    QTextStream out(stdout);
    QTextStream err(stderr);
    QString problem;
    const auto request = import::parseImportRequest(argumentsOf(argc, argv), problem);
    if (!request) {
        err << problem << Qt::endl << import::importUsage() << Qt::endl;
        return import::ImportNotStarted;
    }
    import::CommandLineImport importRun(*request, out, err);
    app::TerminationSignal termination;
    QObject::connect(&termination, &app::TerminationSignal::terminationRequested, &app,
                     [&importRun] { importRun.interrupt(); });
    const int code = importRun.run(QCoreApplication::applicationDirPath());
    core::resetProgramState();
    return code;
}

} // namespace

int main(int argc, char** argv) {
    // The desktop session may end the program at any moment, also while it is still starting.
    orvento::app::TerminationSignal::catchSignals();
    if (orvento::import::asksForImport(argumentsOf(argc, argv)))
        return runImport(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(orvento::core::kProductName);
    QApplication::setApplicationDisplayName(orvento::core::kProductName);
    QApplication::setApplicationVersion(orvento::core::kVersion);
    // Number fields read and show amounts the Czech way (decimal comma, blank between thousands)
    // on every workstation, as the lists do.
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    QTranslator qtbase;
    loadCzechTranslations(app, qtbase);

    orvento::app::Application program;
    return program.run();
}
