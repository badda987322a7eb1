// The tool panels on their own: exchange, validation, scrolling, refusals.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "panels/dataexchange.h"
#include "panels/eventtool.h"
#include "panels/newblockdlg.h"
#include "panels/propertypanel.h"
#include "panels/updown.h"
#include "paneltesthelpers.h"

namespace {
QLineEdit* field(CPropertyPanel& p, int id) {
    return p.control<QLineEdit>(id);
}
} // namespace

TEST(PropertyPanelExchange, MembersShowAndReadBackNormalised) {
    Messages messages;
    CPropertyPanel panel(nullptr);
    panel.barSpace = 150;
    panel.graphic1 = "\x89\xe6\x91\x9c.jpg"; // 画像.jpg in CP932
    panel.ballSpeedRate = " 25%";
    panel.rankingEnable = 1;
    panel.UpdateData(false);
    EXPECT_EQ(field(panel, CPropertyPanel::IDC_BAR_SPACE)->text(), "150");
    EXPECT_EQ(field(panel, CPropertyPanel::IDC_GRAPHIC1)->text(), QStringLiteral("画像.jpg"));
    EXPECT_EQ(panel.control<QComboBox>(CPropertyPanel::IDC_BALL_SPEED_RATE)->currentText(), " 25%");
    EXPECT_TRUE(panel.control<QCheckBox>(CPropertyPanel::IDC_RANKING_ENABLE)->isChecked());

    field(panel, CPropertyPanel::IDC_BASE_SPEED)->setText(" 016 ");
    field(panel, CPropertyPanel::IDC_PRECISION)
        ->setText(QStringLiteral("１２")); // typed with the input method on
    panel.control<QComboBox>(CPropertyPanel::IDC_BAR_SPEED_RATE)
        ->setEditText("1"); // not taken as the "100%" entry
    ASSERT_TRUE(panel.UpdateData(true));
    EXPECT_EQ(panel.baseSpeed, 16);
    EXPECT_EQ(panel.precision, 12);
    EXPECT_EQ(panel.barSpeedRate, "1");
    EXPECT_EQ(panel.graphic1, "\x89\xe6\x91\x9c.jpg");
    panel.UpdateData(false);
    EXPECT_EQ(field(panel, CPropertyPanel::IDC_BASE_SPEED)->text(), "16");
    EXPECT_EQ(panel.control<QComboBox>(CPropertyPanel::IDC_BAR_SPEED_RATE)->currentText(), "1");
}

TEST(PropertyPanelExchange, BadFieldStopsTheExchangeKeepsTheTypingAndReportsOnce) {
    Messages messages;
    CPropertyPanel panel(nullptr);
    panel.show();
    panel.UpdateData(false);
    field(panel, CPropertyPanel::IDC_BAR_SPACE)
        ->setText("12a"); // paddle area height: not an integer
    field(panel, CPropertyPanel::IDC_BALL_SIZE)
        ->setText("33"); // ball diameter, later in the exchange order
    panel.control<QCheckBox>(CPropertyPanel::IDC_KEYBOARD_MODE)
        ->setChecked(true); // keyboard control, earlier
    EXPECT_FALSE(panel.UpdateData(true));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].contains(QStringLiteral("パドル領域高")));
    EXPECT_EQ(panel.keyboardMode, 1); // taken before the bad field
    EXPECT_EQ(panel.barSpace, 150);   // the bad field and those after it keep their members
    EXPECT_EQ(panel.ballSize, 10);
    EXPECT_EQ(field(panel, CPropertyPanel::IDC_BAR_SPACE)->text(), "12a"); // what was typed stays
    EXPECT_EQ(field(panel, CPropertyPanel::IDC_BALL_SIZE)->text(), "33");
    EXPECT_TRUE(field(panel, CPropertyPanel::IDC_BAR_SPACE)->hasFocus() ||
                !QApplication::focusWindow());

    // The pointer keeps moving over the panel: the same refusal is not shown again.
    QTest::mouseMove(panel.surface(), QPoint(5, 300));
    QTest::mouseMove(panel.surface(), QPoint(6, 301));
    EXPECT_EQ(messages.shown.size(), 1);
    field(panel, CPropertyPanel::IDC_BAR_SPACE)->setText("120");
    EXPECT_TRUE(panel.UpdateData(true));
    EXPECT_EQ(panel.barSpace, 120);
    EXPECT_EQ(panel.ballSize, 33);
}

