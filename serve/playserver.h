#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>

// A test play's server as the editor sees it: the FolderServer of one folder behind plain
// virtual functions. The server, and QtNetwork with it, lives in a module of its own
// (librkplayserver.so) that the editor loads on its first test play, so that no start of the
// editor pays for loading the network libraries.
class PlayServer {
public:
    // After each answer: the method, the request target as received and the status sent.
    using Answered =
        std::function<void(const QByteArray& method, const QByteArray& target, int status)>;

    virtual ~PlayServer() = default;
    // Listens on 127.0.0.1 at `port` (0: a free one). False with `error` set when it cannot.
    virtual bool start(quint16 port, QString& error) = 0;
    // The address of `fileName` (a name inside the folder, "/" between folders).
    virtual QUrl url(const QString& fileName) const = 0;
    // The Content-Type sent for one file, instead of the one its extension gives.
    virtual void setContentType(const QString& fileName, const QByteArray& type) = 0;
    virtual void onAnswered(Answered answered) = 0;
};

// The module's entry point: a server for `folder`, owned by the caller.
extern "C" PlayServer* rkeditCreatePlayServer(const QString& folder);
