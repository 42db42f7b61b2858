#include "support/OpenAgenda.h"

#include "core/ProgramState.h"

namespace orvento::testsupport {

bool openTestAgenda(const TestEnvironment& env, const QString& templateName,
                    const QString& agenda) {
    const QString file = agenda + QStringLiteral(".MDB");
    if (!env.copyTemplate(templateName, file))
        return false;
    core::ProgramState& state = core::programState();
    state.folders.setData(env.dataFolder());
    state.agenda = agenda;
    return state.db->agenda.open(env.dataFolder() + file);
}

} // namespace orvento::testsupport
