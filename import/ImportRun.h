#pragma once

#include "core/ProgressScope.h"
#include "import/ImportDefinition.h"
#include "import/SourceOpener.h"

#include <QString>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::import {

class ImportProtocol;

// One run of a loaded definition, the same for the wizard, the command line and the tests:
// the protocol's start and end lines, the change stamps around the run and the kind's run.
// "Přerušit" is the program's cancel flag seen through an in-window progress scope on `ui`
// (the wizard's button, SIGTERM on the command line, cancelAtStep in tests); its question is
// asked through `ui` with no unit of work open.
class ImportRun {
public:
    enum Result : int { Ok = 0, Failed = -1, RecomputeFailed = -2 };

    ImportRun(core::Database& agenda, core::UserInteraction& ui, ImportProtocol& protocol);

    // The wizard's progress bar; the command line has none.
    void setDisplay(core::ProgressScope::Display display) { m_display = std::move(display); }
    // How the source file is opened (the readers unless told otherwise).
    void setSourceOpener(SourceOpener opener) { m_opener = std::move(opener); }
    // Runs `definition` with `sourceFile` standing for its stored file, for this run only.
    int execute(const ImportDefinition& definition, const QString& sourceFile);
    bool interrupted() const { return m_interrupted; }

private:
    core::Database& m_agenda;
    core::UserInteraction& m_ui;
    ImportProtocol& m_protocol;
    core::ProgressScope::Display m_display;
    SourceOpener m_opener = defaultSourceOpener();
    bool m_interrupted = false;
};

} // namespace orvento::import
