// The view's tool panel commands and the document/panel transfers, driven through the panels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include "guitesthelpers.h"
#include "panels/eventtool.h"
#include "panels/newblockdlg.h"
#include "panels/placementtool.h"
#include "panels/propertypanel.h"
#include "panels/updown.h"
#include "paneltesthelpers.h"

namespace {
QLineEdit* field(CRKeditView& view, int id) {
    return view.propertyPanel->control<QLineEdit>(id);
}

// Moves the pointer over the panel's background (a spot with no control under it).
void moveOverPanel(CPropertyPanel* panel) {
    // In its own window or docked in the main window: the window's coordinates.
    QWindow* window = panel->window()->windowHandle();
    QTest::mouseMove(window, panel->mapTo(panel->window(), QPoint(3, 3)));
    QTest::mouseMove(window, panel->mapTo(panel->window(), QPoint(4, 3)));
    settleEvents();
}
} // namespace

TEST(PropertiesCommand, FirstPaintOpensThePanelFilledFromTheDocument) {
    StageView s;
    CPropertyPanel* panel = s.view->propertyPanel;
    ASSERT_TRUE(panel->isVisible());
    const CRKeditDoc& doc = s.doc();
    const struct {
        int id;
        const std::string& text;
    } rows[] = {
        {CPropertyPanel::IDC_GRAPHIC1, doc.graphic1},
        {CPropertyPanel::IDC_GRAPHIC2, doc.graphic2},
        {CPropertyPanel::IDC_BLOCK_WIDTH, doc.blockWidth},
        {CPropertyPanel::IDC_BLOCK_HEIGHT, doc.blockHeight},
        {CPropertyPanel::IDC_BAR_SPACE, doc.barSpace},
        {CPropertyPanel::IDC_MIN_RADIAN, doc.minRadian},
        {CPropertyPanel::IDC_MAX_RADIAN, doc.maxRadian},
        {CPropertyPanel::IDC_BALL_SIZE, doc.ballSize},
        {CPropertyPanel::IDC_BASE_SPEED, doc.baseSpeed},
        {CPropertyPanel::IDC_PRECISION, doc.precision},
        {CPropertyPanel::IDC_BAR_WIDTH, doc.barWidth},
        {CPropertyPanel::IDC_BAR_HEIGHT, doc.barHeight},
        {CPropertyPanel::IDC_EDGE_WIDTH, doc.edgeWidth},
        {CPropertyPanel::IDC_CRITICAL_WIDTH, doc.criticalWidth},
        {CPropertyPanel::IDC_X_SPEED, doc.xSpeed},
        {CPropertyPanel::IDC_LIFE, doc.life},
        {CPropertyPanel::IDC_BLOCK_MASK, doc.blockMask},
    };
    for (const auto& r : rows)
        EXPECT_EQ(field(*s.view, r.id)->text().toStdString(), r.text) << r.id;
    // The picture's size and the runtime size come from the first paint.
    EXPECT_EQ(field(*s.view, CPropertyPanel::IDC_GRAPHIC_WIDTH)->text(), "640");
    EXPECT_EQ(field(*s.view, CPropertyPanel::IDC_GRAPHIC_HEIGHT)->text(), "480");
    EXPECT_EQ(field(*s.view, CPropertyPanel::IDC_RUNTIME_WIDTH)->text(), "640");
    EXPECT_EQ(field(*s.view, CPropertyPanel::IDC_RUNTIME_HEIGHT)->text(), "630");
    EXPECT_TRUE(
        panel->control<QCheckBox>(CPropertyPanel::IDC_SOUND_MODE)->isChecked()); // soundMode 1
    EXPECT_FALSE(panel->control<QCheckBox>(CPropertyPanel::IDC_KEYBOARD_MODE)->isChecked());
    EXPECT_EQ(panel->control<QComboBox>(CPropertyPanel::IDC_BAR_SPEED_RATE)->currentText(), "AUTO");
    // Opening set the first ranges; the block mask's is left to the panel.
    EXPECT_EQ(panel->upDown(CPropertyPanel::IDC_SPIN_MIN_RADIAN)->upper(), 18);
    EXPECT_EQ(panel->upDown(CPropertyPanel::IDC_SPIN_BLOCK_MASK)->lower(), 100);
    EXPECT_EQ(s.view->picture, s.doc().picture);
    EXPECT_FALSE(s.doc().picturePending);
}

