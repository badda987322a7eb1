#include "shell/crkeditapp.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

#include <cstdio>

#include "document/filesystemname.h"
#include "document/recoverystore.h"
#include "document/stagelock.h"
#include "panels/dialogs.h"
#include "panels/messagebox.h"
#include "shell/aboutbox.h"
#include "shell/commandids.h"
#include "shell/diskwatcher.h"
#include "shell/documentmanager.h"
#include "shell/editcommands.h"
#include "shell/filedrop.h"
#include "shell/language.h"
#include "shell/mainframe.h"
#include "shell/recentfilelist.h"
#include "shell/recoverykeeper.h"
#include "shell/startuptrace.h"
#include "shell/testplay.h"
#include "stage/foregroundpicture.h"
#include "view/CRKeditView.h"

namespace {
constexpr int recentFileCount = 4;

// Dialogs that show nothing, for a run nobody watches.
class UnattendedDialogs : public Dialogs {
public:
    QMessageBox::StandardButton ask(QWidget*, const MessageChoice& choice) override {
        std::fprintf(stderr, "rkedit: %s\n", qPrintable(choice.text));
        if (choice.defaultButton != QMessageBox::NoButton)
            return choice.defaultButton;
        return choice.buttons == QMessageBox::Ok ? QMessageBox::Ok : QMessageBox::Cancel;
    }

protected:
    QString showChooser(QWidget*, const FileChoice&) override { return {}; }
};
} // namespace

CRKeditApp::CommandLine CRKeditApp::parseCommandLine(const QStringList& arguments) {
    CommandLine line;
    line.recoveryAnswer = qEnvironmentVariable("RKEDIT_RECOVERY");
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--quit-after-first-paint"))
            line.quitAfterFirstPaint = true;
        else if (argument.startsWith(QLatin1String("--recovery=")))
            line.recoveryAnswer = argument.mid(int(qstrlen("--recovery=")));
        else if (line.file.isEmpty() && !argument.startsWith(QLatin1String("--")))
            line.file = argument;
    }
    return line;
}

CRKeditApp::CRKeditApp() = default;

CRKeditApp::~CRKeditApp() {
    // Stages the user has saved or discarded are closed by now; what is left keeps its copy.
    if (recovery_ != nullptr)
        recovery_->shutdown();
    // The frame owns the stage windows, whose views need their documents while they go.
    delete mainFrame_;
    delete documents_;
    delete recentFiles_;
    startupStep("windows and stages closed");
}

