// Panels and dialogs in the font they really have: every text shows whole and clear of its
// neighbours, number fields show five digits; the properties panel stays within its screen,
// scrolls the rest of its column (the wheel too) and opens beside its stage window.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "html/ChtmlDlg.h"
#include "panels/newblockdlg.h"
#include "panels/panelplace.h"
#include "panels/placementtool.h"
#include "panels/propertypanel.h"
#include "paneltesthelpers.h"
#include "shell/aboutbox.h"
#include "shell/mainframe.h"
#include "shellfixture.h"

namespace {

// The text a control shows, empty for one without text.
QString shownText(const QWidget* w) {
    if (auto* label = qobject_cast<const QLabel*>(w))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->text();
    if (auto* combo = qobject_cast<const QComboBox*>(w))
        return combo->currentText();
    return {};
}

// Every text of `dialog` fits its control, and no text control overlaps another control
// beside it (group boxes and lines hold others and are left out).
void expectTextsFit(QWidget* dialog, const char* name) {
    const QList<QWidget*> all = dialog->findChildren<QWidget*>();
    int texts = 0;
    for (QWidget* w : all) {
        const QString text = shownText(w);
        if (text.isEmpty() || qobject_cast<QGroupBox*>(w) || !w->parentWidget() ||
            qobject_cast<QComboBox*>(w->parentWidget()))
            continue;
        ++texts;
        const int advance = w->fontMetrics().horizontalAdvance(text);
        if (qobject_cast<QPushButton*>(w))
            EXPECT_GE(w->width(), advance + 4) << name << ' ' << text.toStdString();
        else
            EXPECT_GE(w->width(), w->sizeHint().width()) << name << ' ' << text.toStdString();
        EXPECT_GE(w->height(), w->fontMetrics().height()) << name << ' ' << text.toStdString();
        for (QWidget* other : all) {
            if (other == w || other->parentWidget() != w->parentWidget() ||
                qobject_cast<QGroupBox*>(other) || qobject_cast<QFrame*>(other) ||
                other->metaObject() == &QWidget::staticMetaObject)
                continue;
            if (qobject_cast<QLabel*>(other) && shownText(other).isEmpty())
                continue; // a picture beside a radio button's own indicator
            EXPECT_FALSE(w->geometry().intersects(other->geometry()))
                << name << ": " << text.toStdString() << " overlaps "
                << (shownText(other).isEmpty() ? other->objectName() : shownText(other))
                       .toStdString();
        }
    }
    EXPECT_GT(texts, 0) << name;
}

// The field shows `text` whole: its advance fits the contents less the 2-pixel inner
// margins a line edit keeps on each side.
void expectShowsWhole(QLineEdit* field, const QString& text) {
    field->setText(text);
    EXPECT_LE(field->fontMetrics().horizontalAdvance(text) + 4, field->contentsRect().width())
        << field->objectName().toStdString() << " for " << text.toStdString();
}

QLineEdit* edit(CPropertyPanel& panel, int id) {
    return panel.control<QLineEdit>(id);
}

} // namespace

TEST(PanelFit, EveryTextShowsWholeAndClearOfItsNeighbours) {
    Messages messages;
    CPropertyPanel properties(nullptr);
    expectTextsFit(properties.surface(), "properties");
    // The clipped and covered ones seen with the Japanese font (the test also runs in
    // English, as gui.panelfit_english, and at scale 2).
    if (QCoreApplication::translate("Core", "直径") == QStringLiteral("直径")) {
        for (const char* text :
             {"ヒットエフェクト", "ブロックマスク", "キーボード使用時移動速度"}) {
            bool found = false;
            for (QWidget* w : properties.surface()->findChildren<QWidget*>())
                found = found || shownText(w) == QString::fromUtf8(text);
            EXPECT_TRUE(found) << text;
        }
    }
    CPlacementTool placement;
    expectTextsFit(&placement, "placement");
    CNewBlockDlg newBlocks;
    expectTextsFit(&newBlocks, "new block");
    ChtmlDlg html;
    expectTextsFit(&html, "html");
    CAboutDlg about;
    expectTextsFit(&about, "about");
    // Every control lies inside its dialog.
    for (QWidget* dialog : std::initializer_list<QWidget*>{&placement, &newBlocks, &html, &about})
        for (QWidget* w : dialog->findChildren<QWidget*>()) {
            if (w->parentWidget() == dialog && !w->isWindow()) {
                EXPECT_TRUE(dialog->rect().contains(w->geometry()))
                    << dialog->windowTitle().toStdString() << ' ' << shownText(w).toStdString();
            }
        }
    EXPECT_TRUE(properties.surface()->rect().contains(
        properties.control(CPropertyPanel::IDC_SPIN_BLOCK_MASK)->geometry()));
}

TEST(PanelFit, NumberFieldsShowFiveDigits) {
    Messages messages;
    CPropertyPanel properties(nullptr);
    int numeric = 0;
    for (int id = CPropertyPanel::IDC_GRAPHIC1; id <= CPropertyPanel::IDC_BAR_SPEED_RATE; ++id) {
        QLineEdit* field = edit(properties, id);
        if (field == nullptr || id == CPropertyPanel::IDC_GRAPHIC1 ||
            id == CPropertyPanel::IDC_GRAPHIC2)
            continue;
        ++numeric;
        expectShowsWhole(field, QStringLiteral("40000"));
    }
    EXPECT_EQ(numeric, 19);
    // The sizes that showed as "000" and "150".
    properties.graphicWidth = 4000;
    properties.graphicHeight = 3150;
    properties.showSizeFields();
    expectShowsWhole(edit(properties, CPropertyPanel::IDC_GRAPHIC_WIDTH), "4000");
    expectShowsWhole(edit(properties, CPropertyPanel::IDC_GRAPHIC_HEIGHT), "3150");

    CNewBlockDlg newBlocks;
    expectShowsWhole(newBlocks.widthEdit(), QStringLiteral("40000"));
    expectShowsWhole(newBlocks.heightEdit(), QStringLiteral("40000"));
    CPlacementTool placement;
    expectShowsWhole(placement.findChild<QLineEdit*>(QStringLiteral("c1000")),
                     QStringLiteral("40000"));
}

