#include "import/RunSource.h"

#include "import/ImportProtocol.h"
#include "import/RunTexts.h"

#include <QFileInfo>

namespace orvento::import {

namespace text = runtext;
using Style = ImportProtocol::Style;

QString runTableName(const ImportDefinition& definition) {
    using core::sources::SourceKind;
    const bool singleTable =
        definition.sourceKind == SourceKind::Dbf || definition.sourceKind == SourceKind::Csv;
    return singleTable ? QFileInfo(definition.fileName).fileName() : definition.tableName;
}

void addSummary(ImportProtocol& protocol, const QString& heading, const RunCounts& counts) {
    protocol.add(text::sourceRows(counts.sourceRows));
    protocol.add(heading);
    protocol.add(text::added(counts.added));
    protocol.add(text::updated(counts.updated));
    protocol.add(text::total(counts.added + counts.updated));
}

std::optional<RunSource> openRunSource(const ImportDefinition& definition, ImportProtocol& protocol,
                                       const SourceOpener& opener) {
    protocol.add(text::sourceKind(text::sourceKindCaption(definition.sourceKind)));
    protocol.add(text::sourceFile(definition.fileName));
    if (!QFileInfo::exists(definition.fileName)) {
        protocol.add(text::sourceFileMissing(), Style::Red);
        return std::nullopt;
    }
    protocol.add(text::opening());
    protocol.add(text::pleaseWait());
    QString error;
    RunSource opened;
    opened.source = opener(definition.sourceKind, definition.fileName, error);
    if (!opened.source) {
        protocol.add(text::openFailed(), Style::Red);
        if (!error.isEmpty())
            protocol.add(QStringLiteral("- ") + error, Style::Red);
        return std::nullopt;
    }
    const QString tableName = runTableName(definition);
    opened.table = opened.source->openTable(tableName, error);
    if (!opened.table) {
        protocol.add(text::tableFailed(tableName), Style::Red);
        protocol.add(text::tableFailedHint(), Style::Red);
        return std::nullopt;
    }
    return opened;
}

} // namespace orvento::import
