#pragma once

#include <QAbstractHttpServer>
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QUrl>

// Serves the regular files of one folder over HTTP on 127.0.0.1, for a browser on this
// machine only. Everything lives under a path segment drawn at random for each server
// (128 bits), so other programs and users of the machine cannot guess a file's address;
// requests whose Host header is not this server's own address are refused, so a web page
// cannot reach it by pointing a domain name at 127.0.0.1. Only GET and HEAD; no listings;
// nothing outside the folder (no "..", however encoded, no link leading out); nothing is
// cached by the browser, so a reload shows the folder's latest files.
class FolderServer : public QAbstractHttpServer {
    Q_OBJECT
public:
    explicit FolderServer(const QString& folder, QObject* parent = nullptr);

    // Listens on 127.0.0.1 at `port` (0: a free one). False with `error` set when it cannot.
    bool start(quint16 port, QString& error);
    quint16 port() const { return port_; }
    const QString& secret() const { return secret_; }
    // The address of `fileName` (a name inside the folder, "/" between folders).
    QUrl url(const QString& fileName) const;

    // The Content-Type sent for one file, instead of the one its extension gives.
    void setContentType(const QString& fileName, const QByteArray& type);

signals:
    // After each answer: the method, the request target as received and the status sent.
    void answered(const QByteArray& method, const QByteArray& target, int status);

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

private:
    // The file a request path names, "" when it names none that may be served.
    QString fileFor(const QUrl& url) const;
    QByteArray contentType(const QString& file) const;

    QString folder_; // canonical
    QString secret_;
    quint16 port_ = 0;
    QHash<QString, QByteArray> types_;
};
