#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

namespace orvento::import {

// What `orvento --import` was asked to do.
struct CommandLineRequest {
    QString definitionName;           // --import "<name>"
    std::optional<qint64> definition; // --import-id <ID>
    QString dataFolder;               // --data, else Tovaro.ini's
    QString agenda;                   // --agenda, else the last one
    QString sourceFile;               // --file, else the definition's
};

// The process's exit codes.
enum CommandLineExit : int { ImportDone = 0, ImportFailed = 1, ImportNotStarted = 3 };

// Whether the arguments (without the program's name) ask for an import rather than the window.
bool asksForImport(const QStringList& arguments);
// The request, or nothing with `error` for arguments that do not make one.
std::optional<CommandLineRequest> parseImportRequest(const QStringList& arguments, QString& error);
// The usage text printed with a wrong request.
QString importUsage();

// One import from the command line, without a window: the start-up's steps on the data folder,
// the login by the ORVENTO_PASSWORD variable (asked once), the agenda (never upgraded here), the
// wizard's rights, and the same run as the wizard's. Protocol lines go to `out` as the run
// writes them, messages to `err`.
class CommandLineImport {
public:
    CommandLineImport(CommandLineRequest request, QTextStream& out, QTextStream& err);
    ~CommandLineImport();
    CommandLineImport(const CommandLineImport&) = delete;
    CommandLineImport& operator=(const CommandLineImport&) = delete;

    // The exit code. `programFolder` holds the templates and Tovaro.ini.
    int run(const QString& programFolder);
    // "Přerušit" answered Yes (the process was told to end): the run stops at its next step and
    // leaves the catalogue as its interruption does; before the run, it does not start.
    void interrupt();

private:
    CommandLineRequest m_request;
    QTextStream& m_out;
    QTextStream& m_err;
    bool m_interrupted = false;
};

} // namespace orvento::import
