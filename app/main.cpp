#include "Application.h"
#include "TerminationSignal.h"

#include "core/AppVersion.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

void loadCzechTranslations(QApplication& app, QTranslator& qtbase) {
    if (qtbase.load(QLocale(QLocale::Czech, QLocale::CzechRepublic), QStringLiteral("qtbase"),
                    QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtbase);
}

} // namespace

int main(int argc, char** argv) {
    // The desktop session may end the program at any moment, also while it is still starting.
    orvento::app::TerminationSignal::catchSignals();
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
