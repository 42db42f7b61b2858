#pragma once

#include "core/sources/ImportSource.h"
#include "import/ImportDefinition.h"
#include "import/SourceOpener.h"

#include <QString>

#include <memory>
#include <optional>

namespace orvento::import {

class ImportProtocol;

// The source file of a run, open with the table the run reads.
struct RunSource {
    std::unique_ptr<core::sources::ImportSource> source;
    std::unique_ptr<core::sources::SourceTable> table; // read from `source`, so closed first
};

// The counters of a run.
struct RunCounts {
    qint64 sourceRows = 0;
    qint64 added = 0;
    qint64 updated = 0;
};

// The summary that ends a run that was not interrupted, under the heading of what it wrote.
void addSummary(ImportProtocol& protocol, const QString& heading, const RunCounts& counts);

// The table a run reads: the definition's for an Access database or a workbook, the file's own
// name (with its extension) for a dBase table or a text file.
QString runTableName(const ImportDefinition& definition);

// The opening steps every file import takes alike: the protocol's lines of the file type and the
// file, the file checked to exist, "• otevření databáze..." and "• [prosím čekejte]", the source
// and its table opened. Nothing after the red lines of the step that failed. The "please wait"
// line stays for the caller to remove once its own reading of the agenda is done.
std::optional<RunSource> openRunSource(const ImportDefinition& definition, ImportProtocol& protocol,
                                       const SourceOpener& opener);

} // namespace orvento::import
