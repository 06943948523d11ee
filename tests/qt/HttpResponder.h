#pragma once

// A small HTTP/1.1 server on the loopback for the class client's tests: it answers each
// request with the next answer given (or the standing one), keeps what it was asked, and can be
// silent, or go away and come back on the same port.

#include <QByteArray>
#include <QDateTime>
#include <QHostAddress>
#include <QMap>
#include <QTcpServer>
#include <QTcpSocket>

#include <deque>
#include <vector>

namespace qt_test {

struct Answer {
    int status = 201;
    QByteArray body = R"({"id":"x"})";
};

struct Request {
    QByteArray method;
    QByteArray path;
    QMap<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body;
    qint64 at = 0; // when it was read whole, in ms since the epoch
};

class HttpResponder : public QObject {
  public:
    HttpResponder() { listen(); }
    ~HttpResponder() override {
        for (QTcpSocket* socket : server_.findChildren<QTcpSocket*>()) {
            socket->disconnect(this);
        }
    }

    bool listen(quint16 port = 0) {
        if (!server_.listen(QHostAddress::LocalHost, port)) {
            return false;
        }
        port_ = server_.serverPort();
        connect(&server_, &QTcpServer::newConnection, this, [this] { accept(); });
        return true;
    }
    // Stops listening and drops every connection: the server is down.
    void close() {
        server_.close();
        disconnect(&server_, nullptr, this, nullptr);
        for (QTcpSocket* socket : server_.findChildren<QTcpSocket*>()) {
            socket->abort();
        }
    }

    quint16 port() const { return port_; }
    QByteArray site(const QByteArray& folder = "/") const {
        return "http://127.0.0.1:" + QByteArray::number(port_) + folder;
    }

    void answer(Answer next) { answers_.push_back(std::move(next)); }
    void answerAlways(Answer standing) { standing_ = std::move(standing); }
    // Reads requests but answers none.
    void silence() { silent_ = true; }

    const std::vector<Request>& requests() const { return requests_; }

  private:
    void accept() {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            socket->setParent(&server_);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(*socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                buffers_.remove(socket);
                socket->deleteLater();
            });
        }
    }

    void read(QTcpSocket& socket) {
        QByteArray& buffer = buffers_[&socket];
        buffer += socket.readAll();
        for (;;) {
            const qsizetype end = buffer.indexOf("\r\n\r\n");
            if (end < 0) {
                return;
            }
            Request request;
            const QList<QByteArray> lines = buffer.left(end).split('\n');
            const QList<QByteArray> first = lines.front().trimmed().split(' ');
            request.method = first.value(0);
            request.path = first.value(1);
            for (qsizetype i = 1; i < lines.size(); ++i) {
                const qsizetype colon = lines[i].indexOf(':');
                request.headers.insert(lines[i].left(colon).trimmed().toLower(),
                                       lines[i].mid(colon + 1).trimmed());
            }
            const qsizetype length = request.headers.value("content-length", "0").toLongLong();
            if (buffer.size() < end + 4 + length) {
                return;
            }
            request.body = buffer.mid(end + 4, length);
            request.at = QDateTime::currentMSecsSinceEpoch();
            buffer.remove(0, end + 4 + length);
            requests_.push_back(request);
            if (!silent_) {
                respond(socket);
            }
        }
    }

    void respond(QTcpSocket& socket) {
        Answer next = standing_;
        if (!answers_.empty()) {
            next = answers_.front();
            answers_.pop_front();
        }
        socket.write("HTTP/1.1 " + QByteArray::number(next.status) +
                     " X\r\nContent-Type: application/json\r\nContent-Length: " +
                     QByteArray::number(next.body.size()) + "\r\n\r\n" + next.body);
    }

    QTcpServer server_;
    quint16 port_ = 0;
    std::deque<Answer> answers_;
    Answer standing_;
    bool silent_ = false;
    std::vector<Request> requests_;
    QMap<QTcpSocket*, QByteArray> buffers_;
};

} // namespace qt_test
