// librkplayserver.so: the test play's server, loaded by the editor on its first test play.
#include "folderserver.h"
#include "playserver.h"

namespace {
class ModuleServer : public PlayServer {
public:
    explicit ModuleServer(const QString& folder) : server_(folder) {
        QObject::connect(&server_, &FolderServer::answered, &server_,
                         [this](const QByteArray& method, const QByteArray& target, int status) {
                             if (answered_)
                                 answered_(method, target, status);
                         });
    }
    bool start(quint16 port, QString& error) override { return server_.start(port, error); }
    QUrl url(const QString& fileName) const override { return server_.url(fileName); }
    void setContentType(const QString& fileName, const QByteArray& type) override {
        server_.setContentType(fileName, type);
    }
    void onAnswered(Answered answered) override { answered_ = std::move(answered); }

private:
    FolderServer server_;
    Answered answered_;
};
} // namespace

extern "C" Q_DECL_EXPORT PlayServer* rkeditCreatePlayServer(const QString& folder) {
    return new ModuleServer(folder);
}
