// The stage view scrolls and zooms: the cell under the pointer is the cell toggled at every
// zoom and scroll position, zooming keeps the point under the pointer, the scroll range is
// the stage at the zoom, and a zoomed paint shows the 100 % paint scaled.
#include <gtest/gtest.h>

#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <algorithm>

#include "paneltesthelpers.h"
#include "render/framebuffer.h"
#include "render/stagepainter.h"
#include "view/zoomsteps.h"

namespace {

QRgb rgbOf(std::uint32_t bbggrr) {
    return qRgb(int(bbggrr & 0xFF), int((bbggrr >> 8) & 0xFF), int((bbggrr >> 16) & 0xFF));
}

int blockCount(const CRKeditDoc& doc) {
    return int(std::count_if(doc.block.begin(), doc.block.end(), [](auto c) { return c != 0; }));
}

// A sample stage view (640 x 480 picture, 150-pixel paddle area, 15 x 12 cells) made smaller
// than its stage, so it scrolls.
struct SmallView : StageView {
    SmallView() {
        view->resize(300, 200);
        settleEvents();
    }
    QImage shown() { return view->grab(view->visibleRect()).toImage(); }
};

void click(QWidget* view, QPoint at) {
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, at);
    settleEvents();
}

void wheel(QWidget* view, QPoint at, QPoint angle, Qt::KeyboardModifiers modifiers) {
    QWheelEvent event(QPointF(at), QPointF(view->mapToGlobal(at)), QPoint(), angle, Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view, &event);
    settleEvents();
}

TEST(Viewport, TheCellUnderThePointerIsTheCellToggledAtEveryZoomAndScroll) {
    SmallView s;
    // Blocks painted with the copy pen show the block colours whatever lies beneath.
    s.view->referenceDisplay = 2;
    s.view->gridMode = 0;
    const QRgb pen = rgbOf(StageColours::blockPen), brush = rgbOf(StageColours::blockBrush);
    struct Case {
        StageZoom zoom;
        QPoint scroll;
    };
    for (const Case& c : {Case{StageZoom(1, 4), {0, 0}}, Case{StageZoom(), {0, 0}},
                          Case{StageZoom(), {233, 171}}, Case{StageZoom(3, 1), {0, 0}},
                          Case{StageZoom(3, 1), {1021, 877}}, Case{StageZoom(2, 3), {17, 29}}}) {
        SCOPED_TRACE(testing::Message() << c.zoom.num() << '/' << c.zoom.den() << " at "
                                        << c.scroll.x() << ',' << c.scroll.y());
        s.view->setZoom(c.zoom);
        s.view->setScrollPosition(c.scroll);
        settleEvents();
        ASSERT_EQ(s.view->scrollPosition(), c.scroll);
        // Points across cell edges: every pixel of a run crossing two or three cells.
        for (int i = 0; i < 24; ++i) {
            const QPoint at(37 + 2 * i, 41 + 3 * i);
            s.doc().block.fill(0);
            s.view->update();
            settleEvents();
            ASSERT_NE(s.shown().pixel(at), pen) << at.x() << ',' << at.y();
            click(s.view.get(), at);
            ASSERT_EQ(blockCount(s.doc()), 1);
            const QRgb there = s.shown().pixel(at);
            EXPECT_TRUE(there == pen || there == brush)
                << "no block under the pointer at " << at.x() << ',' << at.y();
        }
    }
}

TEST(Viewport, ScrollRangeIsTheStageAtTheZoom) {
    SmallView s;
    for (const StageZoom zoom : {StageZoom(), StageZoom(3, 2), StageZoom(1, 3), StageZoom(8, 1)}) {
        s.view->setZoom(zoom);
        settleEvents();
        const QRect visible = s.view->visibleRect();
        // The stage is 640 x 630: the scroll ranges plus the visible part hold it whole.
        EXPECT_EQ(s.view->horizontalScrollBar()->maximum() + visible.width(),
                  std::max<int>(zoom.toDevice(640), visible.width()));
        const int tall = int(zoom.toDevice(630));
        if (tall > visible.height())
            EXPECT_EQ(s.view->verticalScrollBar()->maximum() + visible.height(), tall);
        else
            EXPECT_TRUE(s.view->verticalScrollBar()->isHidden());
    }
    // The whole stage at 1/4 is 160 x 158: no scroll bars on a 300 x 200 view.
    s.view->setZoom(StageZoom(1, 4));
    settleEvents();
    EXPECT_TRUE(s.view->horizontalScrollBar()->isHidden());
    EXPECT_TRUE(s.view->verticalScrollBar()->isHidden());
    EXPECT_EQ(s.view->visibleRect(), s.view->rect());
}

