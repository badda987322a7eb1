#include "httpconnection.h"

#include <QTcpSocket>

#include "folderserver.h"

namespace {

// How much of a file waits in the socket's buffer at most, and the piece read at a time.
constexpr qint64 sendWindow = 256 * 1024;
constexpr qint64 pieceBytes = 64 * 1024;

const char* reasonPhrase(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 414:
        return "URI Too Long";
    case 431:
        return "Request Header Fields Too Large";
    case 500:
        return "Internal Server Error";
    case 505:
        return "HTTP Version Not Supported";
    }
    return "Error";
}

bool isToken(const QByteArray& text) {
    if (text.isEmpty())
        return false;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 32 || u >= 127 || QByteArrayView("()<>@,;:\\\"/[]?={}").contains(c))
            return false;
    }
    return true;
}

} // namespace

QByteArray HttpConnection::Request::value(const QByteArray& name) const {
    for (const auto& [key, value] : headers)
        if (key == name)
            return value;
    return {};
}

int HttpConnection::Request::count(const QByteArray& name) const {
    int n = 0;
    for (const auto& header : headers)
        n += header.first == name;
    return n;
}

HttpConnection::HttpConnection(QTcpSocket* socket, FolderServer* server)
    : QObject(server), socket_(socket), server_(server) {
    socket_->setParent(this);
    // Qt takes no more from the system than a head can hold: what a client sends beyond it
    // (a body, a flood) stays in the system's small socket buffer, and then with the client.
    socket_->setReadBufferSize(FolderServer::maxHeadBytes + 1);
    idle_.setSingleShot(true);
    idle_.setInterval(server_->idleMs());
    connect(&idle_, &QTimer::timeout, this, [this] { socket_->abort(); });
    connect(socket_, &QTcpSocket::readyRead, this, &HttpConnection::readMore);
    connect(socket_, &QTcpSocket::bytesWritten, this, [this] {
        touch();
        if (sending_)
            pump();
    });
    connect(socket_, &QTcpSocket::disconnected, this, [this] { emit finished(this); });
    connect(socket_, &QAbstractSocket::errorOccurred, this, [this] {
        if (socket_->state() == QAbstractSocket::UnconnectedState)
            emit finished(this);
    });
    idle_.start();
    readMore();
}

HttpConnection::~HttpConnection() = default;

void HttpConnection::touch() {
    idle_.start();
}

void HttpConnection::readMore() {
    while (!sending_ && !closing_) {
        if (socket_->bytesAvailable() > 0) {
            const qint64 room = FolderServer::maxHeadBytes + 1 - pending_.size();
            if (room > 0) {
                const QByteArray got = socket_->read(room);
                if (!got.isEmpty()) {
                    pending_ += got;
                    touch();
                }
            }
        }
        const qsizetype end = pending_.indexOf("\r\n\r\n");
        const qsizetype lineEnd = pending_.indexOf("\r\n");
        if ((lineEnd < 0 && pending_.size() > FolderServer::maxRequestLineBytes) ||
            lineEnd > FolderServer::maxRequestLineBytes) {
            refuse(414, {}, {});
            return;
        }
        if (end < 0) {
            if (pending_.size() > FolderServer::maxHeadBytes) {
                refuse(431, {}, {});
                return;
            }
            if (socket_->bytesAvailable() > 0 && pending_.size() <= FolderServer::maxHeadBytes)
                continue;
            return; // wait for more
        }
        if (end + 4 > FolderServer::maxHeadBytes) {
            refuse(431, {}, {});
            return;
        }
        const QByteArray head = pending_.left(end);
        pending_.remove(0, end + 4);

        Request request;
        const QList<QByteArray> lines = head.split('\n');
        const QList<QByteArray> parts =
            lines[0].chopped(lines[0].endsWith('\r') ? 1 : 0).split(' ');
        if (parts.size() != 3 || !isToken(parts[0]) || parts[1].isEmpty()) {
            refuse(400, {}, {});
            return;
        }
        request.method = parts[0];
        request.target = parts[1];
        request.version = parts[2];
        if (request.version != "HTTP/1.1" && request.version != "HTTP/1.0") {
            refuse(request.version.startsWith("HTTP/") ? 505 : 400, request.method, request.target);
            return;
        }
        if (lines.size() - 1 > FolderServer::maxHeaderLines) {
            refuse(431, request.method, request.target);
            return;
        }
        for (qsizetype i = 1; i < lines.size(); ++i) {
            QByteArray line = lines[i];
            if (line.endsWith('\r'))
                line.chop(1);
            const qsizetype colon = line.indexOf(':');
            // No folded lines, no name without a colon.
            if (colon <= 0 || !isToken(line.left(colon))) {
                refuse(400, request.method, request.target);
                return;
            }
            request.headers.append({line.left(colon).toLower(), line.mid(colon + 1).trimmed()});
        }
        handle(request);
    }
}

