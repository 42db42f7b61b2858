#pragma once

#include <QString>
#include <QStringList>

namespace orvento::app {

// What a start of the program asks for, decided from its arguments before any Qt application
// object exists: `--version` and `--help` must answer without a display.
enum class StartRequest { Window, Import, Backup, Version, Help, Unknown, Migrate };

StartRequest startRequestOf(const QStringList& arguments);

// `orvento --help`: what the program is and every option, in Czech (Qt's own parser would
// answer in English).
QString helpText();
// `orvento --version`.
QString versionText();
// Why a window cannot open here (no display and no platform chosen), or nothing. Qt would end
// the program with an English message and an abort instead.
QString missingDisplayText();

} // namespace orvento::app
