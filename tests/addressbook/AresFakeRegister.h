#pragma once

#include "core/IniFile.h"

#include <QByteArray>
#include <QHostAddress>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>
#include <vector>

namespace orvento::testsupport {

// A register on the loopback interface: answers every GET with the scripted status and body,
// or, when silent, takes the request and never answers. Remembers what was asked.
class FakeRegister {
public:
    FakeRegister() {
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] { accept(); });
        m_server.listen(QHostAddress::LocalHost);
    }

    void answer(int status, const QByteArray& body,
                const QByteArray& type = QByteArrayLiteral("application/json")) {
        m_status = status;
        m_body = body;
        m_type = type;
        m_silent = false;
    }
    void stayOnHold() { m_silent = true; }
    // Answers, but a byte at a time, never quite silent and never done.
    void trickle() { m_trickle = true; }

    quint16 port() const { return m_server.serverPort(); }
    int requests() const { return static_cast<int>(m_requests.size()); }
    // The request line's target and the whole head of the last request.
    QByteArray lastTarget() const { return m_requests.empty() ? QByteArray() : m_targets.back(); }
    QByteArray lastHead() const { return m_requests.empty() ? QByteArray() : m_requests.back(); }

    // Tovaro.ini's section pointing the program at this register.
    void writeIni(const QString& path, const QString& kind, int timeoutSeconds = 1) const {
        core::IniFile ini = core::IniFile::load(path);
        ini.setValue(QStringLiteral("ARES"), QStringLiteral("Scheme"), QStringLiteral("http"));
        ini.setValue(QStringLiteral("ARES"), QStringLiteral("Host"),
                     QStringLiteral("127.0.0.1:%1").arg(port()));
        ini.setValue(QStringLiteral("ARES"), QStringLiteral("Kind"), kind);
        ini.setValue(QStringLiteral("ARES"), QStringLiteral("Timeout"),
                     QString::number(timeoutSeconds));
        ini.save(path);
    }

private:
    void accept() {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            m_open.emplace_back(socket);
            auto buffer = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::readyRead, [this, socket, buffer] {
                buffer->append(socket->readAll());
                const qsizetype end = buffer->indexOf("\r\n\r\n");
                if (end < 0)
                    return;
                const QByteArray head = buffer->left(end);
                m_requests.push_back(head);
                m_targets.push_back(head.split('\n').front().split(' ').value(1));
                buffer->clear();
                if (m_trickle)
                    startTrickle(*socket);
                else if (!m_silent)
                    reply(*socket);
            });
        }
    }
    void reply(QTcpSocket& socket) const {
        QByteArray response = "HTTP/1.1 " + QByteArray::number(m_status) + " Whatever\r\n";
        response += "Content-Type: " + m_type + "\r\n";
        response += "Content-Length: " + QByteArray::number(m_body.size()) + "\r\n";
        response += "Connection: close\r\n\r\n";
        response += m_body;
        socket.write(response);
        socket.disconnectFromHost();
    }

    void startTrickle(QTcpSocket& socket) {
        constexpr int kByteEveryMs = 100;
        socket.write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\n"
                     "Content-Length: 100000\r\n\r\n");
        auto* timer = new QTimer(&socket);
        QObject::connect(timer, &QTimer::timeout, &socket, [&socket] { socket.write(" "); });
        timer->start(kByteEveryMs);
    }

    QTcpServer m_server;
    std::vector<std::unique_ptr<QTcpSocket>> m_open;
    std::vector<QByteArray> m_requests;
    std::vector<QByteArray> m_targets;
    int m_status = 200;
    QByteArray m_body;
    QByteArray m_type = QByteArrayLiteral("application/json");
    bool m_silent = false;
    bool m_trickle = false;
};

} // namespace orvento::testsupport
