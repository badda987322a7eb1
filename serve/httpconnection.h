#pragma once

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QTimer>

#include <memory>

class FolderServer;
class QTcpSocket;

// One client connection of a FolderServer: reads request heads within the server's limits,
// answers each (a file streamed as the client takes it), keeps the connection for the next
// request unless either side asked to close it, and closes it when it stays idle. A request
// body is never read: a request that announces one gets its answer and the connection ends.
class HttpConnection : public QObject {
    Q_OBJECT
public:
    HttpConnection(QTcpSocket* socket, FolderServer* server);
    ~HttpConnection() override;

signals:
    void finished(HttpConnection* self);

private:
    struct Request {
        QByteArray method, target, version;
        QList<std::pair<QByteArray, QByteArray>> headers; // names in lower case
        QByteArray value(const QByteArray& name) const;
        int count(const QByteArray& name) const;
    };

    void readMore();
    // Answers the complete head at the start of `pending_`; false when the connection ends.
    void handle(const Request& request);
    void answer(int status, const QByteArray& method, const QByteArray& target,
                const QByteArray& type, qint64 length, const QByteArray& body);
    void refuse(int status, const QByteArray& method, const QByteArray& target);
    void pump();
    void doneWithResponse();
    void closeAfterWriting();
    void touch();

    QTcpSocket* socket_;
    FolderServer* server_;
    QTimer idle_;
    QByteArray pending_; // received bytes not yet taken as a request
    std::unique_ptr<QFile> file_;
    qint64 left_ = 0;      // bytes of file_ still to send
    bool sending_ = false; // an answer is on its way; no further request is read meanwhile
    bool closeAfter_ = false;
    bool closing_ = false;
};
