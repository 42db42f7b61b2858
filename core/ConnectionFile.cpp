#include "core/ConnectionFile.h"

#include "core/IniFile.h"
#include "core/PathUtil.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <algorithm>

namespace orvento::core {

namespace {

const QString kSection = QStringLiteral("SERVER");
const QString kHost = QStringLiteral("Host");
const QString kPort = QStringLiteral("Port");
const QString kDatabase = QStringLiteral("Database");
const QString kUser = QStringLiteral("User");
const QString kSslMode = QStringLiteral("SslMode");

constexpr int kHighestPort = 65535;

// What the file says to whoever opens it in an editor.
const QString kExplanation = QStringLiteral(
    "; Databáze této datové složky jsou uložené na databázovém serveru PostgreSQL.\n"
    "; Všechny stanice, které složku používají, se připojují k serveru uvedenému níže.\n"
    "; Heslo se sem nezapisuje: program je hledá v klíčence uživatele, jinak platí\n"
    "; soubor s hesly serveru (~/.pgpass nebo proměnná PGPASSFILE).\n"
    "; Bez tohoto souboru jsou databáze soubory přímo v datové složce.\n");

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString wrongFile(const QString& path, const QString& what) {
    return QStringLiteral("Soubor s připojením k databázovému serveru %1 nelze použít: %2")
        .arg(shown(path), what);
}

} // namespace

bool isKnownSslMode(const QString& mode) {
    static const QStringList modes{QStringLiteral("disable"),   QStringLiteral("allow"),
                                   QStringLiteral("prefer"),    QStringLiteral("require"),
                                   QStringLiteral("verify-ca"), QStringLiteral("verify-full")};
    return modes.contains(mode);
}

std::optional<int> portFrom(const QString& text) {
    bool ok = false;
    const int port = text.trimmed().toInt(&ok);
    if (!ok || port < 1 || port > kHighestPort)
        return std::nullopt;
    return port;
}

QString connectionFilePath(const QString& dataFolder) {
    return resolveInFolder(withTrailingSlash(dataFolder), QString::fromLatin1(kConnectionFileName));
}

bool hasConnectionFile(const QString& dataFolder) {
    return existsInFolder(withTrailingSlash(dataFolder), QString::fromLatin1(kConnectionFileName));
}

std::optional<ServerConnection> readConnectionFile(const QString& dataFolder, QString* problem) {
    const QString path = connectionFilePath(dataFolder);
    const auto refuse = [&](const QString& what) -> std::optional<ServerConnection> {
        if (problem)
            *problem = wrongFile(path, what);
        return std::nullopt;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(QStringLiteral("soubor nelze přečíst (%1).").arg(file.errorString()));
    const QByteArray bytes = file.readAll();
    if (bytes.contains('\0'))
        return refuse(QStringLiteral("soubor není textový."));
    const IniFile ini = IniFile::fromText(QString::fromUtf8(bytes));
    const QStringList keys{kHost, kPort, kDatabase, kUser, kSslMode};
    if (std::none_of(keys.begin(), keys.end(),
                     [&](const QString& key) { return ini.contains(kSection, key); }))
        return refuse(QStringLiteral("chybí oddíl [%1] s údaji o serveru.").arg(kSection));

    ServerConnection server;
    for (const QString& key : {kHost, kDatabase, kUser}) {
        if (ini.value(kSection, key).isEmpty())
            return refuse(QStringLiteral("chybí položka %1 v oddílu [%2].").arg(key, kSection));
    }
    server.host = ini.value(kSection, kHost);
    server.database = ini.value(kSection, kDatabase);
    server.user = ini.value(kSection, kUser);
    if (ini.contains(kSection, kPort)) {
        const QString text = ini.value(kSection, kPort);
        const auto port = portFrom(text);
        if (!port)
            return refuse(
                QStringLiteral("port \"%1\" není číslo od 1 do %2.").arg(text).arg(kHighestPort));
        server.port = *port;
    }
    if (ini.contains(kSection, kSslMode)) {
        server.sslMode = ini.value(kSection, kSslMode);
        if (!isKnownSslMode(server.sslMode))
            return refuse(QStringLiteral("%1 \"%2\" neznáme (platí disable, allow, prefer, "
                                         "require, verify-ca nebo verify-full).")
                              .arg(kSslMode, server.sslMode));
    }
    return server;
}

bool writeConnectionFile(const QString& dataFolder, const ServerConnection& server,
                         QString* problem) {
    IniFile ini = IniFile::fromText(kExplanation);
    ini.setValue(kSection, kHost, server.host);
    ini.setValue(kSection, kPort, QString::number(server.port));
    ini.setValue(kSection, kDatabase, server.database);
    ini.setValue(kSection, kUser, server.user);
    ini.setValue(kSection, kSslMode, server.sslMode);
    const QString path = connectionFilePath(dataFolder);
    if (ini.save(path))
        return true;
    if (problem)
        *problem = QStringLiteral("Soubor s připojením k databázovému serveru %1 se nepodařilo "
                                  "zapsat.")
                       .arg(shown(path));
    return false;
}

} // namespace orvento::core