bool CRKeditApp::InitInstance(const QStringList& arguments) {
    const CommandLine line = parseCommandLine(arguments);
    // The stage's picture is decoded and the stage locked on other threads while the windows
    // are built; opening the stage takes them from there.
    const QString stagePath =
        line.file.isEmpty() ? QString() : QFileInfo(line.file).absoluteFilePath();
    if (!stagePath.isEmpty())
        prefetchForegroundPicture(fileSystemName(stagePath).toStdString());

    // The per-user settings live under this key and the application's name.
    QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QCoreApplication::setApplicationName(QStringLiteral("rkedit"));
    if (!stagePath.isEmpty())
        lockStageAhead(stagePath);
    // This run's folder for recovery copies is made and locked on another thread too.
    auto recoveryStore = std::make_unique<RecoveryStore>(RecoveryStore::defaultRoot());
    recoveryStore->openInBackground();
    // The stored language choice is read under those names; a process that installed its
    // texts already (the tests) keeps them.
    installUiTranslations();
    startupStep("translations installed");

    recentFiles_ = new RecentFileList(recentFileCount);
    recentFiles_->load();

    mainFrame_ = new CMainFrame;
    startupStep("main window built");
    setDefaultDialogParent(mainFrame_);
    documents_ = new DocumentManager(mainFrame_->mdiArea(), recentFiles_);
    documents_->setDialogParent(mainFrame_);
    mainFrame_->attach(documents_, recentFiles_);
    CommandTable& commands = mainFrame_->commands();
    const auto stageWindow = [this] { return documents_->commandView() != nullptr; };
    commands.define(ID_FILE_NEW, [this] { documents_->newDocument(); });
    commands.define(ID_FILE_OPEN, [this] { documents_->openDocumentWithDialog(); });
    commands.define(
        ID_FILE_CLOSE, [this] { documents_->closeDocument(documents_->commandDocument()); },
        stageWindow);
    commands.define(
        ID_FILE_SAVE,
        [this] {
            if (auto* document = documents_->commandDocument())
                documents_->saveDocument(document);
        },
        stageWindow);
    commands.define(
        ID_FILE_SAVE_AS,
        [this] {
            if (auto* document = documents_->commandDocument())
                documents_->saveDocumentAs(document);
        },
        stageWindow);
    commands.define(
        ID_WINDOW_NEW, [this] { documents_->newWindow(documents_->commandDocument()); },
        stageWindow);
    commands.define(ID_APP_ABOUT, [this] { onAppAbout(); });
    testPlay_ = new TestPlay(this);
    commands.define(
        ID_TEST_PLAY, [this] { testPlay_->play(documents_->commandDocument(), mainFrame_); },
        stageWindow);
    new EditCommands(mainFrame_, documents_);
    new FileDrop(mainFrame_, documents_);
    new DiskWatcher(documents_, mainFrame_, this);

    if (line.quitAfterFirstPaint) {
        // A measurement run waits for nobody: messages go to stderr, questions are answered
        // with their default (no file is chosen), and recovery copies are left for later.
        static UnattendedDialogs unattended;
        Dialogs::replace(&unattended);
        quitTimer_ = new QTimer(this);
        quitTimer_->setSingleShot(true);
        quitTimer_->setInterval(0);
        // exit(), not quit(): quit() first asks every window to close, and the properties
        // panel answers a close box by asking its view, so the quit would be turned down.
        connect(quitTimer_, &QTimer::timeout, this, [this] {
            // The paint's time lets a measurement tell the start from the shutdown.
            if (quitPaintSize_.isValid())
                std::fprintf(stderr,
                             "rkedit: painted at %lld us\nrkedit: quit after a paint of %dx%d\n",
                             quitPaintTime_, quitPaintSize_.width(), quitPaintSize_.height());
            QCoreApplication::exit(0);
        });
        connect(documents_, &DocumentManager::viewCreated, this, [this](CRKeditView* view) {
            // Only the paint of the stage at its fitted size counts: paints before the window
            // has been fitted to the picture show the default window size.
            connect(view, &CRKeditView::painted, this, [this, view] {
                if (view->showsFittedStage()) {
                    quitPaintSize_ = view->size();
                    quitPaintTime_ = microsecondsSinceEpoch();
                    quitWhenSettled();
                } else {
                    quitTimer_->stop();
                }
            });
        });
    }

    if (startupLog().isDebugEnabled()) {
        connect(documents_, &DocumentManager::viewCreated, this, [this](CRKeditView* view) {
            connect(view, &CRKeditView::painted, this, [this, view] {
                if (view->showsFittedStage() && !fittedPaintTraced_) {
                    fittedPaintTraced_ = true;
                    startupStep("first paint of the fitted stage window");
                }
            });
        });
    }

    // Copies an earlier run left are offered before anything else opens.
    recovery_ = new RecoveryKeeper(documents_, std::move(recoveryStore), this);
    // While copies cannot be written, the status bar says so.
    auto* copyProblem = new QLabel(mainFrame_);
    copyProblem->setObjectName(QStringLiteral("recoveryCopyProblem"));
    copyProblem->hide();
    mainFrame_->statusBar()->addWidget(copyProblem);
    connect(recovery_, &RecoveryKeeper::copyProblemChanged, copyProblem,
            [copyProblem](const QString& text) {
                copyProblem->setText(text);
                copyProblem->setVisible(!text.isEmpty());
            });
    recovery_->start(mainFrame_);
    RecoveryKeeper::Answer answer =
        line.quitAfterFirstPaint ? RecoveryKeeper::Answer::Keep : RecoveryKeeper::Answer::Ask;
    if (line.recoveryAnswer == QLatin1String("restore"))
        answer = RecoveryKeeper::Answer::Restore;
    else if (line.recoveryAnswer == QLatin1String("discard"))
        answer = RecoveryKeeper::Answer::Discard;
    else if (line.recoveryAnswer == QLatin1String("keep"))
        answer = RecoveryKeeper::Answer::Keep;
    const int restored = recovery_->offerRecovery(mainFrame_, answer);
    startupStep("recovery copies looked at");

    if (line.file.isEmpty()) {
        // The restored stages take the place of the new, empty one.
        if (restored == 0)
            documents_->newDocument();
    } else {
        documents_->openDocument(line.file);
    }
    dropPrefetchedPicture();
    dropStageLockAhead();

    startupStep("stage opened");
    mainFrame_->restoreLayout();
    mainFrame_->show();
    startupStep("main window shown");
    // Once the window manager has framed it, the window is kept inside the screen's
    // available area, title bar and borders included.
    QTimer::singleShot(0, mainFrame_, [frame = mainFrame_] { frame->keepOnScreen(); });
    // Without a stage window there is nothing more to wait for.
    if (line.quitAfterFirstPaint && documents_->documents().isEmpty())
        quitWhenSettled();
    return true;
}

void CRKeditApp::quitWhenSettled() {
    // Restarted by every paint: the program quits once a paint is not followed by another
    // one in the same turn of the event loop.
    quitTimer_->start();
}

void CRKeditApp::onAppAbout() {
    CAboutDlg about(mainFrame_);
    about.exec();
}
