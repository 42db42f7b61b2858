#include "CommandLineOptions.h"

#include "backup/CommandLineBackup.h"
#include "core/AppVersion.h"
#include "import/CommandLineImport.h"
#include "services/CommandLineMigration.h"

namespace orvento::app {

namespace {

const QString kVersionOption = QStringLiteral("--version");
const QString kHelpOption = QStringLiteral("--help");

// Options with a single dash belong to Qt (-platform, -style, -session of a restored desktop
// session) and are left to it; anything else a window start does not know is a mistake.
bool isQtOption(const QString& argument) {
    return argument.startsWith(QLatin1Char('-')) && !argument.startsWith(QStringLiteral("--"));
}

} // namespace

StartRequest startRequestOf(const QStringList& arguments) {
    if (import::asksForImport(arguments))
        return StartRequest::Import;
    if (backup::asksForBackup(arguments))
        return StartRequest::Backup;
    if (services::asksForMigration(arguments))
        return StartRequest::Migrate;
    if (arguments.contains(kHelpOption))
        return StartRequest::Help;
    if (arguments.contains(kVersionOption))
        return StartRequest::Version;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (!isQtOption(arguments.at(i)))
            return StartRequest::Unknown;
        // A Qt option's value follows it as a word of its own.
        if (i + 1 < arguments.size() && !arguments.at(i + 1).startsWith(QLatin1Char('-')))
            ++i;
    }
    return StartRequest::Window;
}

QString versionText() {
    return core::kProductName + QLatin1Char(' ') + core::kVersion;
}

QString missingDisplayText() {
    for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        if (!qEnvironmentVariableIsEmpty(variable))
            return {};
    return QStringLiteral("Orvento potřebuje grafické prostředí, ale není nastavena proměnná "
                          "DISPLAY ani WAYLAND_DISPLAY.\n"
                          "Import a zálohu lze spustit i bez okna, viz orvento --help.\n");
}

QString helpText() {
    return QStringLiteral("Orvento - ceník, adresář firem a cenové nabídky pro malou firmu;\n"
                          "několik pracovišť sdílí jednu datovou složku.\n\n"
                          "Bez voleb otevře okno programu.\n\n") +
           import::importUsage() +
           QStringLiteral("\n    Provede import podle uložené definice (podle názvu nebo ID) "
                          "bez okna.\n\n") +
           backup::backupUsage() +
           QStringLiteral("\n    Zazálohuje firmu (se --shared i společná data a tiskové šablony) "
                          "do složky pro zálohy bez okna.\n\n") +
           services::migrationUsage() +
           QStringLiteral("\n    Přenese databáze datové složky na databázový server PostgreSQL "
                          "(připojení\n    jako \"host=... port=... dbname=... user=...\" nebo "
                          "postgresql://...).\n\n"
                          "Použití: orvento --version\n    Vypíše verzi programu.\n\n"
                          "Použití: orvento --help\n    Vypíše tuto nápovědu.\n");
}

} // namespace orvento::app