TEST(PanelToDocument, TypingThenMovingOverThePanelTransfersNormalised) {
    StageView s;
    s.doc().ballSize = "1.5";
    s.doc().life = "-5";
    s.doc().baseSpeed = "20";
    s.view->runCommand(ID_DOC_TO_PANEL);
    s.document->setModified(false);
    CPropertyPanel* panel = s.view->propertyPanel;
    QLineEdit* speed = field(*s.view, CPropertyPanel::IDC_BASE_SPEED);
    speed->setFocus();
    speed->selectAll();
    QTest::keyClicks(speed, "016");
    QLineEdit* space = field(*s.view, CPropertyPanel::IDC_BAR_SPACE);
    space->setText("200");
    EXPECT_EQ(s.doc().baseSpeed, "20"); // not there yet: nothing was finished or moved over
    moveOverPanel(panel);
    EXPECT_EQ(s.doc().baseSpeed, "16");
    EXPECT_EQ(speed->text(), "16");
    EXPECT_EQ(s.doc().ballSize, "105");
    EXPECT_EQ(s.doc().life, "5");
    EXPECT_EQ(s.doc().barSpace, "200");
    EXPECT_EQ(field(*s.view, CPropertyPanel::IDC_RUNTIME_HEIGHT)->text(),
              "680"); // runtime height = 480 + 200
    EXPECT_TRUE(s.document->isModified());
}

TEST(PanelToDocument, FinishingAFieldTransfersWithoutAMouseMove) {
    StageView s;
    QLineEdit* life = field(*s.view, CPropertyPanel::IDC_LIFE);
    life->setFocus();
    life->selectAll();
    QTest::keyClicks(life, "9");
    QTest::keyClick(life, Qt::Key_Return); // Enter: the field is finished, the panel stays
    settleEvents();
    EXPECT_EQ(s.doc().life, "9");
    ASSERT_NE(s.view->propertyPanel, nullptr);
    EXPECT_TRUE(s.view->propertyPanel->isVisible());
    // A click on a check box reaches the document as well.
    QTest::mouseClick(s.view->propertyPanel->control<QCheckBox>(CPropertyPanel::IDC_RANKING_ENABLE),
                      Qt::LeftButton);
    settleEvents();
    EXPECT_EQ(s.doc().rankingEnable, 1);
}

TEST(PanelToDocument, NewBlockSizeClearsTheGridOverThePictureAndRepaints) {
    StageView s;
    s.doc().cell(0, 0) = 1;
    s.doc().cell(42, 40) = 3; // the last column and row the clear reaches (640/15, 480/12)
    s.doc().cell(43, 0) = 1;  // beyond it
    CPropertyPanel* panel = s.view->propertyPanel;
    moveOverPanel(panel); // same size: nothing cleared
    EXPECT_EQ(s.doc().cell(0, 0), 1);

    QSignalSpy painted(s.view.get(), &CRKeditView::painted);
    panel->blockWidth = 8; // as the new block layout dialog leaves it
    panel->blockHeight = 8;
    panel->UpdateData(false);
    moveOverPanel(panel);
    EXPECT_EQ(s.doc().blockWidth, "8");
    EXPECT_EQ(s.doc().blockHeight, "8");
    // Cleared with the panel's new cell size: columns 0..80, rows 0..60.
    EXPECT_EQ(s.doc().cell(0, 0), 0);
    EXPECT_EQ(s.doc().cell(42, 40), 0);
    EXPECT_EQ(s.doc().cell(43, 0), 0);
    EXPECT_TRUE(painted.count() > 0 || painted.wait(1000));

    // A block size of 0 (a stage file's "0" against the panel's) clears nothing and fails
    // nothing.
    s.doc().cell(5, 5) = 1;
    panel->blockWidth = 0;
    panel->UpdateData(false);
    moveOverPanel(panel);
    EXPECT_EQ(s.doc().blockWidth, "0");
    EXPECT_EQ(s.doc().cell(5, 5), 1);
}

