#pragma once

#include "core/sources/ImportSource.h"

// The reader of each kind, chosen by openSource().
namespace orvento::core::sources {

std::unique_ptr<ImportSource> openCsvFile(const QString& path, QString& error);
std::unique_ptr<ImportSource> openDbfFile(const QString& path, QString& error);
// .xls, .xlsx and .ods, told apart by the file's first bytes.
std::unique_ptr<ImportSource> openWorkbook(const QString& path, QString& error);
std::unique_ptr<ImportSource> openAccessFile(const QString& path, QString& error);
std::unique_ptr<ImportSource> openTabText(const QString& text);

} // namespace orvento::core::sources