void HttpConnection::handle(const Request& request) {
    const QByteArray& method = request.method;
    const QByteArray& target = request.target;
    const QByteArray connection = request.value("connection").toLower();
    closeAfter_ = connection.contains("close") ||
                  (request.version == "HTTP/1.0" && !connection.contains("keep-alive"));
    // A body is never read: once answered, the connection ends, so its bytes are never taken
    // for a request.
    const QByteArray length = request.value("content-length");
    if (request.count("transfer-encoding") > 0 || (!length.isEmpty() && length != "0"))
        closeAfter_ = true;

    // The target: origin form "/path?query", or absolute form "http://authority/path", whose
    // authority must name this server as the Host header must.
    QByteArray path = target;
    if (!target.startsWith('/')) {
        if (!target.toLower().startsWith("http://")) {
            refuse(400, method, target);
            return;
        }
        const qsizetype slash = target.indexOf('/', 7);
        const QByteArray authority = target.mid(7, slash < 0 ? -1 : slash - 7);
        if (!server_->isOwnAuthority(authority)) {
            refuse(403, method, target);
            return;
        }
        path = slash < 0 ? QByteArray("/") : target.mid(slash);
    }
    if (request.count("host") != 1 || !server_->isOwnAuthority(request.value("host"))) {
        refuse(403, method, target);
        return;
    }
    if (method != "GET" && method != "HEAD") {
        closeAfter_ = true;
        refuse(405, method, target);
        return;
    }
    const qsizetype query = path.indexOf('?');
    if (query >= 0)
        path.truncate(query);
    const QString name = server_->fileFor(path);
    auto file = std::make_unique<QFile>(name);
    if (name.isEmpty() || !file->open(QIODevice::ReadOnly)) {
        refuse(404, method, target);
        return;
    }
    const qint64 size = file->size();
    if (method == "GET") {
        file_ = std::move(file);
        left_ = size;
    }
    answer(200, method, target, server_->contentType(name), size, {});
}

void HttpConnection::refuse(int status, const QByteArray& method, const QByteArray& target) {
    // A head that could not be read leaves no way to find where the next request starts.
    if (status == 400 || status == 414 || status == 431 || status == 505)
        closeAfter_ = true;
    const QByteArray body = QByteArray(reasonPhrase(status)) + '\n';
    answer(status, method, target, "text/plain; charset=utf-8", body.size(), body);
}

void HttpConnection::answer(int status, const QByteArray& method, const QByteArray& target,
                            const QByteArray& type, qint64 length, const QByteArray& body) {
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonPhrase(status) +
                      "\r\nContent-Type: " + type +
                      "\r\nContent-Length: " + QByteArray::number(length) +
                      "\r\nCache-Control: no-store\r\nX-Content-Type-Options: nosniff\r\n";
    if (status == 405)
        head += "Allow: GET, HEAD\r\n";
    if (closeAfter_)
        head += "Connection: close\r\n";
    head += "\r\n";
    socket_->write(head);
    if (method != "HEAD")
        socket_->write(body);
    emit server_->answered(method.isEmpty() ? QByteArray("-") : method,
                           target.isEmpty() ? QByteArray("-") : target, status);
    sending_ = true;
    pump();
}

void HttpConnection::pump() {
    while (file_ && left_ > 0 && socket_->bytesToWrite() < sendWindow) {
        const QByteArray piece = file_->read(std::min(pieceBytes, left_));
        if (piece.isEmpty()) {
            // The file shrank or failed under us: the promised length cannot be kept.
            socket_->abort();
            return;
        }
        left_ -= piece.size();
        socket_->write(piece);
    }
    if (file_ && left_ > 0)
        return;
    if (socket_->bytesToWrite() > 0)
        return; // the rest goes out first; bytesWritten brings us back
    doneWithResponse();
}

void HttpConnection::doneWithResponse() {
    file_.reset();
    sending_ = false;
    if (closeAfter_) {
        closeAfterWriting();
        return;
    }
    // The next request may already be here (pipelined).
    QMetaObject::invokeMethod(this, &HttpConnection::readMore, Qt::QueuedConnection);
}

void HttpConnection::closeAfterWriting() {
    closing_ = true;
    socket_->disconnectFromHost();
}
