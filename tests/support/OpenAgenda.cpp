#include "support/OpenAgenda.h"

#include "core/ProgramState.h"
#include "core/SqlDialect.h"
#include "support/StoreKinds.h"

#include <gtest/gtest.h>

namespace orvento::testsupport {

namespace {

std::optional<core::DatabaseTemplate> templateNamed(const QString& templateName) {
    if (templateName == QLatin1String("0001.res"))
        return core::DatabaseTemplate::EmptyAgenda;
    if (templateName == QLatin1String("0002.res"))
        return core::DatabaseTemplate::Global;
    if (templateName == QLatin1String("0003.res"))
        return core::DatabaseTemplate::DemoAgenda;
    return std::nullopt;
}

// The program's store of the test's kind over the environment's data folder, made once per
// environment (a second agenda of the same test goes into the same place).
bool useTestStore(const TestEnvironment& env) {
    core::ProgramState& state = core::programState();
    state.folders.setData(env.dataFolder());
    if (&state.store->dialect() != &core::sqliteDialect())
        return true;
    const QString kind = testStoreKind();
    if (!prepareLocation(kind, env.dataFolder())) {
        ADD_FAILURE() << "no place for a " << kind.toStdString() << " store";
        return false;
    }
    auto store = makeStore(kind, env.dataFolder(), env.programFolder());
    if (!store) {
        ADD_FAILURE() << "no store of the kind " << kind.toStdString();
        return false;
    }
    core::useProgramStore(std::move(store));
    return true;
}

// `which` made by the store from the template and opened on the program's connection `db` (taken
// only once the store is in place, as it can bring connections of its own engine).
bool createAndOpen(const TestEnvironment& env, const QString& templateName,
                   const core::DatabaseId& which, core::Database core::Connections::*connection) {
    const auto from = templateNamed(templateName);
    if (!from || !useTestStore(env))
        return false;
    core::DataStore& store = *core::programState().store;
    core::Database& db = (*core::programState().db).*connection;
    if (!store.create(which, *from)) {
        ADD_FAILURE() << "the store did not make " << store.label(which).toStdString() << " from "
                      << templateName.toStdString();
        return false;
    }
    core::OpenFailure failure;
    if (!store.open(db, which, &failure)) {
        ADD_FAILURE() << "the store did not open " << store.label(which).toStdString() << ": "
                      << failure.reason.toStdString();
        return false;
    }
    return true;
}

} // namespace

bool openTestAgenda(const TestEnvironment& env, const QString& templateName,
                    const QString& agenda) {
    core::ProgramState& state = core::programState();
    if (testStoreIsServer()) {
        state.agenda = agenda;
        return createAndOpen(env, templateName, state.agendaId(), &core::Connections::agenda);
    }
    const QString file = agenda + QStringLiteral(".MDB");
    if (!env.copyTemplate(templateName, file))
        return false;
    state.folders.setData(env.dataFolder());
    state.agenda = agenda;
    return state.db->agenda.open(env.dataFolder() + file);
}

bool openTestGlobal(const TestEnvironment& env) {
    if (testStoreIsServer())
        return createAndOpen(env, QStringLiteral("0002.res"), core::DatabaseId::global(),
                             &core::Connections::global);
    return env.copyTemplate(QStringLiteral("0002.res"), QStringLiteral("Global.MDB")) &&
           core::programState().db->global.open(env.dataFolder() + QStringLiteral("Global.MDB"));
}

bool openEmptyAgendaAndGlobal(const TestEnvironment& env, const QString& agenda) {
    return openTestAgenda(env, QStringLiteral("0001.res"), agenda) && openTestGlobal(env);
}

} // namespace orvento::testsupport
