#pragma once

// A mail server on 127.0.0.1 for the tests of sending e-mail: it speaks enough SMTP with
// STARTTLS (a certificate made for the test run) to take a message, and can refuse the login or
// the recipient, offer no STARTTLS or stay silent. It runs in a thread of its own, so that the
// sending code may block the test's thread as it blocks the interface.
// Header-only: only the tests that link Qt Network include it.

#include <QByteArray>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QProcess>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QStringList>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>

#include <memory>

namespace orvento::testsupport {

class SmtpSink {
public:
    enum class Mode { Accept, RefuseLogin, RefuseRecipient, NoStartTls, Silent };

    struct Received {
        QStringList commands; // as sent, AUTH lines shortened to "AUTH"
        QStringList recipients;
        QByteArray data; // the message, dots unstuffed (unless only counted)
        qint64 bytes = 0;
        bool encrypted = false;
        bool authSeen = false;
    };

    // `keepData` false only counts the message's bytes (the benchmark's 20 MB).
    explicit SmtpSink(Mode mode = Mode::Accept, bool keepData = true)
        : m_mode(mode)
        , m_keepData(keepData) {
        m_ok = makeCertificate();
        if (!m_ok)
            return;
        m_thread = std::make_unique<QThread>();
        m_server = new Server(*this);
        m_server->moveToThread(m_thread.get());
        QObject::connect(m_thread.get(), &QThread::finished, m_server, &QObject::deleteLater);
        m_thread->start();
        QMetaObject::invokeMethod(
            m_server,
            [this] {
                m_port = m_server->listen(QHostAddress::LocalHost, 0) ? m_server->serverPort() : 0;
            },
            Qt::BlockingQueuedConnection);
        m_ok = m_port != 0;
    }
    ~SmtpSink() {
        if (m_thread) {
            m_thread->quit();
            m_thread->wait();
        }
    }
    SmtpSink(const SmtpSink&) = delete;
    SmtpSink& operator=(const SmtpSink&) = delete;

    bool ok() const { return m_ok; }
    int port() const { return m_port; }
    QString caFile() const { return m_dir.filePath(QStringLiteral("cert.pem")); }
    Received received() const {
        QMutexLocker lock(&m_mutex);
        return m_received;
    }

private:
    class Server : public QTcpServer {
    public:
        explicit Server(SmtpSink& sink)
            : m_sink(sink) {}

    protected:
        void incomingConnection(qintptr descriptor) override {
            auto* socket = new QSslSocket(this);
            if (!socket->setSocketDescriptor(descriptor)) {
                delete socket;
                return;
            }
            QSslConfiguration tls = socket->sslConfiguration();
            tls.setLocalCertificate(m_sink.m_certificate);
            tls.setPrivateKey(m_sink.m_key);
            tls.setPeerVerifyMode(QSslSocket::VerifyNone);
            socket->setSslConfiguration(tls);
            QObject::connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
            if (m_sink.m_mode == Mode::Silent)
                return;
            auto state = std::make_shared<Session>();
            QObject::connect(socket, &QSslSocket::readyRead, socket,
                             [this, socket, state] { m_sink.read(*socket, *state); });
            QObject::connect(socket, &QSslSocket::encrypted, socket, [this] {
                QMutexLocker lock(&m_sink.m_mutex);
                m_sink.m_received.encrypted = true;
            });
            socket->write("220 sink ESMTP\r\n");
        }

    private:
        SmtpSink& m_sink;
    };

    struct Session {
        QByteArray buffer;
        bool inData = false;
        bool awaitingAuth = false;
    };

    void reply(QSslSocket& s, const QByteArray& line) { s.write(line + "\r\n"); }

    void read(QSslSocket& socket, Session& session) {
        session.buffer += socket.readAll();
        qsizetype end;
        while ((end = session.buffer.indexOf("\r\n")) >= 0) {
            const QByteArray line = session.buffer.left(end);
            session.buffer.remove(0, end + 2);
            if (session.inData) {
                if (line == ".") {
                    session.inData = false;
                    reply(socket, "250 accepted");
                    continue;
                }
                QMutexLocker lock(&m_mutex);
                m_received.bytes += line.size() + 2;
                if (m_keepData)
                    m_received.data += (line.startsWith('.') ? line.mid(1) : line) + "\r\n";
                continue;
            }
            command(socket, session, line);
        }
    }

