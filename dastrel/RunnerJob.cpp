#include "dastrel/RunnerJob.h"

#include "output/DataSetReader.h"

#include <algorithm>

namespace orvento::dastrel {

namespace {

QString between(const QString& text, const QString& marker) {
    const QString open = QLatin1Char('?') + marker + QLatin1Char('=');
    const qsizetype start = text.indexOf(open);
    if (start < 0)
        return QString();
    const qsizetype from = start + open.size();
    const qsizetype end = text.indexOf(QLatin1Char('?') + marker, from);
    return end < 0 ? QString() : text.mid(from, end - from);
}

} // namespace

std::optional<std::pair<QString, QString>> dataFilesOf(const QStringList& arguments,
                                                       QString* error) {
    QStringList parts;
    for (const QString& a : arguments)
        if (!a.startsWith(QLatin1String("--")))
            parts << a;
    const QString joined = parts.join(QLatin1Char(' '));
    const QString system = between(joined, QStringLiteral("SYSTEMDATA"));
    const QString report = between(joined, QStringLiteral("REPORTDATA"));
    if (system.isEmpty() || report.isEmpty()) {
        if (error)
            *error = QStringLiteral(
                "Program Dastrel se spouští s parametry ?SYSTEMDATA=<soubor>?SYSTEMDATA "
                "?REPORTDATA=<soubor>?REPORTDATA.");
        return std::nullopt;
    }
    return std::pair{system, report};
}

std::optional<RunnerJob> readJob(const QString& systemDataFile, const QString& reportDataFile,
                                 QString* error) {
    auto set = output::readDataSet(systemDataFile, error);
    if (!set)
        return std::nullopt;
    const output::ReportTable* info = set->table(QStringLiteral("Info"));
    if (!info || info->rowCount() != 1) {
        if (error)
            *error = QStringLiteral("Soubor %1 neobsahuje zadání tisku (tabulku Info).")
                         .arg(systemDataFile);
        return std::nullopt;
    }
    RunnerJob job;
    job.operation = info->value(0, QStringLiteral("OperationType")).toString().trimmed().toUpper();
    job.reportFile = info->value(0, QStringLiteral("ReportFileName")).toString();
    job.printerName = info->value(0, QStringLiteral("PrinterName")).toString();
    job.pageFrom = std::clamp(info->value(0, QStringLiteral("PageRangeFrom")).toInt(), 1, 9999);
    job.pageTo = std::clamp(info->value(0, QStringLiteral("PageRangeTo")).toInt(), 1, 9999);
    job.copies = std::clamp(info->value(0, QStringLiteral("PageCopies")).toInt(), 1, 9999);
    job.exportFile = info->value(0, QStringLiteral("ExportFileName")).toString();
    job.reportDataFile = reportDataFile;
    const QStringList known{QStringLiteral("PRINT"), QStringLiteral("PREVIEW"),
                            QStringLiteral("EDIT"), QStringLiteral("PDFEXPORT")};
    if (!known.contains(job.operation)) {
        if (error)
            *error = QStringLiteral("Neznámá operace \"%1\".").arg(job.operation);
        return std::nullopt;
    }
    if (job.operation == QLatin1String("PDFEXPORT") && job.exportFile.isEmpty()) {
        if (error)
            *error = QStringLiteral("Pro export do PDF chybí název souboru.");
        return std::nullopt;
    }
    return job;
}

} // namespace orvento::dastrel
