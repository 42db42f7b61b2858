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

bool openEmptyAgendaAndGlobal(const TestEnvironment& env, const QString& agenda) {
    return openTestAgenda(env, QStringLiteral("0001.res"), agenda) &&
           env.copyTemplate(QStringLiteral("0002.res"), QStringLiteral("Global.MDB")) &&
           core::programState().db->global.open(env.dataFolder() + QStringLiteral("Global.MDB"));
}

} // namespace orvento::testsupport
