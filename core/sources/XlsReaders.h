#pragma once

#include "core/sources/ImportSource.h"
#include "core/sources/ZipArchive.h"

#include <memory>

// The three workbook formats behind one kind of source.
namespace orvento::core::sources {

// Excel 97 (.xls), through FreeXL.
std::unique_ptr<ImportSource> openXlsFile(const QString& path, QString& error);
// Office Open XML (.xlsx) and OpenDocument (.ods) from their zip.
std::unique_ptr<ImportSource> openXlsxArchive(std::unique_ptr<ZipArchive> archive, QString& error);
std::unique_ptr<ImportSource> openOdsArchive(std::unique_ptr<ZipArchive> archive, QString& error);
// The workbook with its own unpacking budget per sheet (tests use a small one).
std::unique_ptr<ImportSource> openWorkbookWithBudget(const QString& path, QString& error,
                                                     qint64 budget);

} // namespace orvento::core::sources
