#include "core/ProgramState.h"

#include "core/PathUtil.h"
#include "core/SqliteFolderStore.h"

namespace orvento::core {

void ProgramFolders::setData(const QString& dataFolder) {
    data = withTrailingSlash(dataFolder);
    print = printFolderOf(data);
    lock = lockFolderOf(data);
}

QString ProgramState::agendaDocumentsFolder() const {
    return resolvePathInFolder(documentsFolderOf(folders.data), agenda + QLatin1Char('/'));
}

QString ProgramState::firmDocumentsFolder(qint64 firmId) const {
    return resolvePathInFolder(agendaDocumentsFolder(), QString::number(firmId) + QLatin1Char('/'));
}

QString ProgramState::offerDocumentsFolder(qint64 offerId) const {
    return resolvePathInFolder(agendaDocumentsFolder(), QStringLiteral("Nabidky/%1/").arg(offerId));
}

Connections::Connections(const SqlDialect& dialect)
    : global(QStringLiteral("orvento-global"), dialect)
    , agenda(QStringLiteral("orvento-agenda"), dialect)
    , spare(QStringLiteral("orvento-spare"), dialect) {}

std::unique_ptr<DataStore> makeProgramStore() {
    return std::make_unique<SqliteFolderStore>();
}

void useProgramStore(std::unique_ptr<DataStore> store) {
    ProgramState& s = programState();
    s.store = std::move(store);
    if (&s.db->global.dialect() == &s.store->dialect())
        return;
    s.db->agenda.close();
    s.db->spare.close();
    s.db->global.close();
    s.db = std::make_unique<Connections>(s.store->dialect());
}

QString ProgramState::agendaFilePath() const {
    return resolveInFolder(folders.data, agenda + QStringLiteral(".MDB"));
}

namespace {
// Created on first use and deliberately never destroyed: its connections must not be torn down
// during static destruction, after Qt's own connection registry is already gone. The program
// closes them itself before it ends.
ProgramState& instance() {
    static ProgramState* const state = new ProgramState;
    return *state;
}
} // namespace

ProgramState& programState() {
    return instance();
}

void resetProgramState() {
    ProgramState& s = instance();
    s.db->agenda.close();
    s.db->spare.close();
    s.db->global.close();
    s = ProgramState{};
}

} // namespace orvento::core