TEST(Viewport, ZoomKeepsThePointUnderThePointer) {
    SmallView s;
    s.view->setScrollPosition({200, 150});
    settleEvents();
    const QPoint at(120, 90);
    QPoint under = s.view->stagePointAt(at);
    EXPECT_EQ(under, QPoint(320, 240));
    // Ctrl+wheel: one notch is one step, about the pointer.
    for (const StageZoom expected : {StageZoom(3, 2), StageZoom(2, 1), StageZoom(3, 1)}) {
        wheel(s.view.get(), at, QPoint(0, 120), Qt::ControlModifier);
        EXPECT_EQ(s.view->zoom(), expected);
        const QPoint now = s.view->stagePointAt(at);
        EXPECT_LE((now - under).manhattanLength(), 1) << now.x() << ',' << now.y();
        under = now;
    }
    for (const StageZoom expected : {StageZoom(2, 1), StageZoom(3, 2), StageZoom(1, 1)}) {
        wheel(s.view.get(), at, QPoint(0, -120), Qt::ControlModifier);
        EXPECT_EQ(s.view->zoom(), expected);
        const QPoint now = s.view->stagePointAt(at);
        EXPECT_LE((now - under).manhattanLength(), 1) << now.x() << ',' << now.y();
    }
    // The commands zoom about the visible part's centre.
    const QPoint centre = QRectF(s.view->visibleRect()).center().toPoint();
    under = s.view->stagePointAt(centre);
    s.view->runCommand(ID_VIEW_ZOOM_OUT);
    EXPECT_EQ(s.view->zoom(), StageZoom(2, 3));
    EXPECT_LE((s.view->stagePointAt(centre) - under).manhattanLength(), 2);
    s.view->runCommand(ID_VIEW_ZOOM_100);
    EXPECT_EQ(s.view->zoom(), StageZoom());
}

