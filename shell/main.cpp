// rkedit: the stage editor. The editor itself lives in the rkgui library.
#include <QApplication>

#include "document/filesystemname.h"
#include "shell/crkeditapp.h"
#include "shell/startuptrace.h"
#include "shell/terminationsignals.h"
#include "shell/testevents.h"

int main(int argc, char* argv[]) {
    startupStep("main");
    QApplication application(argc, argv);
    startupStep("application made");
    installTestEventReporter();
    CRKeditApp app;
    // Ended from outside (kill, Ctrl+C, logout): the event loop ends, so nothing is left
    // half-written, and nobody is asked anything: the unsaved stages keep their recovery
    // copies. A signal during the start (a question open) ends the run once the start is done.
    bool ended = false;
    const TerminationSignals termination([&ended](int) {
        ended = true;
        QCoreApplication::exit(0);
    });
    // The arguments as the system gave them (after Qt took its own options): a file name that
    // is not UTF-8 keeps its bytes.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << fromFileSystemName(QByteArray(argv[i]));
    if (!app.InitInstance(arguments))
        return 1;
    if (ended)
        return 0;
    const int status = QApplication::exec();
    startupStep("event loop ended");
    return status;
}