TEST(PanelFit, PropertiesPanelIsNeverTallerThanItsScreenAndScrollsTheRest) {
    Messages messages;
    CPropertyPanel panel(nullptr);
    const QRect available = panel.screen()->availableGeometry();
    // Its column and the window's frame are taller than the offscreen screen: shown, the
    // panel is cut to the screen.
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    settleEvents();
    ASSERT_GT(panel.surface()->height(), panel.height());
    EXPECT_LE(panel.frameGeometry().height(), available.height());
    EXPECT_TRUE(available.contains(panel.frameGeometry()));
    EXPECT_EQ(panel.scrollBar()->height(), panel.height());

    // A small screen with a 30-pixel frame: 370 pixels. The whole range scrolls 475 pixels,
    // or further where that would not reach the bottom of the column; either way the bottom
    // shows at the end of the range.
    panel.fitToScreen(QRect(0, 0, 1366, 400), 30);
    settleEvents();
    EXPECT_EQ(panel.height(), 370);
    EXPECT_EQ(panel.maximumHeight(), 370);
    QTest::mouseMove(panel.surface(), QPoint(2, 2)); // the first move sets up the scrolling
    ASSERT_TRUE(panel.firstMoveDone());
    const int toBottom = panel.surface()->height() - 370;
    EXPECT_EQ(panel.scrollExtent, std::max(475, toBottom));
    panel.scrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_LE(panel.surface()->y() + panel.surface()->height(), panel.height());
    if (toBottom >= 475) {
        EXPECT_GE(panel.surface()->y() + panel.surface()->height(), panel.height() - 2);
    }
    panel.scrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_GE(panel.surface()->y(), 0);

    // Resizable in height within the screen: a taller screen lets it grow to its column.
    panel.fitToScreen(QRect(0, 0, 1366, 4000), 30);
    EXPECT_EQ(panel.maximumHeight(), panel.surface()->height());
    EXPECT_LT(panel.minimumHeight(), 370);
    EXPECT_EQ(panel.minimumWidth(), panel.maximumWidth());
    panel.resize(panel.width(), panel.surface()->height());
    settleEvents();
    EXPECT_EQ(panel.scrollExtent, 475); // tall enough: the usual extent

    // The wheel scrolls it, a page of the scroll bar a notch. (Sent to the panel: a field
    // ignores the wheel, and the window system's event goes on to the panel; a synthesised
    // one would not.)
    panel.resize(panel.width(), 300);
    settleEvents();
    const int top = panel.surface()->y();
    const auto wheel = [&panel](int delta) {
        const QPoint at(20, 20);
        QWheelEvent event(at, panel.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&panel, &event);
    };
    wheel(-120);
    EXPECT_EQ(panel.scrollBar()->value(), 10);
    EXPECT_EQ(panel.surface()->y(), top - 10 * panel.scrollExtent / 100);
    wheel(-60); // half a notch: nothing yet
    EXPECT_EQ(panel.scrollBar()->value(), 10);
    wheel(180); // the other way: the half notch is taken back, then a whole one
    EXPECT_EQ(panel.scrollBar()->value(), 0);
}

TEST(PanelFit, PanelPlaceIsBesideTheStageWindowWhenTheScreenHasRoom) {
    const QRect screen(0, 0, 1366, 768);
    const QRect main(0, 0, 1026, 768);
    const QSize panel(325, 768);
    // A 640-pixel stage window at the left: on its right, the top kept on the screen.
    const QRect stage(1, 76, 650, 540);
    const QPoint right = panelPlace(stage, {}, main, panel, QPoint(605, 77), screen);
    EXPECT_EQ(right, QPoint(651, 0));
    EXPECT_FALSE(QRect(right, panel).intersects(stage));
    EXPECT_TRUE(screen.contains(QRect(right, panel)));
    // Another stage window there: right of the main window instead.
    const QRect tiled(520, 76, 210, 330);
    EXPECT_EQ(panelPlace(QRect(1, 76, 210, 330), {tiled}, main, panel, QPoint(605, 77), screen),
              QPoint(1026, 0));
    // No room on the right: on the left.
    const QRect rightSide(900, 80, 400, 300);
    EXPECT_EQ(panelPlace(rightSide, {}, QRect(), QSize(320, 740), QPoint(1500, 0), screen),
              QPoint(580, 0));
    // Every place covers another window: the first that leaves its own uncovered.
    EXPECT_EQ(panelPlace(QRect(1, 76, 210, 330), {tiled, QRect(1030, 0, 10, 10)}, main, panel,
                         QPoint(605, 77), screen),
              QPoint(211, 0));
    // No room anywhere: the usual place, moved into the screen.
    const QRect wide(100, 80, 1200, 600);
    EXPECT_EQ(
        panelPlace(wide, {}, QRect(0, 0, 1366, 768), QSize(320, 740), QPoint(1300, -40), screen),
        QPoint(1046, 0));
    EXPECT_EQ(
        panelPlace(wide, {}, QRect(0, 0, 1366, 768), QSize(320, 300), QPoint(700, 200), screen),
        QPoint(700, 200));
}
