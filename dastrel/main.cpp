// Dastrel, the report runner. The program starts it with the names of its two data files; it
// prints, previews, exports to PDF or edits the report those files describe, then ends. Every
// failure is told to the person (and written to the error output) instead of ending in a crash.
#include "dastrel/ReportRenderer.h"
#include "dastrel/RunnerJob.h"
#include "dastrel/TemplateEditor.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTranslator>

#include <cstdio>

using namespace orvento;

namespace {

// --batch (or no screen): no dialogs, failures only on the error output.
bool g_batch = false;

int fail(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    if (!g_batch)
        QMessageBox::critical(nullptr, QStringLiteral("Dastrel"), text);
    return 1;
}

int print(dastrel::ReportRenderer& renderer, const dastrel::ReportTemplate& report,
          const dastrel::RunnerJob& job) {
    if (QPrinterInfo::availablePrinters().isEmpty())
        return fail(QStringLiteral("V systému není nainstalována žádná tiskárna."));
    // A named printer that is not installed (any more) is told, not replaced by another one.
    if (!job.printerName.isEmpty() &&
        !QPrinterInfo::availablePrinterNames().contains(job.printerName))
        return fail(QStringLiteral("Tiskárna \"%1\" není k dispozici.").arg(job.printerName));
    QPrinter printer(QPrinter::HighResolution);
    if (!job.printerName.isEmpty())
        printer.setPrinterName(job.printerName);
    if (!printer.isValid())
        return fail(QStringLiteral("Tiskárna \"%1\" není k dispozici.").arg(job.printerName));
    printer.setPageLayout(report.pageLayout());
    printer.setCopyCount(job.copies);
    printer.setDocName(QStringLiteral("Orvento"));
    QPainter painter;
    if (!painter.begin(&printer))
        return fail(
            QStringLiteral("Na tiskárně \"%1\" nelze tisknout.").arg(printer.printerName()));
    const int pages = renderer.paint(printer, painter, job.pageFrom, job.pageTo);
    painter.end();
    if (job.pageFrom > pages)
        return fail(QStringLiteral("Sestava má jen %1 stran, tisk od strany %2 nic nevytiskl.")
                        .arg(pages)
                        .arg(job.pageFrom));
    return 0;
}

int preview(dastrel::ReportRenderer& renderer, const dastrel::ReportTemplate& report) {
    QPrinter printer(QPrinter::HighResolution);
    if (QPrinterInfo::availablePrinters().isEmpty())
        printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageLayout(report.pageLayout());
    QPrintPreviewDialog dialog(&printer);
    dialog.setWindowTitle(QStringLiteral("Náhled tiskové sestavy"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&renderer](QPrinter* target) {
                         QPainter painter(target);
                         renderer.paint(*target, painter);
                     });
    dialog.resize(1000, 800);
    dialog.exec();
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dastrel"));
    // The preview's and the print dialog's own buttons in Czech.
    QTranslator qtbase;
    if (qtbase.load(QLocale(QLocale::Czech, QLocale::CzechRepublic), QStringLiteral("qtbase"),
                    QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtbase);
    const QStringList arguments = QApplication::arguments().mid(1);
    // Without a screen nobody could close a message box.
    g_batch = arguments.contains(QStringLiteral("--batch")) ||
              QGuiApplication::platformName() == QLatin1String("offscreen");

    QString error;
    const auto files = dastrel::dataFilesOf(arguments, &error);
    if (!files)
        return fail(error);
    const auto job = dastrel::readJob(files->first, files->second, &error);
    if (!job)
        return fail(error);
    auto data = output::readDataSet(job->reportDataFile, &error);
    if (!data)
        return fail(error);
    if (job->operation == QLatin1String("EDIT")) {
        // A template that does not parse yet is still opened: mending it is what the editor is
        // for. Only a missing file is refused.
        if (!QFileInfo::exists(job->reportFile))
            return fail(QStringLiteral("Šablona sestavy %1 nebyla nalezena.").arg(job->reportFile));
        dastrel::TemplateEditor editor(job->reportFile, std::move(*data));
        editor.show();
        return QApplication::exec();
    }
    auto report = dastrel::loadTemplate(job->reportFile, &error);
    if (!report)
        return fail(error);
    dastrel::ReportRenderer renderer(*report, *data);
    if (job->operation == QLatin1String("PDFEXPORT"))
        return renderer.exportPdf(job->exportFile, &error) ? 0 : fail(error);
    if (job->operation == QLatin1String("PRINT"))
        return print(renderer, *report, *job);
    return preview(renderer, *report);
}
