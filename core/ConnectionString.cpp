#include "core/ConnectionString.h"

#include "core/ConnectionFile.h"

#include <QStringList>

#include <algorithm>
#include <cctype>
#include <map>

namespace orvento::core {

namespace {

using Settings = std::map<QString, QString>;

const QStringList kUriPrefixes{QStringLiteral("postgresql://"), QStringLiteral("postgres://")};
const QStringList kKnownKeys{QStringLiteral("host"),     QStringLiteral("port"),
                             QStringLiteral("dbname"),   QStringLiteral("user"),
                             QStringLiteral("password"), QStringLiteral("sslmode")};

// Reads one value of the keyword/value form from `i` on: quoted ('...') or up to the next
// blank, a backslash taking the next character as it is. False for an unclosed quote.
bool readValue(const QString& text, qsizetype& i, QString& value) {
    const bool quoted = i < text.size() && text.at(i) == QLatin1Char('\'');
    if (quoted)
        ++i;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (quoted ? c == QLatin1Char('\'') : c.isSpace())
            break;
        if (c == QLatin1Char('\\') && i + 1 < text.size())
            ++i;
        value += text.at(i++);
    }
    if (!quoted)
        return true;
    if (i >= text.size())
        return false;
    ++i; // the closing quote
    return true;
}

bool parseKeywords(const QString& text, Settings& settings, QString& problem) {
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && text.at(i).isSpace())
            ++i;
    };
    for (skipBlanks(); i < text.size(); skipBlanks()) {
        QString key;
        while (i < text.size() && text.at(i) != QLatin1Char('=') && !text.at(i).isSpace())
            key += text.at(i++);
        skipBlanks();
        if (i >= text.size() || text.at(i) != QLatin1Char('=')) {
            problem = QStringLiteral("za \"%1\" chybí \"=\" a hodnota.").arg(key);
            return false;
        }
        ++i;
        skipBlanks();
        QString value;
        if (!readValue(text, i, value)) {
            problem = QStringLiteral("hodnota \"%1\" nemá koncový apostrof.").arg(key);
            return false;
        }
        settings[key] = value;
    }
    return true;
}

// Percent-escapes decoded as UTF-8; a '%' not followed by two hexadecimal digits is a mistake.
std::optional<QString> decoded(const QString& part) {
    const QByteArray bytes = part.toUtf8();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) != '%')
            continue;
        if (i + 2 >= bytes.size() || !std::isxdigit(static_cast<unsigned char>(bytes.at(i + 1))) ||
            !std::isxdigit(static_cast<unsigned char>(bytes.at(i + 2))))
            return std::nullopt;
    }
    return QString::fromUtf8(QByteArray::fromPercentEncoding(bytes));
}

bool putDecoded(Settings& settings, const QString& key, const QString& part, QString& problem) {
    const auto value = decoded(part);
    if (!value) {
        problem = QStringLiteral("údaj %1 obsahuje chybný znak % (za ním mají být dvě "
                                 "šestnáctkové číslice).")
                      .arg(key);
        return false;
    }
    if (!value->isEmpty())
        settings[key] = *value;
    return true;
}

bool parseUri(const QString& rest, Settings& settings, QString& problem) {
    const qsizetype queryAt = rest.indexOf(QLatin1Char('?'));
    const QString beforeQuery = queryAt < 0 ? rest : rest.left(queryAt);
    const qsizetype pathAt = beforeQuery.indexOf(QLatin1Char('/'));
    const QString authority = pathAt < 0 ? beforeQuery : beforeQuery.left(pathAt);
    if (pathAt >= 0 &&
        !putDecoded(settings, QStringLiteral("dbname"), beforeQuery.mid(pathAt + 1), problem))
        return false;

    QString hostAndPort = authority;
    const qsizetype at = authority.lastIndexOf(QLatin1Char('@'));
    if (at >= 0) {
        const QString userInfo = authority.left(at);
        hostAndPort = authority.mid(at + 1);
        const qsizetype colon = userInfo.indexOf(QLatin1Char(':'));
        if (!putDecoded(settings, QStringLiteral("user"), userInfo.left(colon), problem))
            return false;
        if (colon >= 0 &&
            !putDecoded(settings, QStringLiteral("password"), userInfo.mid(colon + 1), problem))
            return false;
    }
    if (hostAndPort.contains(QLatin1Char(','))) {
        problem = QStringLiteral("program se připojuje jen k jednomu serveru.");
        return false;
    }
    QString host = hostAndPort;
    QString port;
    if (host.startsWith(QLatin1Char('['))) { // an IPv6 address
        const qsizetype close = host.indexOf(QLatin1Char(']'));
        if (close < 0) {
            problem = QStringLiteral("adresa serveru nemá koncovou závorku \"]\".");
            return false;
        }
        port = host.mid(close + 1);
        host = host.mid(1, close - 1);
        if (!port.isEmpty() && !port.startsWith(QLatin1Char(':'))) {
            problem = QStringLiteral("za adresou serveru smí následovat jen \":\" a port.");
            return false;
        }
        port = port.mid(1);
    } else if (const qsizetype colon = host.lastIndexOf(QLatin1Char(':')); colon >= 0) {
        port = host.mid(colon + 1);
        host = host.left(colon);
    }
    if (!putDecoded(settings, QStringLiteral("host"), host, problem) ||
        !putDecoded(settings, QStringLiteral("port"), port, problem))
        return false;

    if (queryAt < 0)
        return true;
    const QStringList pairs = rest.mid(queryAt + 1).split(QLatin1Char('&'), Qt::SkipEmptyParts);
    for (const QString& pair : pairs) {
        const qsizetype equals = pair.indexOf(QLatin1Char('='));
        if (equals < 0) {
            problem = QStringLiteral("parametr \"%1\" nemá hodnotu.").arg(pair);
            return false;
        }
        const auto key = decoded(pair.left(equals));
        if (!key) {
            problem = QStringLiteral("název parametru \"%1\" obsahuje chybný znak %.")
                          .arg(pair.left(equals));
            return false;
        }
        if (!putDecoded(settings, *key, pair.mid(equals + 1), problem))
            return false;
    }
    return true;
}

