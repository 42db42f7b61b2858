#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace orvento::dastrel {

// What the program asked the runner to do: the system data file's one `Info` row and the name of
// the report data file.
struct RunnerJob {
    QString operation; // PRINT, PREVIEW, EDIT or PDFEXPORT
    QString reportFile;
    QString printerName;
    int pageFrom = 1;
    int pageTo = 9999;
    int copies = 1;
    QString exportFile;
    QString reportDataFile;
};

// The two file names from the command line: "?SYSTEMDATA=<file>?SYSTEMDATA" and
// "?REPORTDATA=<file>?REPORTDATA", as one argument or several (a path may contain spaces).
// Nothing, with a Czech reason, when either is missing.
std::optional<std::pair<QString, QString>> dataFilesOf(const QStringList& arguments,
                                                       QString* error);

// Reads the job from the system data file.
std::optional<RunnerJob> readJob(const QString& systemDataFile, const QString& reportDataFile,
                                 QString* error);

} // namespace orvento::dastrel