TEST(PropertyPanelExchange, TypedRateIsKeptAsTypedNotCompletedToAnEntry) {
    // "1" and "15" begin the entries "100%" and "150%": typing them takes what was typed,
    // not an entry the field filled in while the typing went on.
    Messages messages;
    CPropertyPanel panel(nullptr);
    panel.show();
    panel.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
    panel.UpdateData(false);
    auto* rate = panel.control<QComboBox>(CPropertyPanel::IDC_BAR_SPEED_RATE);
    rate->lineEdit()->clear();
    rate->lineEdit()->setFocus();
    QTest::keyClicks(rate->lineEdit(), QStringLiteral("1"));
    EXPECT_EQ(rate->currentText(), "1");
    auto* ballRate = panel.control<QComboBox>(CPropertyPanel::IDC_BALL_SPEED_RATE);
    ballRate->lineEdit()->clear();
    ballRate->lineEdit()->setFocus();
    QTest::keyClicks(ballRate->lineEdit(), QStringLiteral("15"));
    EXPECT_EQ(ballRate->currentText(), "15");
    ASSERT_TRUE(panel.UpdateData(true));
    EXPECT_EQ(panel.barSpeedRate, "1");
    EXPECT_EQ(panel.ballSpeedRate, "15");
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST(PropertyPanelExchange, TextCp932CannotHoldIsRefusedByName) {
    Messages messages;
    CPropertyPanel panel(nullptr);
    panel.UpdateData(false);
    // Typing (or pasting) it is refused at once, with the message after the edit.
    field(panel, CPropertyPanel::IDC_GRAPHIC1)->insert(QStringLiteral("☃"));
    QCoreApplication::processEvents();
    EXPECT_EQ(field(panel, CPropertyPanel::IDC_GRAPHIC1)->text(), "graphic1.JPG");
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].contains(QStringLiteral("☃")));
    // Text set around the input check is refused by the exchange, at its field.
    field(panel, CPropertyPanel::IDC_GRAPHIC2)->setText(QStringLiteral("背景☃.jpg"));
    EXPECT_FALSE(panel.UpdateData(true));
    EXPECT_EQ(panel.graphic2, "graphic2.JPG");
    EXPECT_TRUE(messages.shown.last().contains(QStringLiteral("背景ファイル")));
    // Undecodable stored bytes survive an exchange when the field is not edited.
    panel.graphic2 = "bad\x82.jpg";
    panel.UpdateData(false);
    ASSERT_TRUE(panel.UpdateData(true));
    EXPECT_EQ(panel.graphic2, "bad\x82.jpg");
}

TEST(PropertyPanelMouse, FirstMoveOverTheBackgroundSetsRangesAndScrolling) {
    Messages messages;
    CPropertyPanel panel(nullptr);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    EXPECT_EQ(panel.upDown(CPropertyPanel::IDC_SPIN_BLOCK_MASK)->lower(),
              100); // the control's own default, backwards
    EXPECT_EQ(panel.upDown(CPropertyPanel::IDC_SPIN_BLOCK_MASK)->upper(), 0);
    // Over a field the movement belongs to the field.
    QTest::mouseMove(panel.windowHandle(),
                     field(panel, CPropertyPanel::IDC_BAR_SPACE)->geometry().center());
    EXPECT_FALSE(panel.firstMoveDone());
    // Over a label it reaches the background.
    QTest::mouseMove(panel.windowHandle(), QPoint(3, 3));
    ASSERT_TRUE(panel.firstMoveDone());
    EXPECT_EQ(panel.upDown(CPropertyPanel::IDC_SPIN_BLOCK_MASK)->lower(), 1);
    EXPECT_EQ(panel.upDown(CPropertyPanel::IDC_SPIN_BLOCK_MASK)->upper(), 9);
    EXPECT_EQ(panel.scrollExtent, 475);

    // Arrows step within the new ranges: the angles stop at 17.
    field(panel, CPropertyPanel::IDC_MIN_RADIAN)->setText("16");
    panel.upDown(CPropertyPanel::IDC_SPIN_MIN_RADIAN)->step(1);
    panel.upDown(CPropertyPanel::IDC_SPIN_MIN_RADIAN)->step(1);
    EXPECT_EQ(field(panel, CPropertyPanel::IDC_MIN_RADIAN)->text(), "17");
    QTest::keyClick(field(panel, CPropertyPanel::IDC_MIN_RADIAN), Qt::Key_Down);
    EXPECT_EQ(field(panel, CPropertyPanel::IDC_MIN_RADIAN)->text(), "16");
}

