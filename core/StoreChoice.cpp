#include "core/StoreChoice.h"

#include "core/ConnectionFile.h"
#include "core/ProgramState.h"
#include "core/SqliteFolderStore.h"

#include <QDir>

#include <functional>

namespace orvento::core {

namespace {

StoreChoice choose(const QString& dataFolder, const QString& programFolder,
                   const StoreMakers& makers,
                   const std::function<std::unique_ptr<DataStore>()>& files) {
    StoreChoice choice;
    if (!hasConnectionFile(dataFolder)) {
        choice.store = files();
        return choice;
    }
    choice.server = readConnectionFile(dataFolder, &choice.problem);
    if (!choice.server)
        return choice;
    if (!makers.server) {
        choice.problem =
            QStringLiteral("Databáze datové složky %1 jsou podle souboru %2 uložené na "
                           "databázovém serveru %3. Tato verze programu však s databázovým "
                           "serverem pracovat neumí.")
                .arg(QDir::toNativeSeparators(dataFolder), QString::fromLatin1(kConnectionFileName),
                     choice.server->label());
        return choice;
    }
    if (makers.password) {
        if (const auto password = makers.password(*choice.server))
            choice.server->password = *password;
    }
    choice.store = makers.server(*choice.server, programFolder);
    if (!choice.store)
        choice.problem = serverUnreachableMessage(*choice.server, QString());
    return choice;
}

} // namespace

StoreChoice storeOfDataFolder(const QString& dataFolder, const QString& programFolder,
                              const StoreMakers& makers) {
    return choose(dataFolder, programFolder, makers,
                  [&] { return std::make_unique<SqliteFolderStore>(dataFolder, programFolder); });
}

StoreChoice programStoreChoice(const StoreMakers& makers) {
    const ProgramFolders& folders = programState().folders;
    return choose(folders.data, folders.program, makers, [] { return makeProgramStore(); });
}

QString serverUnreachableMessage(const ServerConnection& server, const QString& reason) {
    QString text = QStringLiteral("Nepodařilo se připojit k databázovému serveru %1 (uživatel %2).")
                       .arg(server.label(), server.user);
    if (!reason.trimmed().isEmpty())
        text += QStringLiteral("\n\nPopis chyby: ") + reason.trimmed();
    return text;
}

} // namespace orvento::core