// Whether the connection file carries the value as it is: one line of it, read back trimmed.
bool fitsConnectionFile(const QString& value) {
    const bool control = std::any_of(value.begin(), value.end(), [](QChar c) {
        return c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
               c == QChar::ParagraphSeparator;
    });
    return !control && value == value.trimmed();
}

std::optional<ServerConnection> connectionFrom(const Settings& settings, QString& problem) {
    for (const auto& [key, value] : settings) {
        if (!kKnownKeys.contains(key)) {
            problem = QStringLiteral("parametr \"%1\" program nezná (zná %2).")
                          .arg(key, kKnownKeys.join(QStringLiteral(", ")));
            return std::nullopt;
        }
    }
    const auto valueOf = [&](const QString& key) {
        const auto found = settings.find(key);
        return found == settings.end() ? QString() : found->second;
    };
    ServerConnection server;
    server.host = valueOf(QStringLiteral("host"));
    server.database = valueOf(QStringLiteral("dbname"));
    server.user = valueOf(QStringLiteral("user"));
    server.password = valueOf(QStringLiteral("password"));
    for (const auto& [key, value] : {std::pair{QStringLiteral("host"), server.host},
                                     std::pair{QStringLiteral("dbname"), server.database},
                                     std::pair{QStringLiteral("user"), server.user}}) {
        if (value.isEmpty()) {
            problem =
                QStringLiteral("chybí %1 (ostatní stanice musí dostat stejné údaje).").arg(key);
            return std::nullopt;
        }
        // The other workstations learn the server from the connection file.
        if (!fitsConnectionFile(value)) {
            problem = QStringLiteral("%1 nesmí obsahovat řídicí znaky (konec řádku, tabulátor) "
                                     "ani začínat či končit mezerou.")
                          .arg(key);
            return std::nullopt;
        }
    }
    if (const QString port = valueOf(QStringLiteral("port")); !port.isEmpty()) {
        const auto number = portFrom(port);
        if (!number) {
            problem = QStringLiteral("port \"%1\" není číslo od 1 do 65535.").arg(port);
            return std::nullopt;
        }
        server.port = *number;
    }
    if (const QString mode = valueOf(QStringLiteral("sslmode")); !mode.isEmpty()) {
        if (!isKnownSslMode(mode)) {
            problem = QStringLiteral("sslmode \"%1\" neznáme.").arg(mode);
            return std::nullopt;
        }
        server.sslMode = mode;
    }
    return server;
}

} // namespace

std::optional<ServerConnection> parseConnectionString(const QString& text, QString* problem) {
    Settings settings;
    QString why;
    const QString trimmed = text.trimmed();
    const auto uri = std::find_if(kUriPrefixes.begin(), kUriPrefixes.end(), [&](const QString& p) {
        return trimmed.startsWith(p, Qt::CaseInsensitive);
    });
    const bool read = uri != kUriPrefixes.end() ? parseUri(trimmed.mid(uri->size()), settings, why)
                                                : parseKeywords(trimmed, settings, why);
    std::optional<ServerConnection> server;
    if (read)
        server = connectionFrom(settings, why);
    // The text itself is not repeated: it may hold a password.
    if (!server && problem)
        *problem = QStringLiteral("Připojení k databázovému serveru nelze použít: %1").arg(why);
    return server;
}

} // namespace orvento::core
