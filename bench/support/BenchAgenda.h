#pragma once

// The empty agenda a benchmark works in: built from the schema in a temporary folder and opened
// as the program's agenda, so that the code measured finds its folders and connection where the
// program keeps them.

#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/TemplateDatabases.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

namespace orvento::bench {

// The agenda "Bench" in `folder`, open; nullptr after saying why when it could not be made.
inline core::Database* openBenchAgenda(const QTemporaryDir& folder) {
    const QString path = folder.filePath(QStringLiteral("Bench.MDB"));
    QString error;
    if (!core::buildDatabaseFile(path, core::DatabaseKind::Agenda, false, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return nullptr;
    }
    core::ProgramState& state = core::programState();
    state.folders.setData(folder.path() + QLatin1Char('/'));
    state.agenda = QStringLiteral("Bench");
    QDir().mkpath(state.folders.lock);
    core::Database& db = state.db->agenda;
    if (!db.open(path)) {
        std::fprintf(stderr, "%s\n", qPrintable(db.lastError()));
        return nullptr;
    }
    return &db;
}

} // namespace orvento::bench