TEST(PanelToDocument, NothingIsTakenBeforeThePanelHasBeenFilled) {
    StageView s;
    s.view->runCommand(ID_PROPERTIES); // closes
    s.doc().cell(1, 1) = 1;
    s.view->runCommand(ID_PROPERTIES); // opens; the fill is queued
    s.document->setModified(false);
    s.view->commitToolEdits(); // a save or close before the queue runs
    EXPECT_EQ(s.doc().blockWidth, "15");
    EXPECT_EQ(s.doc().barHeight, "12");
    EXPECT_EQ(s.doc().cell(1, 1), 1);
    EXPECT_FALSE(s.document->isModified());
    settleEvents();
    EXPECT_EQ(field(*s.view, CPropertyPanel::IDC_BAR_HEIGHT)->text(), "12");
}

TEST(PanelToDocument, BadIntegerStopsAtItsFieldAndTheRestArrivesLater) {
    StageView s;
    CPropertyPanel* panel = s.view->propertyPanel;
    field(*s.view, CPropertyPanel::IDC_MIN_RADIAN)
        ->setText("3"); // minimum angle, before the bad field
    field(*s.view, CPropertyPanel::IDC_BAR_WIDTH)->setText("wide"); // paddle width
    field(*s.view, CPropertyPanel::IDC_LIFE)->setText("7");         // lives, after it
    moveOverPanel(panel);
    ASSERT_EQ(s.messages.shown.size(), 1);
    EXPECT_TRUE(s.messages.shown[0].contains(QStringLiteral("幅")));
    EXPECT_EQ(s.doc().minRadian, "3");
    EXPECT_EQ(s.doc().barWidth, "100");
    EXPECT_EQ(s.doc().life, "5");
    EXPECT_EQ(field(*s.view, CPropertyPanel::IDC_BAR_WIDTH)->text(),
              "wide"); // nothing typed is lost
    EXPECT_EQ(field(*s.view, CPropertyPanel::IDC_LIFE)->text(), "7");
    field(*s.view, CPropertyPanel::IDC_BAR_WIDTH)->setText("120");
    moveOverPanel(panel);
    EXPECT_EQ(s.doc().barWidth, "120");
    EXPECT_EQ(s.doc().life, "7");
    EXPECT_EQ(s.messages.shown.size(), 1);
}

TEST(PropertiesCommand, EscClosesThePanelAndTheDocumentKeepsItsValues) {
    StageView s;
    CPropertyPanel* panel = s.view->propertyPanel;
    field(*s.view, CPropertyPanel::IDC_BALL_SIZE)->setText("22");
    QTest::keyClick(panel, Qt::Key_Escape);
    QTest::keyClick(panel, Qt::Key_Escape); // a second Esc before the close runs
    settleEvents();
    EXPECT_EQ(s.view->propertyPanel, nullptr);
    EXPECT_EQ(s.doc().ballSize, "22");
    // The command opens it again, filled from the document.
    s.view->runCommand(ID_PROPERTIES);
    settleEvents();
    ASSERT_NE(s.view->propertyPanel, nullptr);
    EXPECT_EQ(field(*s.view, CPropertyPanel::IDC_BALL_SIZE)->text(), "22");
    // Typing into a field is not undone by a repaint of the view.
    field(*s.view, CPropertyPanel::IDC_BASE_SPEED)->setText("44");
    s.view->repaint();
    EXPECT_EQ(field(*s.view, CPropertyPanel::IDC_BASE_SPEED)->text(), "44");
}

