#pragma once

#include "output/DataSetReader.h"
#include "output/ReportTable.h"

#include <QString>

#include <vector>

class QTemporaryDir;

// The built-in report templates of the sources, filled as the runner fills them.
namespace orvento::testsupport {

// The folder of the built-in templates, with a closing slash.
QString builtInTemplates();

// The tables as the runner reads them back from a report data file.
output::DataSet roundTrip(const std::vector<const output::ReportTable*>& tables);

// Renders the built-in template `name` with the data to a PDF in `dir`; its path.
QString renderBuiltIn(const QString& name, const output::DataSet& data, const QTemporaryDir& dir);

} // namespace orvento::testsupport