    void command(QSslSocket& socket, Session& session, const QByteArray& line) {
        const qsizetype blank = line.indexOf(' ');
        const QByteArray verb = (blank < 0 ? line : line.left(blank)).toUpper();
        {
            QMutexLocker lock(&m_mutex);
            m_received.commands << QString::fromUtf8(
                verb.startsWith("AUTH") || session.awaitingAuth ? QByteArray("AUTH") : line);
            if (verb.startsWith("AUTH"))
                m_received.authSeen = true;
        }
        if (session.awaitingAuth) {
            session.awaitingAuth = false;
            reply(socket,
                  m_mode == Mode::RefuseLogin ? "535 5.7.8 bad credentials" : "235 2.7.0 accepted");
            return;
        }
        if (verb == "EHLO" || verb == "HELO") {
            QByteArray answer = "250-sink\r\n";
            if (m_mode != Mode::NoStartTls && !socket.isEncrypted())
                answer += "250-STARTTLS\r\n";
            answer += "250-AUTH PLAIN LOGIN\r\n250 8BITMIME";
            reply(socket, answer);
        } else if (verb == "STARTTLS" && m_mode != Mode::NoStartTls) {
            reply(socket, "220 go ahead");
            socket.startServerEncryption();
        } else if (verb == "AUTH") {
            // "AUTH PLAIN <credentials>" in one line, else the credentials follow.
            if (line.count(' ') >= 2) {
                reply(socket, m_mode == Mode::RefuseLogin ? "535 5.7.8 bad credentials"
                                                          : "235 2.7.0 accepted");
            } else {
                session.awaitingAuth = true;
                reply(socket, "334 ");
            }
        } else if (verb == "MAIL") {
            reply(socket, "250 ok");
        } else if (verb == "RCPT") {
            if (m_mode == Mode::RefuseRecipient) {
                reply(socket, "550 5.1.1 no such user");
                return;
            }
            {
                QMutexLocker lock(&m_mutex);
                const qsizetype open = line.indexOf('<');
                m_received.recipients
                    << QString::fromUtf8(line.mid(open + 1, line.indexOf('>') - open - 1));
            }
            reply(socket, "250 ok");
        } else if (verb == "DATA") {
            session.inData = true;
            reply(socket, "354 go on");
        } else if (verb == "QUIT") {
            reply(socket, "221 bye");
            socket.disconnectFromHost();
        } else if (verb == "RSET" || verb == "NOOP") {
            reply(socket, "250 ok");
        } else {
            reply(socket, "502 not here");
        }
    }

    bool makeCertificate() {
        if (!m_dir.isValid())
            return false;
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                       QStringLiteral("rsa:2048"), QStringLiteral("-nodes"),
                       QStringLiteral("-keyout"), m_dir.filePath(QStringLiteral("key.pem")),
                       QStringLiteral("-out"), m_dir.filePath(QStringLiteral("cert.pem")),
                       QStringLiteral("-days"), QStringLiteral("1"), QStringLiteral("-subj"),
                       QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
                       QStringLiteral("subjectAltName=IP:127.0.0.1")});
        if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0)
            return false;
        QFile key(m_dir.filePath(QStringLiteral("key.pem")));
        if (!key.open(QIODevice::ReadOnly))
            return false;
        m_key = QSslKey(&key, QSsl::Rsa);
        const auto certificates = QSslCertificate::fromPath(caFile());
        if (certificates.isEmpty() || m_key.isNull())
            return false;
        m_certificate = certificates.front();
        return true;
    }

    Mode m_mode;
    bool m_keepData;
    QTemporaryDir m_dir;
    QSslKey m_key;
    QSslCertificate m_certificate;
    std::unique_ptr<QThread> m_thread;
    Server* m_server = nullptr; // deleted in its thread when the thread ends
    int m_port = 0;
    bool m_ok = false;
    mutable QMutex m_mutex;
    Received m_received;
};

} // namespace orvento::testsupport