TEST(PlacementTool, PollsOnMouseMoveAndReopensInTwoSteps) {
    StageView s;
    CRKeditView& view = *s.view;
    view.runCommand(ID_PLACEMENT_TOOL);
    CPlacementTool* tool = view.placementTool;
    ASSERT_NE(tool, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(tool));
    EXPECT_TRUE(tool->radio(1044)->isChecked());
    EXPECT_TRUE(tool->radio(1053)->isChecked());
    EXPECT_TRUE(tool->radio(1055)->isChecked());
    // Every kind can be chosen; its tip names its key.
    for (int id = 1044; id <= 1051; ++id) {
        EXPECT_TRUE(tool->radio(id)->isEnabled()) << id;
        EXPECT_TRUE(tool->radio(id)->toolTip().contains(QString::number(id - 1043))) << id;
    }

    // A choice takes effect at the click, the pointer's moves change nothing more.
    QSignalSpy painted(&view, &CRKeditView::painted);
    QTest::mouseClick(tool->radio(1056), Qt::LeftButton); // 点表示
    EXPECT_EQ(view.gridMode, 1);
    settleEvents();
    EXPECT_EQ(painted.count(), 1);
    QTest::mouseMove(tool->windowHandle(), QPoint(3, 2));
    settleEvents();
    EXPECT_EQ(painted.count(), 1);                        // no change, no repaint
    QTest::mouseClick(tool->radio(1054), Qt::LeftButton); // 非表示
    EXPECT_EQ(view.referenceDisplay, 0);
    QTest::mouseClick(tool->radio(1052), Qt::LeftButton); // 不透明
    EXPECT_EQ(view.referenceDisplay, 2);
    QTest::mouseClick(tool->radio(1054), Qt::LeftButton);

    tool->close(); // the close box hides the tool
    EXPECT_FALSE(tool->isVisible());
    EXPECT_EQ(view.placementTool, tool);
    view.runCommand(ID_PLACEMENT_TOOL); // destroys the hidden tool, shows nothing
    EXPECT_EQ(view.placementTool, nullptr);
    view.runCommand(ID_PLACEMENT_TOOL);
    ASSERT_NE(view.placementTool, nullptr);
    EXPECT_TRUE(view.placementTool->isVisible());
    EXPECT_TRUE(view.placementTool->radio(CPlacementTool::IDC_GRID_DOTS)
                    ->isChecked()); // from the view's choices
    EXPECT_TRUE(view.placementTool->radio(CPlacementTool::IDC_REFERENCE_HIDDEN)->isChecked());
}

TEST(PlacementTool, TwoViewsEachWithItsOwnPanelsAndNoDestroyedViewTouched) {
    StageView s;
    auto second = std::make_unique<CRKeditView>(s.document.get());
    second->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(second.get()));
    settleEvents();
    ASSERT_NE(second->propertyPanel, nullptr);
    EXPECT_NE(second->propertyPanel, s.view->propertyPanel);
    EXPECT_EQ(second->propertyPanel->control<QLineEdit>(CPropertyPanel::IDC_GRAPHIC_WIDTH)->text(),
              "640");

    // The older view's placement tool works on the newest view.
    s.view->runCommand(ID_PLACEMENT_TOOL);
    CPlacementTool* tool = s.view->placementTool;
    QTest::mouseClick(tool->radio(CPlacementTool::IDC_GRID_HIDDEN), Qt::LeftButton);
    tool->poll();
    EXPECT_EQ(second->gridMode, 0);
    EXPECT_EQ(s.view->gridMode, 2);
    // Once the newest view has gone, the tool works on the one left.
    second.reset();
    settleEvents();
    tool->poll();
    EXPECT_EQ(s.view->gridMode, 0);
}

TEST(EventTool, ClosingTheWindowKeepsTheScriptWithCrLf) {
    StageView s;
    s.doc().command = "OnHit\r\nwarp";
    s.view->runCommand(ID_EVENT_TOOL);
    CEventTool* tool = s.view->eventTool;
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->edit()->toPlainText(), "OnHit\nwarp");
    tool->edit()->setFocus();
    tool->edit()->moveCursor(QTextCursor::End);
    QTest::keyClick(tool->edit(), Qt::Key_Return);
    QTest::keyClicks(tool->edit(), "stop");
    s.document->setModified(false);
    s.view.reset(); // the stage window closes with the tool open
    EXPECT_EQ(s.doc().command, "OnHit\r\nwarp\r\nstop");
    EXPECT_TRUE(s.document->isModified());
}

