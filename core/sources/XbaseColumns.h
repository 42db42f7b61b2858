#pragma once

#include "core/sources/ImportSource.h"

namespace orvento::core::sources {

// A dBase or FoxPro table under any file name with only the named columns (found ignoring letter
// case), in the order named: a reader of a few columns of a wide table decodes no others.
// Nothing, with a Czech message in `error`, when the file is no such table or lacks a column.
std::unique_ptr<SourceTable> openXbaseColumns(const QString& path, const QStringList& columns,
                                              QString& error);

} // namespace orvento::core::sources
