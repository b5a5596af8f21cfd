#include "http_test_server.h"

#include <QTcpSocket>
#include <memory>

namespace {

QByteArray description(int version) {
    return "<?xml version=\"1.0\"?>\n<VantrelUpdate>\n\t<Version>" + QByteArray::number(version) +
           "</Version>\n</VantrelUpdate>\n";
}

QByteArray response(int status, const char* reason, const QByteArray& body, const QByteArray& extra = {}) {
    return "HTTP/1.1 " + QByteArray::number(status) + " " + reason + "\r\nContent-Type: text/xml\r\n" +
           extra + "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" +
           body;
}

}  // namespace

HttpTestServer::HttpTestServer() {
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, &HttpTestServer::onConnection);
}

std::string HttpTestServer::base(const std::string& serverCase) const {
    return "http://127.0.0.1:" + std::to_string(m_server.serverPort()) + "/" + serverCase;
}

int HttpTestServer::requests(const std::string& serverCase) const {
    auto it = m_requests.find(serverCase);
    return it == m_requests.end() ? 0 : it->second;
}

void HttpTestServer::onConnection() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            // Headers arrive in one piece on the loopback; the request line is enough.
            const QByteArray head = socket->readAll();
            const QList<QByteArray> words = head.left(head.indexOf("\r\n")).split(' ');
            if (words.size() >= 2) answer(socket, words[1]);
        });
    }
}

void HttpTestServer::answer(QTcpSocket* socket, const QByteArray& path) {
    const QByteArray serverCase = path.mid(1, path.indexOf('/', 1) - 1);
    const QByteArray rest = path.mid(path.indexOf('/', 1));
    ++m_requests[serverCase.toStdString()];
    QByteArray reply;
    if (serverCase == "newer") {
        reply = response(200, "OK", description(2));
    } else if (serverCase == "equal") {
        reply = response(200, "OK", description(1));
    } else if (serverCase == "older") {
        reply = response(200, "OK", description(0));
    } else if (serverCase == "malformed") {
        reply = response(200, "OK", "<?xml version=\"1.0\"?>\n<VantrelUpdate><Version>2</Version>");
    } else if (serverCase == "noversion") {
        reply = response(200, "OK", "<VantrelUpdate><Build>2</Build></VantrelUpdate>");
    } else if (serverCase == "huge" || serverCase == "unsized") {
        // A newer description padded to 10 MB, fed as the client takes it; "unsized"
        // does not announce its length.
        const QByteArray head = description(2) + "<!--";
        const qint64 total = 10 * 1024 * 1024;
        socket->write(
            "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\n" +
            (serverCase == "huge" ? "Content-Length: " + QByteArray::number(total) + "\r\n" : QByteArray()) +
            "Connection: close\r\n\r\n" + head);
        auto sent = std::make_shared<qint64>(head.size());
        auto feed = [socket, sent, total] {
            if (*sent >= total || socket->bytesToWrite() > 0) return;
            const qint64 n = std::min<qint64>(256 * 1024, total - *sent);
            socket->write(QByteArray(int(n), ' '));
            *sent += n;
            if (*sent >= total) socket->disconnectFromHost();
        };
        connect(socket, &QTcpSocket::bytesWritten, socket, feed);
        feed();
        return;
    } else if (serverCase == "missing") {
        reply = response(404, "Not Found", description(2));
    } else if (serverCase == "loop") {
        reply = response(302, "Found", {}, "Location: " + path + "\r\n");
    } else if (serverCase.startsWith("hop")) {
        const int hops = serverCase.mid(3).toInt();
        const QByteArray next = hops > 1 ? "/hop" + QByteArray::number(hops - 1) : QByteArray("/newer");
        reply = response(302, "Found", {}, "Location: " + next + rest + "\r\n");
    } else if (serverCase == "silent") {
        return;
    } else {
        reply = response(404, "Not Found", {});
    }
    socket->write(reply);
    socket->disconnectFromHost();
}
