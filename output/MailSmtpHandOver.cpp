#include "output/MailSmtpHandOver.h"

#include "core/ProgressScope.h"
#include "core/UserInteraction.h"
#include "output/MailOffer.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <curl/curl.h>

#include <algorithm>
#include <memory>

namespace orvento::output {

namespace {

constexpr int kPollMs = 50;
constexpr int kSteps = 100;
constexpr int kLastStepBeforeEnd = 99;
constexpr qint64 kBase64Num = 4;
constexpr qint64 kBase64Den = 3;
constexpr long kLowSpeedBytes = 1;
constexpr int kEncodedChunk = 30; // characters per encoded word, well under its 75 bytes
constexpr long kRefusedRecipient = 550;

struct EasyDeleter {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct MultiDeleter {
    void operator()(CURLM* m) const { curl_multi_cleanup(m); }
};
struct MimeDeleter {
    void operator()(curl_mime* m) const { curl_mime_free(m); }
};
struct ListDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
using Easy = std::unique_ptr<CURL, EasyDeleter>;
using Multi = std::unique_ptr<CURLM, MultiDeleter>;
using Mime = std::unique_ptr<curl_mime, MimeDeleter>;
using List = std::unique_ptr<curl_slist, ListDeleter>;

void append(List& list, const QByteArray& line) {
    curl_slist* grown = curl_slist_append(list.get(), line.constData());
    if (grown) {
        static_cast<void>(list.release());
        list.reset(grown);
    }
}

bool isAscii(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

QByteArray bracketed(const QString& address) {
    return "<" + address.trimmed().toUtf8() + ">";
}

QString domainOf(const QString& address) {
    const qsizetype at = address.indexOf(QLatin1Char('@'));
    return at < 0 ? QStringLiteral("orvento.invalid") : address.mid(at + 1);
}

QByteArray contentType(const QString& file) {
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        return "application/pdf";
    return "application/octet-stream";
}

// The Czech message of a failed transfer; curl's own text says what happened, never the
// password.
QString failureText(CURLcode code, long response, const MailConfig& c, const QString& to,
                    const char* detail) {
    const QString server = QStringLiteral("%1:%2").arg(c.server).arg(c.port);
    const QString why = QString::fromUtf8(detail).trimmed();
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
        return QStringLiteral("Nelze se spojit s poštovním serverem %1 (%2).").arg(server, why);
    case CURLE_LOGIN_DENIED:
        return QStringLiteral("Poštovní server %1 odmítl přihlášení uživatele %2.")
            .arg(server, c.user);
    case CURLE_USE_SSL_FAILED:
        return QStringLiteral("Poštovní server %1 nenabízí šifrované spojení (STARTTLS), "
                              "e-mail nebyl odeslán.")
            .arg(server);
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CACERT_BADFILE:
        return QStringLiteral("Zabezpečené spojení s poštovním serverem %1 se nepodařilo "
                              "navázat, certifikát serveru nelze ověřit (%2).")
            .arg(server, why);
    case CURLE_OPERATION_TIMEDOUT:
        return QStringLiteral("Poštovní server %1 neodpověděl včas, e-mail nebyl odeslán.")
            .arg(server);
    case CURLE_READ_ERROR:
        return QStringLiteral("Přílohu e-mailu nelze přečíst (%1), e-mail nebyl odeslán.").arg(why);
    default:
        break;
    }
    if (response == kRefusedRecipient)
        return QStringLiteral("Poštovní server %1 odmítl adresáta %2 (%3).").arg(server, to, why);
    if (code == CURLE_SEND_ERROR || code == CURLE_RECV_ERROR || code == CURLE_GOT_NOTHING)
        return QStringLiteral("Poštovní server %1 e-mail nepřijal nebo přerušil spojení (%2).")
            .arg(server, why);
    return QStringLiteral("E-mail se nepodařilo odeslat přes poštovní server %1 (%2).")
        .arg(server, why);
}

} // namespace

MailSmtpHandOver::MailSmtpHandOver(MailConfig config, QString sender, PasswordSource password)
    : m_config(std::move(config))
    , m_sender(std::move(sender))
    , m_password(std::move(password)) {}

QByteArray MailSmtpHandOver::encodedHeader(const QString& text) {
    if (isAscii(text))
        return text.toUtf8();
    QByteArray out;
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype n = std::min<qsizetype>(kEncodedChunk, text.size() - i);
        // A surrogate pair stays in one word.
        if (i + n < text.size() && text.at(i + n - 1).isHighSurrogate())
            ++n;
        if (!out.isEmpty())
            out += "\r\n ";
        out += "=?UTF-8?B?" + text.mid(i, n).toUtf8().toBase64() + "?=";
        i += n;
    }
    return out;
}

QByteArray MailSmtpHandOver::attachmentDisposition(const QString& fileName) {
    QString plain = fileName;
    plain.replace(QLatin1Char('"'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    QByteArray header =
        "Content-Disposition: attachment; filename=\"" + encodedHeader(plain) + "\"";
    if (!isAscii(fileName))
        header += ";\r\n filename*=UTF-8''" +
                  fileName.toUtf8().toPercentEncoding(QByteArray(), QByteArray("'()*"));
    return header;
}

MailResult MailSmtpHandOver::send(const MailMessage& message, core::UserInteraction& ui) {
    if (m_config.server.isEmpty())
        return MailResult::failed(QStringLiteral(
            "V nastavení e-mailu není zadán poštovní server (Ostatní – \"Nastavení e-mailu\")."));
    if (!isSingleAddress(m_sender))
        return MailResult::failed(QStringLiteral(
            "Není zadána platná e-mailová adresa odesílatele: doplňte ji uživateli nebo do údajů "
            "firmy."));
    const bool secure = m_config.security != MailConfig::Security::None;
    const bool login = secure && !m_config.user.isEmpty();
    QByteArray password;
    if (login) {
        const std::optional<QString> typed = m_password ? m_password(ui) : std::nullopt;
        if (!typed)
            return MailResult::discarded();
        password = typed->toUtf8();
    }
    const auto wipe = [&password] {
        password.fill('\0');
    };

    Easy easy(curl_easy_init());
    Multi multi(curl_multi_init());
    if (!easy || !multi)
        return MailResult::failed(QStringLiteral("Knihovnu pro odesílání e-mailu nelze spustit."));
    CURL* e = easy.get();
    char errors[CURL_ERROR_SIZE] = {};
    const QByteArray url =
        (m_config.security == MailConfig::Security::Tls ? QByteArrayLiteral("smtps://")
                                                        : QByteArrayLiteral("smtp://")) +
        m_config.server.toUtf8() + ':' + QByteArray::number(m_config.port);
    curl_easy_setopt(e, CURLOPT_URL, url.constData());
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, errors);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_USE_SSL,
                     secure ? static_cast<long>(CURLUSESSL_ALL)
                            : static_cast<long>(CURLUSESSL_NONE));
    const QByteArray caFile = m_config.caFile.toLocal8Bit();
    if (!caFile.isEmpty())
        curl_easy_setopt(e, CURLOPT_CAINFO, caFile.constData());
    const QByteArray user = m_config.user.toUtf8();
    if (login) {
        curl_easy_setopt(e, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(e, CURLOPT_PASSWORD, password.constData());
    }
    const long timeout = m_config.timeoutSeconds;
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT, timeout);
    curl_easy_setopt(e, CURLOPT_SERVER_RESPONSE_TIMEOUT, timeout);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, kLowSpeedBytes);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, timeout);

    const QByteArray from = bracketed(m_sender);
    curl_easy_setopt(e, CURLOPT_MAIL_FROM, from.constData());
    List recipients;
    append(recipients, bracketed(message.to));
    // The sender's own copy, blind: no header names it.
    if (m_sender.trimmed().compare(message.to.trimmed(), Qt::CaseInsensitive) != 0)
        append(recipients, from);
    curl_easy_setopt(e, CURLOPT_MAIL_RCPT, recipients.get());

    List headers;
    append(headers, "Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toUtf8());
    append(headers, "Message-ID: <" + QUuid::createUuid().toByteArray(QUuid::WithoutBraces) + "@" +
                        domainOf(m_sender).toUtf8() + ">");
    append(headers, "From: " + from);
    append(headers, "To: " + bracketed(message.to));
    append(headers, "Subject: " + encodedHeader(message.subject));
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers.get());

    Mime mime(curl_mime_init(e));
    curl_mimepart* text = curl_mime_addpart(mime.get());
    // Mail lines end in CR LF; a bare LF would be sent as an encoded character, not a line.
    QString lines = message.body;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const QByteArray body = lines.toUtf8();
    curl_mime_data(text, body.constData(), static_cast<size_t>(body.size()));
    curl_mime_type(text, "text/plain; charset=UTF-8");
    curl_mime_encoder(text, "quoted-printable");
    qint64 total = body.size();
    std::vector<List> partHeaders;
    for (const QString& file : message.attachments) {
        curl_mimepart* part = curl_mime_addpart(mime.get());
        const QByteArray path = QFile::encodeName(file);
        if (curl_mime_filedata(part, path.constData()) != CURLE_OK)
            return MailResult::failed(
                QStringLiteral("Přílohu %1 nelze přečíst, e-mail nebyl odeslán.").arg(file));
        curl_mime_filename(part, nullptr);
        curl_mime_type(part, contentType(file).constData());
        curl_mime_encoder(part, "base64");
        List disposition;
        append(disposition, attachmentDisposition(QFileInfo(file).fileName()));
        curl_mime_headers(part, disposition.get(), 0);
        partHeaders.push_back(std::move(disposition));
        total += QFileInfo(file).size() * kBase64Num / kBase64Den;
    }
    curl_easy_setopt(e, CURLOPT_MIMEPOST, mime.get());

    curl_multi_add_handle(multi.get(), e);
    core::ProgressScope progress(ui, mailWaitText(), kSteps, true);
    int running = 1;
    bool cancelled = false;
    while (running > 0) {
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK)
            break;
        if (running == 0)
            break;
        curl_multi_poll(multi.get(), nullptr, 0, kPollMs, nullptr);
        curl_off_t sent = 0;
        curl_easy_getinfo(e, CURLINFO_SIZE_UPLOAD_T, &sent);
        const qint64 percent =
            total > 0 ? std::min<qint64>(kLastStepBeforeEnd, sent * kSteps / total) : 0;
        if (!progress.step(static_cast<int>(percent))) {
            cancelled = true;
            break;
        }
    }
    CURLcode result = CURLE_OK;
    if (!cancelled) {
        int left = 0;
        result = CURLE_GOT_NOTHING;
        while (CURLMsg* msg = curl_multi_info_read(multi.get(), &left))
            if (msg->msg == CURLMSG_DONE && msg->easy_handle == e)
                result = msg->data.result;
    }
    long response = 0;
    curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &response);
    curl_multi_remove_handle(multi.get(), e);
    curl_easy_setopt(e, CURLOPT_MIMEPOST, nullptr);
    wipe();
    progress.end();
    if (cancelled)
        return MailResult::discarded();
    if (result == CURLE_OK)
        return MailResult::sent();
    if (result == CURLE_LOGIN_DENIED && m_loginRefused)
        m_loginRefused();
    return MailResult::failed(failureText(result, response, m_config, message.to, errors));
}

} // namespace orvento::output
