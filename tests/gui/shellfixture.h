#pragma once

// The shell tests' fixture: a temporary folder holding a copy of the sample stage, and the
// editor started on the offscreen platform.
#include <QAction>
#include <QDir>
#include <QMdiArea>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <unistd.h>

#include <memory>

#include "document/stagedocument.h"
#include "guitesthelpers.h"
#include "shell/childframe.h"
#include "shell/crkeditapp.h"
#include "shell/documentmanager.h"
#include "shell/mainframe.h"
#include "shell/paneldocks.h"
#include "stage/CRKeditDoc.h"

// Picks `path` in the next file chooser and keeps what the chooser was asked for.
struct FileDialogAnswer {
    explicit FileDialogAnswer(const QString& path)
        : answer([this, path](const FileChoice& choice) {
              title = choice.caption;
              filters = choice.nameFilters;
              selection = choice.selection;
              directory = choice.directory;
              suffix = choice.defaultSuffix;
              return path;
          }) {}
    QString title;
    QStringList filters;
    QString suffix;
    QString selection;
    QString directory;
    FileAnswer answer;
};

// For root, whom file permissions do not stop: permission checks of this thread run as an
// unprivileged user while it lives, so an unwritable folder is unwritable.
class UnprivilegedFileAccess {
public:
    UnprivilegedFileAccess() : root_(geteuid() == 0) {
        if (root_) {
            setfsgid(65534);
            setfsuid(65534);
        }
    }
    ~UnprivilegedFileAccess() {
        if (root_) {
            setfsuid(0);
            setfsgid(0);
        }
    }

private:
    bool root_;
};

class Shell : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        // Each test starts with an empty recent-file list.
        QSettings(QStringLiteral("Local AppWizard-Generated Applications"),
                  QStringLiteral("rkedit"))
            .clear();
        // Readable by the unprivileged user of UnprivilegedFileAccess.
        QFile::setPermissions(dir.path(),
                              QFile::permissions(dir.path()) | QFile::ReadOther | QFile::ExeOther);
        const QString sample = QStringLiteral(RK_SOURCE_DIR "/res/sample/");
        ASSERT_TRUE(QFile::copy(sample + "sample.stage", path("sample.stage")));
        ASSERT_TRUE(QFile::copy(sample + "sample.JPG", path("sample.JPG")));
    }
    void TearDown() override {
        app.reset();
        settle();
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    void start(const QStringList& arguments = {}) {
        app = std::make_unique<CRKeditApp>();
        ASSERT_TRUE(app->InitInstance(arguments));
        settle();
    }
    // Starts the editor on a new stage naming `picture`, a copy of the sample picture in the
    // folder "pictures", as a browse there leaves it; the folder "stages" is there, empty, to
    // save into. Null, with a failure added, when that could not be set up.
    StageDocument* startWithPictureElsewhere(const QString& picture) {
        if (!QDir(dir.path()).mkpath("pictures") || !QDir(dir.path()).mkpath("stages") ||
            !QFile::copy(path("sample.JPG"), picture)) {
            ADD_FAILURE() << "cannot make " << picture.toStdString();
            return nullptr;
        }
        start();
        StageDocument* document = documents()->activeDocument();
        if (document == nullptr) {
            ADD_FAILURE() << "no new stage";
            return nullptr;
        }
        document->doc().graphic1 = picture.toStdString();
        document->setModified();
        document->updateAllViews(); // the open panel shows it, as after a browse
        return document;
    }
    CMainFrame* frame() const { return app->mainFrame(); }

    // Makes `document`'s first window the active stage window, floats the dock of the panel
    // command `id` (its panel is that window's then) and gives the floating dock the
    // keyboard. Returns the dock.
    QWidget* floatPanel(StageDocument* document, int id) {
        const QList<CChildFrame*> frames = app->documents()->framesOf(document);
        if (frames.isEmpty())
            return nullptr;
        frame()->mdiArea()->setActiveSubWindow(frames.constFirst());
        settle();
        PanelDock* dock = frame()->panelDocks()->dock(id);
        dock->setFloating(true);
        dock->show();
        dock->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dock));
        settle(); // the commands follow the active window in a queued call
        return dock;
    }
    DocumentManager* documents() const { return app->documents(); }
    void trigger(int id) {
        QAction* action = frame()->action(id);
        ASSERT_NE(action, nullptr) << id;
        ASSERT_TRUE(action->isEnabled()) << id;
        action->trigger();
        settle();
    }
    QStringList menuTitles() const {
        QStringList titles;
        for (QMenu* menu : frame()->currentMenus())
            titles << menu->title();
        return titles;
    }

    QTemporaryDir dir;
    std::unique_ptr<CRKeditApp> app;
};
