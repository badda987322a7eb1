// rkedit: the stage editor. The editor itself lives in the rkgui library.
#include <QApplication>

#include "shell/crkeditapp.h"
#include "shell/terminationsignals.h"
#include "shell/testevents.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    installJapaneseTranslation();
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
    if (!app.InitInstance(QApplication::arguments().mid(1)))
        return 1;
    if (ended)
        return 0;
    return QApplication::exec();
}
