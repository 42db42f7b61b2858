#include "addressbook/AresClient.h"

#include "addressbook/AresReaders.h"
#include "core/IniFile.h"
#include "core/ProgramState.h"
#include "core/ProgressScope.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrlQuery>

#include <memory>

namespace orvento::addressbook {

namespace {

const QString kSection = QStringLiteral("ARES");
const QString kRestPath = QStringLiteral("/ekonomicke-subjekty-v-be/rest/ekonomicke-subjekty/");
const QString kXmlPath = QStringLiteral("/cgi-bin/ares/darv_std.cgi");
const QString kXmlQueryKey = QStringLiteral("ico");
constexpr int kMsPerSecond = 1000;
// How often the interface repaints while the answer is awaited.
constexpr int kPollMs = 50;
constexpr int kHttpOk = 200;
constexpr int kHttpNotFound = 404;

struct Reply {
    bool answered = false;
    int status = 0;
    QByteArray body;
};

// GET of the URL; no answer when the connection failed or the time-out passed first.
Reply fetch(const QUrl& url, bool json, int timeoutMs, core::ProgressScope& wait) {
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setTransferTimeout(timeoutMs);
    if (json)
        request.setRawHeader("Accept", "application/json");
    const std::unique_ptr<QNetworkReply> reply(manager.get(request));
    // The transfer time-out only counts silence; a server that trickles its answer is stopped
    // by the clock as well.
    QElapsedTimer clock;
    clock.start();
    while (!reply->isFinished()) {
        if (clock.elapsed() >= timeoutMs) {
            reply->abort();
            break;
        }
        QEventLoop loop;
        QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(kPollMs, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        wait.step(0);
    }
    Reply result;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const QNetworkReply::NetworkError error = reply->error();
    const bool cut =
        error == QNetworkReply::OperationCanceledError || error == QNetworkReply::TimeoutError;
    result.answered = reply->isFinished() && status.isValid() && !cut;
    if (result.answered) {
        result.status = status.toInt();
        result.body = reply->readAll();
    }
    return result;
}

} // namespace

AresService AresService::fromIni(const core::IniFile& ini) {
    AresService service;
    const QString scheme = ini.value(kSection, QStringLiteral("Scheme")).trimmed();
    if (!scheme.isEmpty())
        service.scheme = scheme.toLower();
    const QString host = ini.value(kSection, QStringLiteral("Host")).trimmed();
    if (!host.isEmpty())
        service.host = host;
    if (ini.value(kSection, QStringLiteral("Kind"))
            .trimmed()
            .compare(QLatin1String("XML"), Qt::CaseInsensitive) == 0)
        service.kind = Kind::Xml;
    bool ok = false;
    const int timeout = ini.value(kSection, QStringLiteral("Timeout")).trimmed().toInt(&ok);
    if (ok && timeout > 0)
        service.timeoutSeconds = timeout;
    return service;
}

AresService AresService::configured() {
    return fromIni(core::IniFile::load(core::programState().folders.iniFile));
}

QUrl AresService::urlOf(const QString& ico) const {
    QUrl url;
    url.setScheme(scheme);
    url.setAuthority(host);
    if (kind == Kind::Rest) {
        url.setPath(kRestPath + ico);
    } else {
        url.setPath(kXmlPath);
        QUrlQuery query;
        query.addQueryItem(kXmlQueryKey, ico);
        url.setQuery(query);
    }
    return url;
}

AresRecord queryAres(const AresService& service, const QString& typedIco,
                     core::ProgressScope& wait) {
    const QString asked = icoWithoutBlanks(typedIco);
    const std::optional<QString> ico = registerIco(typedIco);
    AresRecord record;
    if (!ico) {
        record.error = aresNotFoundMessage(asked);
        return record;
    }
    const bool rest = service.kind == AresService::Kind::Rest;
    const Reply reply =
        fetch(service.urlOf(*ico), rest, service.timeoutSeconds * kMsPerSecond, wait);
    if (!reply.answered) {
        record.error = aresNoConnectionMessage();
        return record;
    }
    if (rest) {
        if (reply.status == kHttpNotFound)
            record.error = aresNotFoundMessage(asked);
        else if (reply.status != kHttpOk)
            record.error = aresUnreadableMessage(asked);
        else
            record = readAresJson(reply.body, asked);
    } else {
        // The XML service answers every query with a document; its count says whether found.
        record = readAresXml(reply.body, asked);
    }
    if (record.found()) {
        if (record.ico.trimmed().isEmpty())
            record.ico = *ico;
        record.fitToCard();
    }
    return record;
}

} // namespace orvento::addressbook
