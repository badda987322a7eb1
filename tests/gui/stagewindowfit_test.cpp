// Stage windows in the MDI area: a stage larger than the area opens whole at a zoom that fits
// and scrolls at 100 %; the window never sticks out of the area; tile and cascade leave the
// main window's size alone; the status bar shows the active window's zoom.
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>

#include "shell/childframe.h"
#include "shell/commandids.h"
#include "shell/mainframe.h"
#include "shellfixture.h"
#include "view/CRKeditView.h"

namespace {

// A stage on a picture of width x height (a JPEG written here), 150 pixels of paddle area.
void writeStage(const QString& folder, int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(qRgb(200, 60, 60));
    ASSERT_TRUE(picture.save(folder + "/big.jpg", "JPEG", 90));
    QFile file(folder + "/big.stage");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("version=RK&graphic1=big.jpg&graphicWidth=%1&graphicHeight=%2&"
                              "blockWidth=40&blockHeight=30&barSpace=150&")
                   .arg(width)
                   .arg(height)
                   .toLatin1());
}

QString zoomText(CMainFrame* frame) {
    return frame->statusBar()->findChild<QLabel*>(QStringLiteral("zoom"))->text();
}

// The window lies inside the MDI area's viewport.
bool insideArea(CMainFrame* frame, QWidget* window) {
    return QRect(QPoint(0, 0), frame->mdiArea()->viewport()->size()).contains(window->geometry());
}

TEST_F(Shell, LargeStageOpensWholeInsideTheAreaAndScrollsAtOneHundredPercent) {
    writeStage(dir.path(), 2400, 1800);
    start();
    // Inside the offscreen screen, far smaller than the stage.
    frame()->resize(760, 560);
    settle();
    documents()->openDocument(path("big.stage"));
    settle();
    CRKeditView* view = documents()->activeView();
    ASSERT_NE(view, nullptr);
    auto* window = qobject_cast<CChildFrame*>(frame()->mdiArea()->currentSubWindow());
    ASSERT_NE(window, nullptr);
    for (int i = 0; i < 4; ++i) {
        view->repaint();
        settle();
    }
    ASSERT_EQ(view->stageSize(), QSize(2400, 1950));
    // Opened whole: a zoom below 100 % at which the stage fits without scroll bars.
    EXPECT_LT(view->zoom().factor(), 1.0);
    EXPECT_TRUE(view->horizontalScrollBar()->isHidden());
    EXPECT_TRUE(view->verticalScrollBar()->isHidden());
    EXPECT_LE(view->zoom().toDevice(2400), view->width());
    EXPECT_LE(view->zoom().toDevice(1950), view->height());
    EXPECT_TRUE(insideArea(frame(), window));
    EXPECT_NE(zoomText(frame()), "100 %");
    EXPECT_TRUE(zoomText(frame()).endsWith(" %"));

    // 100 %: the window takes the room there is and the view scrolls over the whole stage.
    trigger(ID_VIEW_ZOOM_100);
    for (int i = 0; i < 3; ++i) {
        view->repaint();
        settle();
    }
    EXPECT_EQ(zoomText(frame()), "100 %");
    EXPECT_TRUE(insideArea(frame(), window));
    EXPECT_EQ(view->horizontalScrollBar()->maximum() + view->visibleRect().width(), 2400);
    EXPECT_EQ(view->verticalScrollBar()->maximum() + view->visibleRect().height(), 1950);

    // The whole stage again; then tile and cascade leave the main window as it is.
    trigger(ID_VIEW_ZOOM_FIT);
    for (int i = 0; i < 3; ++i) {
        view->repaint();
        settle();
    }
    EXPECT_TRUE(view->horizontalScrollBar()->isHidden());
    EXPECT_TRUE(view->verticalScrollBar()->isHidden());
    trigger(ID_VIEW_ZOOM_100);
    const QRect screen = frame()->screen()->availableGeometry();
    trigger(ID_WINDOW_NEW);
    trigger(ID_WINDOW_TILE_HORZ);
    EXPECT_TRUE(screen.contains(frame()->frameGeometry()))
        << frame()->frameGeometry().width() << "x" << frame()->frameGeometry().height() << " min "
        << frame()->minimumSizeHint().width() << " in " << screen.width() << "x" << screen.height();
    trigger(ID_WINDOW_CASCADE);
    EXPECT_TRUE(screen.contains(frame()->frameGeometry()))
        << frame()->frameGeometry().width() << "x" << frame()->frameGeometry().height() << " min "
        << frame()->minimumSizeHint().width() << " in " << screen.width() << "x" << screen.height();
    for (QMdiSubWindow* each : frame()->mdiArea()->subWindowList())
        EXPECT_TRUE(insideArea(frame(), each));

    // A smaller main window: the stage windows follow the area.
    frame()->resize(600, 450);
    settle();
    for (QMdiSubWindow* each : frame()->mdiArea()->subWindowList())
        EXPECT_TRUE(insideArea(frame(), each));
}

TEST_F(Shell, StageThatFitsOpensAtOneHundredPercent) {
    start({path("sample.stage")});
    CRKeditView* view = documents()->activeView();
    ASSERT_NE(view, nullptr);
    for (int i = 0; i < 4; ++i) {
        view->repaint();
        settle();
    }
    EXPECT_EQ(view->zoom(), StageZoom());
    EXPECT_EQ(view->size(), QSize(640, 630));
    EXPECT_EQ(zoomText(frame()), "100 %");
    trigger(ID_VIEW_ZOOM_IN);
    EXPECT_EQ(zoomText(frame()), "150 %");
}

TEST_F(Shell, StageWindowsStayOnTheScreenWhenTheMainWindowIsLargerThanIt) {
    writeStage(dir.path(), 2400, 1800);
    start();
    // A main window held larger than the screen (as its minimum size does on a small one):
    // its MDI area reaches past the screen's edges; the stage windows do not.
    const QRect screen = frame()->screen()->availableGeometry();
    frame()->setMinimumSize(screen.width() + 300, screen.height() + 200);
    frame()->setGeometry(QRect(screen.topLeft(), frame()->minimumSize()));
    settle();
    ASSERT_GT(frame()->mdiArea()->viewport()->width(), screen.width() - 50);
    documents()->openDocument(path("big.stage"));
    settle();
    CRKeditView* view = documents()->activeView();
    ASSERT_NE(view, nullptr);
    const auto onScreen = [&] {
        for (int i = 0; i < 3; ++i) {
            view->repaint();
            settle();
        }
        QWidget* window = frame()->mdiArea()->currentSubWindow();
        const QRect global(window->mapToGlobal(QPoint(0, 0)), window->size());
        EXPECT_TRUE(screen.contains(global))
            << global.x() << ',' << global.y() << ' ' << global.width() << 'x' << global.height();
    };
    onScreen(); // opened whole
    trigger(ID_VIEW_ZOOM_100);
    onScreen();
    EXPECT_FALSE(view->horizontalScrollBar()->isHidden());
    trigger(ID_VIEW_ZOOM_FIT);
    onScreen();
    EXPECT_LT(view->zoom().factor(), 1.0);
    trigger(ID_WINDOW_CASCADE);
    onScreen();
}

} // namespace