TEST(EventTool, EscStoresTheScriptAndSavingTakesTheOpenToolsText) {
    StageView s;
    s.view->runCommand(ID_EVENT_TOOL);
    CEventTool* tool = s.view->eventTool;
    tool->edit()->setPlainText("a\nb");
    EXPECT_EQ(s.view->takeEventToolScript(), std::optional<std::string>("a\r\nb"));
    QTest::keyClick(tool->edit(), Qt::Key_Escape);
    settleEvents();
    EXPECT_EQ(s.view->eventTool, nullptr);
    EXPECT_EQ(s.doc().command, "a\r\nb");
}

TEST(PictureButtons, BrowseAndRedrawAreEditsThatEveryWindowShows) {
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(RK_SOURCE_DIR "/res/sample/sample.JPG", dir.filePath("same.JPG")));
    QImage red(32, 24, QImage::Format_RGB32);
    red.fill(QColor(200, 30, 30));
    ASSERT_TRUE(red.save(dir.filePath("red.jpg"), "JPG"));
    StageView s;
    s.document->setFilePath(dir.filePath("stage.txt"));
    // A second window on the same stage.
    auto second = std::make_unique<CRKeditView>(s.document.get());
    second->resize(640, 630);
    second->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(second.get()));
    settleEvents();
    EXPECT_EQ(second->picture, s.doc().picture) << "the second window shows no picture";
    CPropertyPanel* panel = s.view->propertyPanel;
    const PictureHolder original = s.doc().picture;
    const std::string originalName = s.doc().graphic1;
    QUndoStack* undo = s.document->undoStack();
    const int steps = undo->count();

    // Browsing: cancelled changes nothing.
    {
        FileAnswer cancel([](const FileChoice& choice) {
            EXPECT_EQ(choice.mode, FileChoice::Mode::Open);
            EXPECT_EQ(choice.nameFilters, QStringList("JPEGファイル (*.jpeg *.jpg)"));
            return QString();
        });
        QTest::mouseClick(panel->control<QPushButton>(CPropertyPanel::IDC_BROWSE_GRAPHIC1),
                          Qt::LeftButton);
        EXPECT_EQ(cancel.seen(), 1);
    }
    EXPECT_EQ(undo->count(), steps);
    EXPECT_EQ(s.doc().picture, original);
    // A chosen file: its full path and its picture are one step, shown in every window.
    const QString chosen = dir.filePath("red.jpg");
    {
        FileAnswer choose([chosen](const FileChoice&) { return chosen; });
        QTest::mouseClick(panel->control<QPushButton>(1033), Qt::LeftButton);
        EXPECT_EQ(choose.seen(), 1);
    }
    EXPECT_TRUE(s.messages.shown.isEmpty()) << s.messages.shown.join('\n').toStdString();
    EXPECT_EQ(field(*s.view, 1000)->text(), chosen);
    EXPECT_EQ(s.doc().graphic1, chosen.toStdString());
    ASSERT_FALSE(s.doc().picture.empty());
    EXPECT_EQ(s.doc().picture.block->width(), 32);
    EXPECT_EQ(undo->count(), steps + 1);
    EXPECT_TRUE(s.document->isModified());
    s.view->repaint();
    second->repaint();
    EXPECT_EQ(s.view->picture, s.doc().picture);
    EXPECT_EQ(second->picture, s.doc().picture);

    // Drawing the same file again changes nothing: no step.
    QTest::mouseClick(panel->control<QPushButton>(1057), Qt::LeftButton);
    EXPECT_EQ(undo->count(), steps + 1);

    // Undo gives back the picture and the name, in every window.
    undo->undo();
    EXPECT_EQ(s.doc().picture, original);
    EXPECT_EQ(s.doc().graphic1, originalName);
    EXPECT_FALSE(s.document->isModified());
    second->repaint();
    EXPECT_EQ(second->picture, original);

    // Redraw finds a bare name beside the stage file.
    field(*s.view, 1001)->setText("same.JPG");
    panel->UpdateData(true);
    QTest::mouseClick(panel->control<QPushButton>(1058), Qt::LeftButton);
    EXPECT_TRUE(s.messages.shown.isEmpty()) << s.messages.shown.join('\n').toStdString();
    EXPECT_EQ(s.doc().graphic2, "same.JPG");
    EXPECT_EQ(undo->count(), steps + 1);
    second.reset();
}

