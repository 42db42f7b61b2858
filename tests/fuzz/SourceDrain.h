#pragma once

#include "FuzzSupport.h"

#include "core/sources/ImportSource.h"

// Reads every table of an opened source the ways the program does: the offer's item import takes
// the raw cells of the active sheet, the imports and the definition editor the tables with their
// column names, row by row, each cell as text and as a number.
namespace orvento::fuzz {

inline void drainTable(core::sources::SourceTable& table) {
    (void)table.columns();
    (void)table.rowCount();
    core::sources::Row row;
    while (table.next(row))
        for (const core::sources::Cell& cell : row) {
            (void)cell.toText();
            (void)cell.toNumber();
        }
    (void)table.error();
}

inline void drainSource(core::sources::ImportSource& source) {
    QString error;
    if (const auto grid = source.rawGrid(source.activeTable(), error))
        for (const core::sources::Row& row : *grid)
            for (const core::sources::Cell& cell : row)
                (void)cell.toText();
    for (const QString& name : source.tables())
        if (const auto table = source.openTable(name, error))
            drainTable(*table);
}

// The bytes as a file of the kind, opened as an import opens its source and read whole.
inline int fuzzSourceFile(core::sources::SourceKind kind, const QString& fileName,
                          const std::uint8_t* data, std::size_t size) {
    const QString path = writeFile(fileName, bytes(data, size));
    QString error;
    if (const auto source = core::sources::openSource(kind, path, error))
        drainSource(*source);
    return 0;
}

} // namespace orvento::fuzz
