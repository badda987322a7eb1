#include "folderserver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QRandomGenerator>
#include <QTcpSocket>

#include "httpconnection.h"

namespace {

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
    : QObject(parent), folder_(QFileInfo(folder).canonicalFilePath()), secret_(randomSegment()) {
    bool ok = false;
    const int idle = qEnvironmentVariableIntValue(idleEnvironmentVariable, &ok);
    if (ok && idle > 0)
        idleMs_ = idle;
    connect(&listener_, &QTcpServer::newConnection, this, &FolderServer::acceptConnections);
}

FolderServer::~FolderServer() {
    // The connections are children; they go before the listener, telling nobody.
    for (auto it = connections_.keyBegin(); it != connections_.keyEnd(); ++it)
        (*it)->disconnect(this);
}

bool FolderServer::start(quint16 port, QString& error) {
    if (!listener_.listen(QHostAddress(QHostAddress::LocalHost), port)) {
        error = port ? QStringLiteral("127.0.0.1 port %1 cannot be used (in use?)").arg(port)
                     : QStringLiteral("no free port on 127.0.0.1");
        return false;
    }
    port_ = listener_.serverPort();
    return true;
}

void FolderServer::acceptConnections() {
    while (QTcpSocket* socket = listener_.nextPendingConnection()) {
        if (connections_.size() >= maxConnections) {
            // Past the cap: closed at once, before anything of it is read.
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto* connection = new HttpConnection(socket, this);
        connections_.insert(connection, true);
        connect(connection, &HttpConnection::finished, this, [this](HttpConnection* done) {
            if (connections_.remove(done))
                done->deleteLater();
        });
    }
}

bool FolderServer::isOwnAuthority(const QByteArray& hostAndPort) const {
    const QByteArray host = hostAndPort.trimmed().toLower();
    const QByteArray port = QByteArray::number(port_);
    return host == "127.0.0.1:" + port || host == "localhost:" + port;
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

QString FolderServer::fileFor(const QByteArray& rawPath) const {
    if (folder_.isEmpty())
        return {};
    // Decoded here, once, so that "%2e%2e" and "%2f" are judged as what they stand for.
    const QByteArray path = QByteArray::fromPercentEncoding(rawPath);
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