TEST(Viewport, WheelAndKeysScroll) {
    SmallView s;
    QScrollBar* h = s.view->horizontalScrollBar();
    QScrollBar* v = s.view->verticalScrollBar();
    wheel(s.view.get(), {50, 50}, QPoint(0, -120), Qt::NoModifier);
    EXPECT_GT(v->value(), 0);
    EXPECT_EQ(h->value(), 0);
    wheel(s.view.get(), {50, 50}, QPoint(0, -120), Qt::ShiftModifier);
    EXPECT_GT(h->value(), 0);
    QTest::keyClick(s.view.get(), Qt::Key_Home);
    EXPECT_EQ(v->value(), 0);
    QTest::keyClick(s.view.get(), Qt::Key_PageDown);
    EXPECT_EQ(v->value(), s.view->visibleRect().height());
    QTest::keyClick(s.view.get(), Qt::Key_End);
    EXPECT_EQ(v->value(), v->maximum());
    QTest::keyClick(s.view.get(), Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(h->value(), h->maximum());
    const int x = h->value();
    QTest::keyClick(s.view.get(), Qt::Key_Left);
    EXPECT_EQ(h->value(), x - h->singleStep());
    // The paddle area's bottom-right corner is the stage's last pixel.
    const QRect visible = s.view->visibleRect();
    EXPECT_EQ(s.view->stagePointAt(QPointF(visible.right(), visible.bottom())).y(), 629);
}

// The frame a view of the stage's own size shows at 100 %: the stage painter's whole paint.
QImage paintedAtOne(StageView& s) {
    FrameBuffer frame;
    frame.resize(640, 630);
    StagePainter painter;
    painter.paint(frame, s.doc(), s.doc().picture, s.view->gridMode, s.view->referenceDisplay);
    return QImage(reinterpret_cast<const uchar*>(frame.pixels.data()), 640, 630, 640 * 4,
                  QImage::Format_RGB32)
        .copy();
}

TEST(Viewport, ZoomedPaintIsTheOneHundredPercentPaintScaled) {
    StageView s;
    s.doc().cell(2, 3) = 1;
    s.view->gridMode = 0;
    s.view->referenceDisplay = 0;
    settleEvents();
    const QImage one = paintedAtOne(s);
    // At 100 % on a view of the stage's size the view shows exactly that frame.
    ASSERT_EQ(s.view->size(), QSize(640, 630));
    EXPECT_EQ(s.view->grab().toImage().convertToFormat(QImage::Format_RGB32), one);

    // Picture only (no grid, no blocks): each view pixel shows the stage pixel its top-left
    // corner lies in.
    s.view->resize(400, 300);
    for (const StageZoom zoom : {StageZoom(2, 1), StageZoom(3, 2), StageZoom(1, 2)}) {
        SCOPED_TRACE(testing::Message() << zoom.num() << '/' << zoom.den());
        s.view->setZoom(zoom);
        s.view->setScrollPosition({zoom.isOne() ? 0 : 37, 23});
        settleEvents();
        const QPoint scroll = s.view->scrollPosition();
        const QImage image = s.view->grab(s.view->visibleRect()).toImage();
        int mismatches = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const int sx = int((x + scroll.x()) * zoom.den() / zoom.num());
                const int sy = int((y + scroll.y()) * zoom.den() / zoom.num());
                // The stage's bottom and right edges hold the background's border.
                if (sx >= 639 || sy >= 629)
                    continue;
                mismatches += image.pixel(x, y) != one.pixel(sx, sy);
            }
        EXPECT_EQ(mismatches, 0);
    }

    // Grid lines (XOR-ed over the picture) stay one view pixel wide at the cell boundaries,
    // at 300 %: the first view column of a cell shows the 100 % line pixel, the next two
    // the picture beneath it.
    s.view->gridMode = 2;
    const QImage lines = paintedAtOne(s);
    s.view->setZoom(StageZoom(3, 1));
    s.view->setScrollPosition({0, 0});
    settleEvents();
    const QImage grid = s.view->grab(s.view->visibleRect()).toImage();
    const int row = 20; // stage row 6, between two grid rows
    for (int cell : {1, 2, 3, 5, 8}) {
        SCOPED_TRACE(cell);
        const int column = 45 * cell;
        EXPECT_EQ(grid.pixel(column, row), lines.pixel(15 * cell, row / 3));
        EXPECT_EQ(grid.pixel(column - 1, row), lines.pixel(15 * cell - 1, row / 3));
        EXPECT_EQ(grid.pixel(column + 1, row), one.pixel(15 * cell, row / 3));
        EXPECT_EQ(grid.pixel(column + 2, row), one.pixel(15 * cell, row / 3));
    }
}

TEST(Viewport, ZoomStepsAndTheirText) {
    EXPECT_EQ(ZoomSteps::larger(StageZoom()), StageZoom(3, 2));
    EXPECT_EQ(ZoomSteps::smaller(StageZoom()), StageZoom(2, 3));
    // From between the steps (a whole-stage zoom) to the next one either way.
    EXPECT_EQ(ZoomSteps::larger(StageZoom(7, 20)), StageZoom(1, 2));
    EXPECT_EQ(ZoomSteps::smaller(StageZoom(7, 20)), StageZoom(1, 3));
    EXPECT_EQ(ZoomSteps::smaller(StageZoom(1, 8)), StageZoom(1, 8));
    EXPECT_EQ(ZoomSteps::larger(StageZoom(8, 1)), StageZoom(8, 1));
    EXPECT_EQ(ZoomSteps::smaller(StageZoom(1, 20)), StageZoom(1, 20));
    EXPECT_EQ(ZoomSteps::clamp(StageZoom(1, 1000)), StageZoom(1, 64));
    EXPECT_EQ(ZoomSteps::percentText(StageZoom(1, 8)), "12.5 %");
    EXPECT_EQ(ZoomSteps::percentText(StageZoom(2, 3)), "66.7 %");
    EXPECT_EQ(ZoomSteps::percentText(StageZoom()), "100 %");
    EXPECT_EQ(ZoomSteps::percentText(StageZoom(8, 1)), "800 %");
}

} // namespace
