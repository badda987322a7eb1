// rkstage play IN --swf MOVIE [--port N]: serves the stage, its pictures, MOVIE as rk.swf,
// Ruffle and the exported page (Ruffle on) from a fresh temporary folder on 127.0.0.1, as the
// editor's test play does. The page's address is the first line on stdout; each request is
// logged on stderr. Serves until SIGINT or SIGTERM, then removes the folder and exits 0.
#include <QCoreApplication>
#include <QFileInfo>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <sys/signalfd.h>
#include <unistd.h>

#include "command.h"
#include "folderserver.h"
#include "openstage.h"
#include "playfolder.h"
#include "ruffleaccess.h"
#include "stage/CRKeditDoc.h"
#include "terminalhost.h"
#include "text/terminaltext.h"

namespace {

struct Options {
    std::string stage, movie;
    quint16 port = 0;
};

bool parse(const std::vector<std::string>& args, Options& o, std::string& why) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() < 2 || a.compare(0, 2, "--") != 0) {
            if (!o.stage.empty()) {
                why = "only one stage file";
                return false;
            }
            o.stage = a;
            continue;
        }
        if (i + 1 == args.size()) {
            why = a + " needs a value";
            return false;
        }
        const std::string& v = args[++i];
        if (a == "--swf") {
            o.movie = v;
        } else if (a == "--port") {
            bool ok = false;
            const uint port = QString::fromStdString(v).toUInt(&ok);
            if (!ok || port == 0 || port > 65535) {
                why = "--port takes a number from 1 to 65535";
                return false;
            }
            o.port = quint16(port);
        } else {
            why = "unknown option " + a;
            return false;
        }
    }
    if (o.stage.empty() || o.movie.empty()) {
        why = "IN and --swf MOVIE are needed";
        return false;
    }
    return true;
}

int play(const std::vector<std::string>& args) {
    Options o;
    std::string why;
    if (!parse(args, o, why)) {
        std::fprintf(stderr, "rkstage play: %s\n", why.c_str());
        return usageError("play");
    }
    // SIGINT and SIGTERM are taken as events of the loop below, blocked before any thread
    // starts so every thread inherits the mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    if (sigprocmask(SIG_BLOCK, &stopSignals, nullptr) != 0)
        return fail("cannot take SIGINT and SIGTERM");
    const int signalFd = signalfd(-1, &stopSignals, SFD_CLOEXEC | SFD_NONBLOCK);
    if (signalFd < 0)
        return fail("cannot take SIGINT and SIGTERM");

    CRKeditDoc doc;
    TerminalHost host;
    std::string error;
    if (!openStage(o.stage, doc, host, error))
        return fail(error);
    const QFileInfo movie(QString::fromStdString(o.movie));
    if (const QString refused = PlayFolder::checkMovie(movie.filePath()); !refused.isEmpty())
        return fail(refused.toStdString());
    auto ruffle = findRuffle(error);
    if (!ruffle)
        return fail(error);

    static int argc = 1;
    static char name[] = "rkstage";
    static char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    PlayFolder folder(*ruffle);
    QString problem;
    if (!folder.refresh(doc, QFileInfo(QString::fromStdString(o.stage)).absoluteFilePath(),
                        movie.absoluteFilePath(), problem))
        return fail(problem.toStdString());
    if (!folder.textWarning().isEmpty())
        std::fprintf(stderr, "rkstage: warning: %s: %s\n", terminalSafe(o.movie).c_str(),
                     folder.textWarning().toUtf8().constData());

    FolderServer server(folder.path());
    server.setContentType(folder.stageName(), "text/plain; charset=Shift_JIS");
    if (!server.start(o.port, problem))
        return fail(problem.toStdString());
    QObject::connect(&server, &FolderServer::answered,
                     [](const QByteArray& method, const QByteArray& target, int status) {
                         std::fprintf(stderr, "rkstage: %d %s %s\n", status,
                                      terminalSafe(method.toStdString()).c_str(),
                                      terminalSafe(target.toStdString()).c_str());
                     });

    std::printf("%s\n", server.url(QString::fromLatin1(PlayFolder::pageName))
                            .toString(QUrl::FullyEncoded)
                            .toUtf8()
                            .constData());
    std::fflush(stdout);
    std::fprintf(stderr, "rkstage: serving %s until interrupted\n",
                 folder.path().toUtf8().constData());

    QSocketNotifier stop(signalFd, QSocketNotifier::Read);
    QObject::connect(&stop, &QSocketNotifier::activated, &app, [&] {
        signalfd_siginfo info;
        [[maybe_unused]] const ssize_t n = ::read(signalFd, &info, sizeof info);
        app.quit();
    });
    app.exec();
    ::close(signalFd);
    return 0;
}

[[maybe_unused]] const bool registered =
    registerCommand({"play", "IN --swf MOVIE [--port N]", play});

} // namespace
