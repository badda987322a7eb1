#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <QUrl>

class HttpConnection;

// Serves the regular files of one folder over HTTP/1.1 on 127.0.0.1, for a browser on this
// machine only. Everything lives under a path segment drawn at random for each server
// (128 bits), so other programs and users of the machine cannot guess a file's address;
// requests whose Host header (or the authority of an absolute-form request line) is not this
// server's own address are refused, so a web page cannot reach it by pointing a domain name
// at 127.0.0.1. Only GET and HEAD; no listings; nothing outside the folder (no "..", however
// encoded, no link leading out); nothing is cached by the browser, so a reload shows the
// folder's latest files.
//
// What a client can make it hold is bounded: the request line and the headers have limits,
// a request body is never read (a request announcing one is answered, then its connection
// closed), files are streamed a piece at a time as the client takes them, a connection that
// neither sends nor takes anything for the idle limit is closed, and past maxConnections a
// new connection is closed at once.
class FolderServer : public QObject {
    Q_OBJECT
public:
    static constexpr int maxRequestLineBytes = 8 * 1024;
    static constexpr int maxHeadBytes = 32 * 1024; // request line and headers
    static constexpr int maxHeaderLines = 100;
    static constexpr int maxConnections = 64;
    static constexpr int defaultIdleMs = 15'000;
    // Names the idle limit in milliseconds instead (tests).
    static constexpr const char* idleEnvironmentVariable = "RKEDIT_PLAY_IDLE_MS";

    explicit FolderServer(const QString& folder, QObject* parent = nullptr);
    ~FolderServer() override;

    // Listens on 127.0.0.1 at `port` (0: a free one). False with `error` set when it cannot.
    bool start(quint16 port, QString& error);
    quint16 port() const { return port_; }
    const QString& secret() const { return secret_; }
    // The address of `fileName` (a name inside the folder, "/" between folders).
    QUrl url(const QString& fileName) const;

    // The Content-Type sent for one file, instead of the one its extension gives.
    void setContentType(const QString& fileName, const QByteArray& type);

    int idleMs() const { return idleMs_; }
    int openConnections() const { return int(connections_.size()); }

    // What HttpConnection asks: whether `hostAndPort` (a Host header or the authority of an
    // absolute-form request) names this server; the file a raw request path names ("" when
    // none may be served); the Content-Type of a file.
    bool isOwnAuthority(const QByteArray& hostAndPort) const;
    QString fileFor(const QByteArray& rawPath) const;
    QByteArray contentType(const QString& file) const;

signals:
    // After each answer: the method, the request target as received and the status sent.
    void answered(const QByteArray& method, const QByteArray& target, int status);

private:
    void acceptConnections();

    QTcpServer listener_;
    QString folder_; // canonical
    QString secret_;
    quint16 port_ = 0;
    int idleMs_ = defaultIdleMs;
    QHash<QString, QByteArray> types_;
    QHash<HttpConnection*, bool> connections_;
};
