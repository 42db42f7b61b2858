#include "Application.h"
#include "CommandLineOptions.h"
#include "TerminationSignal.h"

#include "backup/CommandLineBackup.h"
#include "core/AppVersion.h"
#include "core/ProgramState.h"
#include "import/CommandLineImport.h"
#include "services/CommandLineMigration.h"

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTextStream>
#include <QTranslator>

#include <cstdio>

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

// A run without a window or a display: `work` gets the arguments and the two streams and
// answers the exit code.
template <typename Work> int runWithoutWindow(int argc, char** argv, Work work) {
    using namespace orvento;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(core::kProductName);
    QCoreApplication::setApplicationVersion(core::kVersion);
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = work(app, argumentsOf(argc, argv), out, err);
    core::resetProgramState();
    return code;
}

// Runs one request from the command line; SIGTERM interrupts it ("Přerušit", "<zrušit>").
template <typename Run> int runInterruptible(QCoreApplication& app, Run& run) {
    orvento::app::TerminationSignal termination;
    QObject::connect(&termination, &orvento::app::TerminationSignal::terminationRequested, &app,
                     [&run] { run.interrupt(); });
    return run.run(QCoreApplication::applicationDirPath());
}

// `orvento --import ...`: one import.
int runImport(int argc, char** argv) {
    using namespace orvento;
    return runWithoutWindow(argc, argv,
                            [](QCoreApplication& app, const QStringList& arguments,
                               QTextStream& out, QTextStream& err) {
                                QString problem;
                                const auto request = import::parseImportRequest(arguments, problem);
                                if (!request) {
                                    err << problem << Qt::endl << import::importUsage() << Qt::endl;
                                    return static_cast<int>(import::ImportNotStarted);
                                }
                                import::CommandLineImport importRun(*request, out, err);
                                return runInterruptible(app, importRun);
                            });
}

// `orvento --backup ...`: one backup, for cron.
int runBackup(int argc, char** argv) {
    using namespace orvento;
    return runWithoutWindow(argc, argv,
                            [](QCoreApplication& app, const QStringList& arguments,
                               QTextStream& out, QTextStream& err) {
                                QString problem;
                                const auto request = backup::parseBackupRequest(arguments, problem);
                                if (!request) {
                                    err << problem << Qt::endl << backup::backupUsage() << Qt::endl;
                                    return static_cast<int>(backup::BackupNotStarted);
                                }
                                backup::CommandLineBackup backupRun(*request, out, err);
                                return runInterruptible(app, backupRun);
                            });
}

// `orvento --migrate-to-postgresql ...`: the data folder's databases moved to a server.
int runMigration(int argc, char** argv) {
    using namespace orvento;
    return runWithoutWindow(argc, argv,
                            [](QCoreApplication& app, const QStringList& arguments,
                               QTextStream& out, QTextStream& err) {
                                QString problem;
                                const auto request =
                                    services::parseMigrationRequest(arguments, problem);
                                if (!request) {
                                    err << problem << Qt::endl
                                        << services::migrationUsage() << Qt::endl;
                                    return 1;
                                }
                                services::CommandLineMigration migration(*request, out, err);
                                return runInterruptible(app, migration);
                            });
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    return icon;
}

// Text for the terminal, before any Qt application object (and so without a display).
int printed(const QString& text, FILE* stream, int code) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    return code;
}

} // namespace

int main(int argc, char** argv) {
    using orvento::app::StartRequest;
    const StartRequest request = orvento::app::startRequestOf(argumentsOf(argc, argv));
    if (request == StartRequest::Version)
        return printed(orvento::app::versionText() + QLatin1Char('\n'), stdout, 0);
    if (request == StartRequest::Help || request == StartRequest::Unknown)
        return printed(orvento::app::helpText(), request == StartRequest::Help ? stdout : stderr,
                       request == StartRequest::Help ? 0 : 1);
    // The desktop session may end the program at any moment, also while it is still starting.
    orvento::app::TerminationSignal::catchSignals();
    if (request == StartRequest::Import)
        return runImport(argc, argv);
    if (request == StartRequest::Backup)
        return runBackup(argc, argv);
    if (request == StartRequest::Migrate)
        return runMigration(argc, argv);
    if (const QString problem = orvento::app::missingDisplayText(); !problem.isEmpty())
        return printed(problem, stderr, 1);
    QApplication app(argc, argv);
    QApplication::setApplicationName(orvento::core::kProductName);
    QApplication::setApplicationDisplayName(orvento::core::kProductName);
    QApplication::setApplicationVersion(orvento::core::kVersion);
    QApplication::setDesktopFileName(orvento::core::kApplicationId);
    QApplication::setWindowIcon(programIcon());
    // Number fields read and show amounts the Czech way (decimal comma, blank between thousands)
    // on every workstation, as the lists do.
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    QTranslator qtbase;
    loadCzechTranslations(app, qtbase);

    orvento::app::Application program;
    return program.run();
}
