// rkedit: the stage editor. The editor itself lives in the rkgui library.
#include <QApplication>

#include "shell/crkeditapp.h"
#include "shell/testevents.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    installJapaneseTranslation();
    installTestEventReporter();
    CRKeditApp app;
    if (!app.InitInstance(QApplication::arguments().mid(1)))
        return 1;
    return QApplication::exec();
}