TEST(PanelToDocument, NewBlockLayoutButtonThenAMoveClearsTheGrid) {
    StageView s;
    s.doc().cell(4, 4) = 1;
    CPropertyPanel* panel = s.view->propertyPanel;
    const auto answer = [](const char* width) {
        QTimer::singleShot(0, [width] {
            auto* dialog = qobject_cast<CNewBlockDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->widthEdit()->setText(width);
            dialog->accept();
        });
    };
    answer("15"); // the document's size: nothing to clear
    QTest::mouseClick(panel->control<QPushButton>(CPropertyPanel::IDC_NEW_BLOCK_LAYOUT),
                      Qt::LeftButton);
    moveOverPanel(panel);
    EXPECT_EQ(s.doc().cell(4, 4), 1);
    s.doc().cell(5, 4) = 2;
    const int steps = s.document->undoStack()->count();
    QSignalSpy status(s.view.get(), &CRKeditView::statusMessage);
    answer("20");
    QTest::mouseClick(panel->control<QPushButton>(1002), Qt::LeftButton);
    // Applied at once: one step, the grid cleared, the count in the status bar.
    EXPECT_EQ(field(*s.view, 1022)->text(), "20");
    EXPECT_EQ(s.doc().blockWidth, "20");
    EXPECT_EQ(s.doc().cell(4, 4), 0);
    EXPECT_EQ(s.doc().cell(5, 4), 0);
    EXPECT_EQ(s.document->undoStack()->count(), steps + 1);
    ASSERT_EQ(status.count(), 1);
    EXPECT_TRUE(status.at(0).at(0).toString().contains(QStringLiteral("2 個を消去")))
        << status.at(0).at(0).toString().toStdString();
    // A later move over the panel changes nothing more.
    moveOverPanel(panel);
    EXPECT_EQ(s.document->undoStack()->count(), steps + 1);
    s.document->undoStack()->undo();
    EXPECT_EQ(s.doc().blockWidth, "15");
    EXPECT_EQ(s.doc().cell(4, 4), 1);
    EXPECT_EQ(s.doc().cell(5, 4), 2);
    // The size fields are read-only and look it.
    for (int id : {1022, 1023}) {
        QLineEdit* e = field(*s.view, id);
        EXPECT_TRUE(e->isReadOnly());
        EXPECT_EQ(e->palette().color(QPalette::Base), e->palette().color(QPalette::Window));
    }
}

namespace {
// Pixels of the hint's light grey text in the window's top-left corner (the grid over a
// picture is light too, but coloured).
int lightPixelsInCorner(const QImage& image) {
    int count = 0;
    for (int y = 12; y < std::min(image.height(), 72); ++y)
        for (int x = 12; x < std::min(image.width(), 432); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qGray(p) > 160 && std::abs(qRed(p) - qGreen(p)) < 12 &&
                std::abs(qGreen(p) - qBlue(p)) < 12)
                ++count;
        }
    return count;
}
} // namespace

TEST(StartHint, ShownOnlyWhileTheStageHasNoPicture) {
    {
        StageView s(false);
        EXPECT_GT(lightPixelsInCorner(s.view->grab().toImage()), 20);
        EXPECT_FALSE(CRKeditView::startHintText().isEmpty());
    }
    // The sample picture is dark in that corner: nothing light is drawn over it.
    StageView s(true);
    EXPECT_EQ(lightPixelsInCorner(s.view->grab().toImage()), 0);
}
