#include "folderserver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QRandomGenerator>

namespace {

using Status = QHttpServerResponder::StatusCode;

QString randomSegment() {
    quint32 words[4]; // 128 bits
    QRandomGenerator::system()->fillRange(words);
    QString text;
    for (quint32 w : words)
        text += QStringLiteral("%1").arg(w, 8, 16, QLatin1Char('0'));
    return text;
}

QByteArray typeByExtension(const QString& file) {
    const QString ext = QFileInfo(file).suffix().toLower();
    if (ext == QLatin1String("html") || ext == QLatin1String("htm"))
        return "text/html; charset=Shift_JIS"; // the exported page is Shift-JIS
    if (ext == QLatin1String("js"))
        return "text/javascript";
    if (ext == QLatin1String("wasm"))
        return "application/wasm";
    if (ext == QLatin1String("swf"))
        return "application/x-shockwave-flash";
    if (ext == QLatin1String("json"))
        return "application/json";
    if (ext == QLatin1String("txt"))
        return "text/plain; charset=Shift_JIS";
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg"))
        return "image/jpeg";
    if (ext == QLatin1String("png"))
        return "image/png";
    return "application/octet-stream";
}

} // namespace

FolderServer::FolderServer(const QString& folder, QObject* parent)
    : QAbstractHttpServer(parent), folder_(QFileInfo(folder).canonicalFilePath()),
      secret_(randomSegment()) {}

bool FolderServer::start(quint16 port, QString& error) {
    port_ = listen(QHostAddress(QHostAddress::LocalHost), port);
    if (port_ == 0) {
        error = port ? QStringLiteral("127.0.0.1 port %1 cannot be used (in use?)").arg(port)
                     : QStringLiteral("no free port on 127.0.0.1");
        return false;
    }
    return true;
}

QUrl FolderServer::url(const QString& fileName) const {
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(port_);
    url.setPath(QLatin1Char('/') + secret_ + QLatin1Char('/') + fileName);
    return url;
}

void FolderServer::setContentType(const QString& fileName, const QByteArray& type) {
    types_.insert(fileName, type);
}

QByteArray FolderServer::contentType(const QString& file) const {
    const QString name = QDir(folder_).relativeFilePath(file);
    const auto it = types_.constFind(name);
    return it != types_.constEnd() ? it.value() : typeByExtension(file);
}

QString FolderServer::fileFor(const QUrl& url) const {
    if (folder_.isEmpty())
        return {};
    // Decoded here, once, so that "%2e%2e" and "%2f" are judged as what they stand for.
    const QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toUtf8());
    const QList<QByteArray> segments = path.split('/');
    // "", the secret, then at least one name.
    if (segments.size() < 3 || !segments[0].isEmpty() || segments[1] != secret_.toLatin1())
        return {};
    QString relative;
    for (qsizetype i = 2; i < segments.size(); ++i) {
        const QByteArray& s = segments[i];
        if (s.isEmpty() || s == "." || s == ".." || s.contains('\\') || s.contains('\0'))
            return {};
        const QString name = QString::fromUtf8(s);
        if (name.toUtf8() != s) // not UTF-8: no file of ours has such a name
            return {};
        relative += (i > 2 ? QStringLiteral("/") : QString()) + name;
    }
    // Links are followed, but the file they reach must lie inside the folder.
    const QFileInfo info(folder_ + QLatin1Char('/') + relative);
    const QString real = info.canonicalFilePath();
    if (real.isEmpty() || !real.startsWith(folder_ + QLatin1Char('/')))
        return {};
    const QFileInfo target(real);
    if (!target.isFile() || target.isSymLink())
        return {};
    return real;
}

bool FolderServer::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
    QHttpServerResponder responder = makeResponder(request, socket);
    const QByteArray target = request.url().toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority);
    const QByteArray method =
        request.method() == QHttpServerRequest::Method::Get    ? QByteArray("GET")
        : request.method() == QHttpServerRequest::Method::Head ? QByteArray("HEAD")
                                                               : QByteArray("OTHER");
    auto answer = [&](Status status, const QByteArray& type, const QByteArray& body,
                      qint64 length) {
        responder.writeStatusLine(status);
        responder.writeHeader("Content-Type", type);
        responder.writeHeader("Content-Length", QByteArray::number(length));
        responder.writeHeader("Cache-Control", "no-store");
        responder.writeHeader("X-Content-Type-Options", "nosniff");
        if (status == Status::MethodNotAllowed)
            responder.writeHeader("Allow", "GET, HEAD");
        if (method == "HEAD")
            responder.writeBody("", 0);
        else
            responder.writeBody(body);
        emit answered(method, target, int(status));
    };
    auto refuse = [&](Status status, const QByteArray& why) {
        answer(status, "text/plain; charset=utf-8", why + '\n', why.size() + 1);
    };

    const QByteArray host = request.value("Host").toLower();
    const QByteArray port = QByteArray::number(port_);
    if (host != "127.0.0.1:" + port && host != "localhost:" + port) {
        refuse(Status::Forbidden, "Forbidden");
        return true;
    }
    if (method == "OTHER") {
        refuse(Status::MethodNotAllowed, "Method Not Allowed");
        return true;
    }
    const QString file = fileFor(request.url());
    QFile f(file);
    if (file.isEmpty() || !f.open(QIODevice::ReadOnly)) {
        refuse(Status::NotFound, "Not Found");
        return true;
    }
    if (method == "HEAD") {
        answer(Status::Ok, contentType(file), {}, f.size());
        return true;
    }
    const QByteArray body = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        refuse(Status::InternalServerError, "Internal Server Error");
        return true;
    }
    answer(Status::Ok, contentType(file), body, body.size());
    return true;
}

void FolderServer::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
    makeResponder(request, socket).write(QHttpServerResponder::StatusCode::NotFound);
}