TEST(PropertyPanelMouse, ScrollingMovesByTruncatedSteps) {
    Messages messages;
    CPropertyPanel panel(nullptr);
    panel.show();
    QTest::mouseMove(panel.surface(), QPoint(2, 2)); // first move: extent 475
    QScrollBar* bar = panel.scrollBar();
    for (int i = 0; i < 3; ++i)
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->value(), 30);
    EXPECT_EQ(panel.surface()->y(), -141);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(panel.surface()->y(), -141 - 332);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd); // clamped: nothing moves
    EXPECT_EQ(panel.surface()->y(), -473);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(panel.surface()->y(), 2); // whole-range moves are not corrected either
}

// The wheel over a field, or the scroll bar dragged at once: the pointer never crossed the
// background, yet the contents move with the scroll bar from its first step, and back.
TEST(PropertyPanelMouse, ScrollingBeforeAnyMoveOverTheBackgroundMovesTheContents) {
    Messages messages;
    CPropertyPanel panel(nullptr);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    ASSERT_FALSE(panel.firstMoveDone());
    const int top = panel.surface()->y();
    QScrollBar* bar = panel.scrollBar();
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_TRUE(panel.firstMoveDone());
    EXPECT_EQ(panel.scrollExtent, 475);
    EXPECT_EQ(panel.surface()->y(), top - 47);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(panel.surface()->y(), top) << "back at the top, the column is where it started";
}

TEST(NewBlockDialog, RangeIsCheckedWidthFirstAndKeepsTheDialogOpen) {
    Messages messages;
    const struct {
        const char *width, *height;
        bool accepted;
        int focused; // 0 width, 1 height
    } rows[] = {
        {"15", "12", true, -1},  {"8", "999", true, -1},   {"7", "12", false, 0},
        {"1000", "7", false, 0}, {"15", "1000", false, 1}, {"x", "12", false, 0},
    };
    for (const auto& r : rows) {
        CNewBlockDlg dialog;
        dialog.show();
        dialog.widthEdit()->setText(r.width);
        dialog.heightEdit()->setText(r.height);
        messages.shown.clear();
        QTest::keyClick(&dialog, Qt::Key_Return); // the default button: OK
        EXPECT_EQ(dialog.result() == QDialog::Accepted, r.accepted) << r.width << 'x' << r.height;
        EXPECT_EQ(dialog.isVisible(), !r.accepted);
        if (r.accepted) {
            EXPECT_EQ(dialog.width, QString(r.width).toInt());
            EXPECT_EQ(dialog.height, QString(r.height).toInt());
            EXPECT_TRUE(messages.shown.isEmpty());
        } else {
            ASSERT_EQ(messages.shown.size(), 1);
            EXPECT_TRUE(messages.shown[0].contains("8") && messages.shown[0].contains("999"));
            QLineEdit* expected = r.focused == 0 ? dialog.widthEdit() : dialog.heightEdit();
            EXPECT_EQ(dialog.focusWidget(), expected);
        }
    }
}

TEST(EventToolText, LinesReachTheScriptWithCrLfAndRefusedCharactersAreNamed) {
    Messages messages;
    CEventTool tool(nullptr);
    tool.show();
    EXPECT_TRUE(tool.edit()->toPlainText().isEmpty());
    tool.edit()->setFocus();
    QTest::keyClicks(tool.edit(), "OnHit");
    QTest::keyClick(tool.edit(), Qt::Key_Return);
    QTest::keyClicks(tool.edit(), "warp");
    ASSERT_TRUE(tool.UpdateData(true));
    EXPECT_EQ(tool.script, "OnHit\r\nwarp");

    // Typed or pasted text CP932 cannot hold is refused whole, with its characters named.
    auto* edit = tool.edit();
    QKeyEvent snowman(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("☃"));
    QCoreApplication::sendEvent(edit, &snowman);
    QApplication::clipboard()->setText(QStringLiteral("テキスト☃"));
    edit->paste();
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_TRUE(messages.shown[0].contains(QStringLiteral("☃")));
    EXPECT_EQ(edit->toPlainText(), "OnHit\nwarp");
    QApplication::clipboard()->setText(QStringLiteral("テキスト"));
    edit->paste();
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("OnHit\nwarpテキスト"));
}

TEST(EventToolText, UneditedScriptKeepsItsBytesAndEditedOneIsCrLf) {
    Messages messages;
    CEventTool tool(nullptr);
    tool.script = "a\r\nb\x82\r\nc"; // an undecodable byte
    tool.UpdateData(false);
    ASSERT_TRUE(tool.UpdateData(true));
    EXPECT_EQ(tool.script, "a\r\nb\x82\r\nc");
    tool.script = "x\r\ny";
    tool.UpdateData(false);
    tool.edit()->setPlainText("x\ny\rz\r\n"); // whatever breaks the edit holds
    ASSERT_TRUE(tool.UpdateData(true));
    EXPECT_EQ(tool.script, "x\r\ny\r\nz\r\n");
}
