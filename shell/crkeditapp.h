#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>

class CMainFrame;
class DiskWatcher;
class DocumentManager;
class RecentFileList;
class RecoveryKeeper;
class TestPlay;
class QTimer;

// The shell layer (shell/): the application object, main frame, child frames, document
// manager, recovery keeper, disk watcher and file drop; rkedit's main() only starts it. It
// is the top layer: it may use every layer below (view, panels, html, document, core), and
// nothing below it names it.
//
// The application: starts the editor in its fixed order and owns the main frame, the
// documents and the recent-file list. main() creates the QApplication, then one of these.
class CRKeditApp : public QObject {
    Q_OBJECT
public:
    struct CommandLine {
        QString file;                     // the stage file to open; empty: a new stage
        bool quitAfterFirstPaint = false; // measurement: quit once the first stage has painted
        // How to answer the offer of recovery copies (--recovery=restore|discard|keep, or
        // RKEDIT_RECOVERY): empty asks the user.
        QString recoveryAnswer;
    };
    // The first argument that is not a switch is the file; later ones are ignored.
    static CommandLine parseCommandLine(const QStringList& arguments);

    CRKeditApp();
    ~CRKeditApp() override;

    // Start-up. `arguments` excludes the program name. A file that cannot be opened is
    // reported and the editor starts without a stage. False only when the main frame could
    // not be made.
    bool InitInstance(const QStringList& arguments);

    CMainFrame* mainFrame() const { return mainFrame_; }
    DocumentManager* documents() const { return documents_; }
    RecentFileList* recentFiles() const { return recentFiles_; }
    RecoveryKeeper* recovery() const { return recovery_; }
    TestPlay* testPlay() const { return testPlay_; }

    // The about command: the about box, modal.
    void onAppAbout();

private:
    void quitWhenSettled();

    CMainFrame* mainFrame_ = nullptr;
    DocumentManager* documents_ = nullptr;
    RecentFileList* recentFiles_ = nullptr;
    RecoveryKeeper* recovery_ = nullptr;
    TestPlay* testPlay_ = nullptr; // its servers stop and its folders go with the editor
    QTimer* quitTimer_ = nullptr;
    QSize quitPaintSize_;            // the view size of the paint the measurement quits after
    long long quitPaintTime_ = 0;    // when it ended: microseconds since the epoch
    bool fittedPaintTraced_ = false; // the start-up trace has noted the first fitted paint
};
