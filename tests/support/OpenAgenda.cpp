#include "support/OpenAgenda.h"

#include "core/ProgramState.h"
#include "core/SqlDialect.h"
#include "support/StoreKinds.h"
#include "support/TestStore.h"

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
// environment (a second agenda of the same test goes into the same place). Fixtures take the
// program's connections after this: another engine's store brings connections of its own.
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

// `which` made by the store from the template and opened on `db`.
bool createAndOpen(const QString& templateName, const core::DatabaseId& which, core::Database& db) {
    const auto from = templateNamed(templateName);
    if (!from)
        return false;
    core::DataStore& store = *core::programState().store;
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
        return useTestStore(env) && createAndOpen(templateName, state.agendaId(), state.db->agenda);
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
        return useTestStore(env) &&
               createAndOpen(QStringLiteral("0002.res"), core::DatabaseId::global(),
                             core::programState().db->global);
    return env.copyTemplate(QStringLiteral("0002.res"), QStringLiteral("Global.MDB")) &&
           core::programState().db->global.open(env.dataFolder() + QStringLiteral("Global.MDB"));
}

bool openEmptyAgendaAndGlobal(const TestEnvironment& env, const QString& agenda) {
    return openTestAgenda(env, QStringLiteral("0001.res"), agenda) && openTestGlobal(env);
}

bool openAgendaElsewhere(core::Database& other) {
    core::ProgramState& state = core::programState();
    if (testStoreIsServer())
        return state.store->open(other, state.agendaId());
    return other.open(state.db->agenda.filePath());
}

QStringList recordEditedElsewhere(const TestEnvironment& env, const QString& table, qint64 id,
                                  bool shared) {
    const core::ProgramState& state = core::programState();
    if (!testStoreIsServer())
        return {QStringLiteral("record-lock"), state.folders.lock,
                shared ? QStringLiteral("Global") : state.agenda, table, QString::number(id)};
    return {QStringLiteral("store-lock"),
            testStoreKind(),
            env.dataFolder(),
            shared ? QStringLiteral("-") : state.agenda,
            table,
            QString::number(id)};
}

} // namespace orvento::testsupport
