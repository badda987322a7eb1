#include "panels/propertypanel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>

#include "document/coretexts.h"
#include "document/stagedocument.h"
#include "host/host.h"
#include "panels/dataexchange.h"
#include "panels/dialogs.h"
#include "panels/dialogunits.h"
#include "panels/newblockdlg.h"
#include "panels/panelplace.h"
#include "panels/updown.h"
#include "picture/pictureloader.h"
#include "stage/stagefields.h"
#include "text/stagepath.h"

namespace {
// The label of the setting the panel edits in `member`, as the field table names it.
template <typename Member> QString fieldLabel(Member PropertyValues::*member) {
    const StageField* field = findPanelField(member);
    return field ? coreText(field->label) : QString();
}

// What the picture loader needs from its surroundings here: its message.
class PanelHost : public Host {
public:
    void messageBox(const Message& message) override { showPanelMessage(coreMessage(message)); }
};

// Ranges the first mouse movement over the panel gives its up-down controls, in this order.
constexpr struct {
    int id, lower, upper;
} firstMoveRanges[] = {
    {CPropertyPanel::IDC_SPIN_BAR_SPACE, 0, 9999},
    {CPropertyPanel::IDC_SPIN_BALL_SIZE, 1, 99},
    {CPropertyPanel::IDC_SPIN_BASE_SPEED, 1, 99},
    {CPropertyPanel::IDC_SPIN_PRECISION, 1, 99},
    {CPropertyPanel::IDC_SPIN_MIN_RADIAN, 1, 17},
    {CPropertyPanel::IDC_SPIN_MAX_RADIAN, 1, 17},
    {CPropertyPanel::IDC_SPIN_BAR_WIDTH, 1, 9999},
    {CPropertyPanel::IDC_SPIN_BAR_HEIGHT, 1, 9999},
    {CPropertyPanel::IDC_SPIN_EDGE_WIDTH, 1, 9999},
    {CPropertyPanel::IDC_SPIN_CRITICAL_WIDTH, 1, 9999},
    {CPropertyPanel::IDC_SPIN_X_SPEED, 1, 9999},
    {CPropertyPanel::IDC_SPIN_LIFE, 1, 99},
    {CPropertyPanel::IDC_SPIN_BLOCK_MASK, 1, 9},
};

// Ranges the up-down controls get on opening, in this order.
constexpr struct {
    int id, lower, upper;
} openingRanges[] = {
    {CPropertyPanel::IDC_SPIN_BAR_SPACE, 0, 9999},
    {CPropertyPanel::IDC_SPIN_BALL_SIZE, 0, 999},
    {CPropertyPanel::IDC_SPIN_BASE_SPEED, 0, 99},
    {CPropertyPanel::IDC_SPIN_PRECISION, 0, 99},
    {CPropertyPanel::IDC_SPIN_MIN_RADIAN, 1, 18},
    {CPropertyPanel::IDC_SPIN_MAX_RADIAN, 1, 18},
    {CPropertyPanel::IDC_SPIN_BAR_WIDTH, 0, 9999},
    {CPropertyPanel::IDC_SPIN_BAR_HEIGHT, 0, 999},
    {CPropertyPanel::IDC_SPIN_EDGE_WIDTH, 0, 999},
    {CPropertyPanel::IDC_SPIN_CRITICAL_WIDTH, 0, 999},
    {CPropertyPanel::IDC_SPIN_X_SPEED, 0, 999},
    {CPropertyPanel::IDC_SPIN_LIFE, 0, 99},
};

constexpr int scrollMaximum = 100;
constexpr int scrolledExtent = 475;
} // namespace

CPropertyPanel::CPropertyPanel(StageDocument* document) : QDialog(nullptr), document_(document) {
    setWindowTitle(tr("プロパティ"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFont(panelFont());
    build();
    UpdateData(false); // the controls start from the members, as a dialog's set-up does
    // The first mouse movement over the panel replaces these with its own.
    for (const auto& r : openingRanges)
        setSpinRange(r.id, r.lower, r.upper);
}

CPropertyPanel::~CPropertyPanel() {
    // The controls go after this destructor has run; none of their signals may reach it.
    for (QObject* child : findChildren<QObject*>()) {
        child->removeEventFilter(this);
        disconnect(child, nullptr, this, nullptr);
    }
}

void CPropertyPanel::build() {
    const DialogUnits du(font());
    UnitLayout layout(du);
    surface_ = new QWidget(this);
    surface_->setObjectName(QStringLiteral("surface"));
    surface_->setMouseTracking(true);
    surface_->installEventFilter(this);
    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setRange(0, scrollMaximum);
    scrollBar_->setSingleStep(1);
    scrollBar_->setPageStep(10);
    scrollBar_->setTracking(false); // the position moves when the thumb is let go
    connect(scrollBar_, &QScrollBar::valueChanged, this, &CPropertyPanel::scrollTo);

    QWidget* s = surface_;
    // Labels, group captions and separators let the pointer through to the background.
    const auto label = [&](const QString& text, int x, int y) {
        auto* l = new QLabel(text, s);
        layout.add(l, QRect(x, y, 0, 0));
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
    };
    const auto separator = [&](int y) {
        auto* line = new QFrame(s);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        layout.add(line, QRect(5, y, 130, 5));
        line->setAttribute(Qt::WA_TransparentForMouseEvents);
    };
    // Every field holds a number but the two picture names.
    const auto edit = [&](int id, int x, int y, int w, bool readOnly = false) {
        auto* e = new QLineEdit(s);
        e->setObjectName(QStringLiteral("c%1").arg(id));
        if (id == IDC_GRAPHIC1 || id == IDC_GRAPHIC2)
            layout.add(e, QRect(x, y, w, 14));
        else
            layout.addNumeric(e, QRect(x, y, w, 14));
        if (readOnly) {
            e->setReadOnly(true);
            e->setFocusPolicy(Qt::ClickFocus);
            // Shown as a read-only field: the window's colour behind the text, not a field's.
            QPalette palette = e->palette();
            palette.setColor(QPalette::Base, palette.color(QPalette::Window));
            e->setPalette(palette);
        } else {
            connect(e, &QLineEdit::editingFinished, this, &CPropertyPanel::commitFields);
            e->installEventFilter(this);
        }
        controls_[id] = e;
        return e;
    };
    const auto upDown = [&](int id, QLineEdit* buddy, int x, int y, int w, int h) {
        auto* u = new CUpDown(buddy, s);
        u->setObjectName(QStringLiteral("c%1").arg(id));
        layout.add(u, QRect(x, y, w, h));
        connect(u, &CUpDown::stepped, this, &CPropertyPanel::commitFields);
        upDowns_[id] = u;
        controls_[id] = u;
    };
    const auto button = [&](int id, const QString& text, int x, int y, int w) {
        auto* b = new QPushButton(text, s);
        b->setObjectName(QStringLiteral("c%1").arg(id));
        layout.add(b, QRect(x, y, w, 14));
        b->setAutoDefault(false); // Enter does nothing in this panel
        controls_[id] = b;
        return b;
    };
    const auto check = [&](int id, const QString& text, int x, int y, int w) {
        auto* c = new QCheckBox(text, s);
        c->setObjectName(QStringLiteral("c%1").arg(id));
        layout.add(c, QRect(x, y, w, 10));
        connect(c, &QCheckBox::clicked, this, &CPropertyPanel::commitFields);
        controls_[id] = c;
    };
    const auto combo = [&](int id, const QStringList& items, int x, int y, const QString& field) {
        auto* c = new QComboBox(s);
        c->setObjectName(QStringLiteral("c%1").arg(id));
        c->setEditable(true);
        // No completion: it would fill in an entry while a value is typed ("1" would become
        // "100%"), and a rate is often a value of the author's own.
        c->setCompleter(nullptr);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->addItems(items);
        layout.add(c, QRect(x, y, 33, 14));
        c->setValidator(new Cp932Validator(field, c));
        connect(c, &QComboBox::activated, this, &CPropertyPanel::commitFields);
        connect(c->lineEdit(), &QLineEdit::editingFinished, this, &CPropertyPanel::commitFields);
        controls_[id] = c;
    };

    connect(button(IDC_REDRAW_GRAPHIC1, tr("再描画"), 75, 0, 40), &QPushButton::clicked, this,
            [this] { redraw(true); });
    label(fieldLabel(&PropertyValues::graphic1), 5, 5);
    QLineEdit* graphic1Edit = edit(IDC_GRAPHIC1, 5, 15, 110);
    graphic1Edit->setValidator(new Cp932Validator(fieldLabel(&PropertyValues::graphic1), this));
    connect(button(IDC_BROWSE_GRAPHIC1, QString(), 120, 15, 10), &QPushButton::clicked, this,
            [this] { browse(true); });
    connect(button(IDC_REDRAW_GRAPHIC2, tr("再描画"), 75, 30, 40), &QPushButton::clicked, this,
            [this] { redraw(false); });
    label(fieldLabel(&PropertyValues::graphic2), 5, 35);
    QLineEdit* graphic2Edit = edit(IDC_GRAPHIC2, 5, 45, 110);
    graphic2Edit->setValidator(new Cp932Validator(fieldLabel(&PropertyValues::graphic2), this));
    // Enter in a picture field loads the picture named there, as its 再描画 button does.
    for (const auto& [field, foreground] : {std::pair{graphic1Edit, true}, {graphic2Edit, false}})
        connect(field, &QLineEdit::returnPressed, this, [this, foreground = foreground] {
            commitFields();
            redraw(foreground);
        });
    connect(button(IDC_BROWSE_GRAPHIC2, QString(), 120, 45, 10), &QPushButton::clicked, this,
            [this] { browse(false); });

    label(fieldLabel(&PropertyValues::graphicWidth), 5, 65);
    edit(IDC_GRAPHIC_WIDTH, 50, 65, 15, true);
    label(QStringLiteral("×"), 70, 65);
    edit(IDC_GRAPHIC_HEIGHT, 80, 65, 15, true);
    label(QStringLiteral("pixel"), 100, 65);
    label(tr("実行時サイズ"), 5, 80);
    edit(IDC_RUNTIME_WIDTH, 50, 80, 15, true);
    label(QStringLiteral("×"), 70, 80);
    edit(IDC_RUNTIME_HEIGHT, 80, 80, 15, true);
    label(QStringLiteral("pixel"), 100, 80);
    separator(95);

    label(tr("▼ブロック設定"), 5, 105);
    connect(button(IDC_NEW_BLOCK_LAYOUT, tr("新規作成"), 75, 105, 40), &QPushButton::clicked, this,
            &CPropertyPanel::newBlockLayout);
    label(fieldLabel(&PropertyValues::blockWidth), 5, 125);
    edit(IDC_BLOCK_WIDTH, 35, 121, 15, true);
    label(fieldLabel(&PropertyValues::blockHeight), 60, 125);
    edit(IDC_BLOCK_HEIGHT, 95, 121, 15, true);
    label(fieldLabel(&PropertyValues::barSpace), 5, 145);
    upDown(IDC_SPIN_BAR_SPACE, edit(IDC_BAR_SPACE, 55, 141, 40), 95, 141, 6, 15);
    separator(160);

    label(tr("▼ボール設定"), 5, 170);
    label(fieldLabel(&PropertyValues::ballSize), 5, 185);
    upDown(IDC_SPIN_BALL_SIZE, edit(IDC_BALL_SIZE, 35, 180, 15), 50, 180, 10, 14);
    label(fieldLabel(&PropertyValues::baseSpeed), 65, 185);
    upDown(IDC_SPIN_BASE_SPEED, edit(IDC_BASE_SPEED, 110, 180, 15), 125, 180, 10, 14);
    label(fieldLabel(&PropertyValues::precision), 65, 200);
    upDown(IDC_SPIN_PRECISION, edit(IDC_PRECISION, 110, 195, 15), 125, 195, 10, 14);
    label(fieldLabel(&PropertyValues::minRadian), 5, 218);
    upDown(IDC_SPIN_MIN_RADIAN, edit(IDC_MIN_RADIAN, 35, 212, 15), 50, 212, 9, 14);
    label(QStringLiteral("×10°"), 60, 218);
    label(fieldLabel(&PropertyValues::maxRadian), 5, 233);
    upDown(IDC_SPIN_MAX_RADIAN, edit(IDC_MAX_RADIAN, 35, 228, 15), 50, 228, 9, 14);
    label(QStringLiteral("×10°"), 60, 232);
    separator(245);

    label(tr("▼パドル設定"), 5, 255);
    label(fieldLabel(&PropertyValues::barWidth), 5, 270);
    upDown(IDC_SPIN_BAR_WIDTH, edit(IDC_BAR_WIDTH, 20, 265, 20), 40, 265, 10, 15);
    label(fieldLabel(&PropertyValues::edgeWidth), 75, 270);
    upDown(IDC_SPIN_EDGE_WIDTH, edit(IDC_EDGE_WIDTH, 105, 265, 20), 125, 265, 9, 14);
    label(fieldLabel(&PropertyValues::barHeight), 5, 290);
    upDown(IDC_SPIN_BAR_HEIGHT, edit(IDC_BAR_HEIGHT, 20, 285, 20), 40, 285, 6, 15);
    label(fieldLabel(&PropertyValues::criticalWidth), 50, 290);
    upDown(IDC_SPIN_CRITICAL_WIDTH, edit(IDC_CRITICAL_WIDTH, 105, 285, 20), 125, 285, 10, 14);
    label(fieldLabel(&PropertyValues::xSpeed), 10, 310);
    upDown(IDC_SPIN_X_SPEED, edit(IDC_X_SPEED, 95, 305, 20), 115, 305, 9, 14);
    separator(325);

    label(fieldLabel(&PropertyValues::life), 5, 340);
    upDown(IDC_SPIN_LIFE, edit(IDC_LIFE, 60, 335, 15), 75, 335, 6, 15);
    label(tr("▼デフォルトオプション設定"), 5, 355);
    const QString rates[] = {QStringLiteral(" 25%"), QStringLiteral(" 50%"), QStringLiteral("100%"),
                             QStringLiteral("150%"), QStringLiteral("200%")};
    QStringList ballRates(std::begin(rates), std::end(rates));
    QStringList barRates = ballRates;
    barRates << QStringLiteral("AUTO"); // the sorted list shows it last
    label(fieldLabel(&PropertyValues::ballSpeedRate), 10, 370);
    combo(IDC_BALL_SPEED_RATE, ballRates, 85, 365, fieldLabel(&PropertyValues::ballSpeedRate));
    label(fieldLabel(&PropertyValues::barSpeedRate), 10, 385);
    combo(IDC_BAR_SPEED_RATE, barRates, 85, 380, fieldLabel(&PropertyValues::barSpeedRate));
    check(IDC_KEYBOARD_MODE, tr("キーボード操作"), 5, 400, 61);
    check(IDC_EDGE_BACK, tr("逆方向反射"), 70, 400, 50);
    check(IDC_BLOCK_MODE, tr("ブロック表示"), 5, 415, 53);
    check(IDC_TIMER_VISIBLE, tr("タイマー表示"), 70, 415, 54);
    check(IDC_SOUND_MODE, tr("サウンド"), 5, 430, 39);
    check(IDC_RANKING_ENABLE, tr("ランキング機能"), 70, 430, 60);
    check(IDC_EFFECT_MODE, tr("ヒットエフェクト"), 5, 445, 58);
    label(fieldLabel(&PropertyValues::blockMask), 70, 445);
    upDown(IDC_SPIN_BLOCK_MASK, edit(IDC_BLOCK_MASK, 115, 445, 10), 125, 445, 9, 15);
    check(IDC_LITE_MODE, tr("衝突判定軽量化"), 5, 460, 64);

    // The column as tall as the template, as wide as its rows need in this font; the panel
    // shows as much of it as its screen has room for and scrolls the rest.
    surface_->resize(layout.apply(QSize(146, 473)));
    setFixedWidth(surface_->width() + scrollBar_->sizeHint().width());
    setMinimumHeight(std::min(surface_->height(), du.y(60)));
    setMaximumHeight(surface_->height());
    resize(width(), surface_->height());

    // Tab order follows the template; the read-only size fields are not tab stops.
    QWidget* previous = nullptr;
    for (int id : {IDC_GRAPHIC1,      IDC_GRAPHIC2,       IDC_BAR_SPACE,       IDC_BALL_SIZE,
                   IDC_BASE_SPEED,    IDC_PRECISION,      IDC_MIN_RADIAN,      IDC_MAX_RADIAN,
                   IDC_BAR_WIDTH,     IDC_EDGE_WIDTH,     IDC_BAR_HEIGHT,      IDC_CRITICAL_WIDTH,
                   IDC_X_SPEED,       IDC_LIFE,           IDC_BALL_SPEED_RATE, IDC_BAR_SPEED_RATE,
                   IDC_KEYBOARD_MODE, IDC_EDGE_BACK,      IDC_BLOCK_MODE,      IDC_TIMER_VISIBLE,
                   IDC_SOUND_MODE,    IDC_RANKING_ENABLE, IDC_EFFECT_MODE,     IDC_BLOCK_MASK,
                   IDC_LITE_MODE}) {
        if (previous)
            setTabOrder(previous, controls_[id]);
        previous = controls_[id];
    }
}

QWidget* CPropertyPanel::control(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

CUpDown* CPropertyPanel::upDown(int id) const {
    const auto it = upDowns_.find(id);
    return it == upDowns_.end() ? nullptr : it->second;
}

void CPropertyPanel::showSizeFields() {
    const std::pair<int, std::int32_t> fields[] = {{IDC_GRAPHIC_WIDTH, graphicWidth},
                                                   {IDC_GRAPHIC_HEIGHT, graphicHeight},
                                                   {IDC_RUNTIME_WIDTH, runtimeWidth},
                                                   {IDC_RUNTIME_HEIGHT, runtimeHeight}};
    for (const auto& [id, value] : fields)
        if (const QString text = QString::number(value); control<QLineEdit>(id)->text() != text)
            control<QLineEdit>(id)->setText(text);
}

void CPropertyPanel::setBrowseImage(const QPixmap& image) {
    browseImage_ = image;
    for (int id : {IDC_BROWSE_GRAPHIC1, IDC_BROWSE_GRAPHIC2}) {
        auto* b = control<QPushButton>(id);
        b->setIcon(QIcon(browseImage_));
        b->setIconSize(browseImage_.size());
    }
}

void CPropertyPanel::setSpinRange(int id, int lower, int upper) {
    if (CUpDown* u = upDown(id))
        u->setRange(lower, upper);
}

void CPropertyPanel::exchange(DataExchange& dx) {
    const auto e = [this](int id) { return control<QLineEdit>(id); };
    const auto c = [this](int id) { return control<QCheckBox>(id); };
    // A setting of the field table, named by its label there.
    const auto number = [&](int id, std::int32_t PropertyValues::*member) {
        dx.integer(e(id), this->*member, fieldLabel(member));
    };
    const auto text = [&](int id, std::string PropertyValues::*member) {
        dx.text(e(id), this->*member, fieldLabel(member));
    };
    const auto rate = [&](int id, std::string PropertyValues::*member) {
        dx.comboText(control<QComboBox>(id), this->*member, fieldLabel(member));
    };
    dx.check(c(IDC_KEYBOARD_MODE), keyboardMode);
    dx.check(c(IDC_SOUND_MODE), soundMode);
    dx.check(c(IDC_BLOCK_MODE), blockMode);
    dx.check(c(IDC_EFFECT_MODE), effectMode);
    dx.check(c(IDC_LITE_MODE), liteMode);
    number(IDC_GRAPHIC_HEIGHT, &PropertyValues::graphicHeight);
    number(IDC_GRAPHIC_WIDTH, &PropertyValues::graphicWidth);
    number(IDC_BAR_SPACE, &PropertyValues::barSpace);
    number(IDC_MIN_RADIAN, &PropertyValues::minRadian);
    number(IDC_MAX_RADIAN, &PropertyValues::maxRadian);
    number(IDC_BALL_SIZE, &PropertyValues::ballSize);
    number(IDC_BASE_SPEED, &PropertyValues::baseSpeed);
    number(IDC_PRECISION, &PropertyValues::precision);
    number(IDC_BAR_WIDTH, &PropertyValues::barWidth);
    number(IDC_BAR_HEIGHT, &PropertyValues::barHeight);
    number(IDC_EDGE_WIDTH, &PropertyValues::edgeWidth);
    number(IDC_X_SPEED, &PropertyValues::xSpeed);
    number(IDC_LIFE, &PropertyValues::life);
    number(IDC_BLOCK_WIDTH, &PropertyValues::blockWidth);
    number(IDC_BLOCK_HEIGHT, &PropertyValues::blockHeight);
    dx.integer(e(IDC_RUNTIME_WIDTH), runtimeWidth, tr("実行時サイズ"));
    dx.integer(e(IDC_RUNTIME_HEIGHT), runtimeHeight, tr("実行時サイズ"));
    text(IDC_GRAPHIC1, &PropertyValues::graphic1);
    text(IDC_GRAPHIC2, &PropertyValues::graphic2);
    number(IDC_CRITICAL_WIDTH, &PropertyValues::criticalWidth);
    rate(IDC_BALL_SPEED_RATE, &PropertyValues::ballSpeedRate);
    rate(IDC_BAR_SPEED_RATE, &PropertyValues::barSpeedRate);
    dx.check(c(IDC_EDGE_BACK), edgeBack);
    dx.check(c(IDC_TIMER_VISIBLE), timerVisible);
    dx.check(c(IDC_RANKING_ENABLE), rankingEnable);
    number(IDC_BLOCK_MASK, &PropertyValues::blockMask);
}

bool CPropertyPanel::UpdateData(bool saveAndValidate) {
    DataExchange dx(saveAndValidate);
    exchange(dx);
    if (!dx.failed()) {
        if (saveAndValidate)
            reportedControl_ = nullptr;
        return true;
    }
    // Report a refused field once; the mouse moves over the panel many times a second.
    if (dx.failedControl() != reportedControl_ || dx.failedText() != reportedText_) {
        reportedControl_ = dx.failedControl();
        reportedText_ = dx.failedText();
        showPanelMessage(dx.message());
        if (QWidget* field = dx.failedControl(); field && isVisible()) {
            field->setFocus();
            if (auto* e = qobject_cast<QLineEdit*>(field))
                e->selectAll();
        }
    }
    return false;
}

void CPropertyPanel::commitFields() {
    if (closeRequested_)
        return;
    const bool taken = UpdateData(true);
    runtimeHeight = computedRuntimeHeight();
    if (taken) {
        UpdateData(false);
    } else {
        // The refused text and the fields after it stay as typed, so nothing is lost; only
        // the derived runtime height is shown anew.
        control<QLineEdit>(IDC_RUNTIME_HEIGHT)->setText(QString::number(runtimeHeight));
    }
    emit transferRequested();
}

void CPropertyPanel::mouseMovedOverBackground() {
    commitFields();
    if (!firstMoveDone_)
        firstMoveSetUp();
}

void CPropertyPanel::firstMoveSetUp() {
    firstMoveDone_ = true;
    for (const auto& r : firstMoveRanges)
        setSpinRange(r.id, r.lower, r.upper);
    scrollBar_->setRange(0, scrollMaximum);
    updateScrollExtent();
}

void CPropertyPanel::updateScrollExtent() {
    // The whole range scrolls 475 pixels, or as far as the bottom of the column where the
    // panel is too short for that to reach it.
    if (firstMoveDone_)
        scrollExtent = std::max(scrolledExtent, surface_->height() - height());
}

void CPropertyPanel::fitToScreen(const QRect& available, int frameHeight) {
    if (available.isEmpty())
        return;
    const int room = std::max(minimumHeight(), available.height() - std::max(frameHeight, 0));
    setMaximumHeight(std::min(surface_->height(), room));
    if (height() > maximumHeight())
        resize(width(), maximumHeight());
}

void CPropertyPanel::keepOnScreen() {
    const QScreen* screen = this->screen();
    if (screen == nullptr)
        return;
    const QRect available = screen->availableGeometry();
    const QRect outer = frameGeometry();
    const int frame = outer.height() > height() ? outer.height() - height() : frameAllowance;
    fitToScreen(available, frame);
    const QRect now = frameGeometry();
    if (const QPoint at = movedInside(now, available); at != now.topLeft())
        move(at);
}

void CPropertyPanel::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    scrollBar_->setGeometry(surface_->width(), 0, width() - surface_->width(), height());
    updateScrollExtent();
}

void CPropertyPanel::wheelEvent(QWheelEvent* event) {
    // A wheel notch scrolls by a page of the panel's scroll bar, as its page arrows do.
    wheelTurn_ += event->angleDelta().y();
    for (; wheelTurn_ >= 120; wheelTurn_ -= 120)
        scrollBar_->triggerAction(QAbstractSlider::SliderPageStepSub);
    for (; wheelTurn_ <= -120; wheelTurn_ += 120)
        scrollBar_->triggerAction(QAbstractSlider::SliderPageStepAdd);
    event->accept();
}

bool CPropertyPanel::event(QEvent* event) {
    // Once the window manager has framed the panel, it is kept inside its screen with that
    // frame: no taller than the screen's available area, and moved into it.
    // A panel inside a dock of the main window is laid out by the dock.
    if (!isWindow())
        return QDialog::event(event);
    if ((event->type() == QEvent::Show || event->type() == QEvent::WindowActivate) &&
        !placedOnScreen_) {
        if (event->type() == QEvent::WindowActivate)
            placedOnScreen_ = true;
        QTimer::singleShot(0, this, &CPropertyPanel::keepOnScreen);
    }
    // A window manager may frame the panel only after it was placed, with its title bar
    // above the screen where it cannot be grabbed. The frame is known by the time the panel
    // paints: then it is moved back inside (a few times at most, should the window manager
    // insist).
    if (event->type() == QEvent::Paint && titleBarCorrections_ < 3) {
        if (const QScreen* screen = this->screen();
            screen && frameGeometry().top() < screen->availableGeometry().top()) {
            ++titleBarCorrections_;
            QTimer::singleShot(0, this, &CPropertyPanel::keepOnScreen);
        }
    }
    return QDialog::event(event);
}

bool CPropertyPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == surface_ && event->type() == QEvent::MouseMove)
        mouseMovedOverBackground();
    if (event->type() == QEvent::ShortcutOverride) {
        // A field keeps Ctrl+Z / Ctrl+Y while it has typing of its own to undo or redo;
        // after that the keys reach the application and undo the stage's steps.
        auto* e = qobject_cast<QLineEdit*>(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (e && ((key->matches(QKeySequence::Undo) && !e->isUndoAvailable()) ||
                  (key->matches(QKeySequence::Redo) && !e->isRedoAvailable()))) {
            event->ignore();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CPropertyPanel::scrollTo(int position) {
    // Scrolled before the pointer ever crossed the panel's background (the wheel over a
    // field, the scroll bar dragged straight away): the set-up that gives the scrolling its
    // extent runs first, so that the contents move with the scroll bar from its first step.
    if (!firstMoveDone_)
        firstMoveSetUp();
    // Each step moves the contents by its own truncated share of the extent; the rounding of
    // earlier steps is not made up for.
    const int moved = (scrollPosition_ - position) * scrollExtent / scrollMaximum;
    scrollPosition_ = position;
    surface_->move(surface_->x(), surface_->y() + moved);
}

void CPropertyPanel::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // On activation the keyboard goes to the first field (前景ファイル), unless a field had it.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        QWidget* focused = focusWidget();
        const bool field = qobject_cast<QLineEdit*>(focused) || qobject_cast<QComboBox*>(focused) ||
                           qobject_cast<QCheckBox*>(focused);
        if (!field)
            if (QWidget* first = control(1000))
                first->setFocus(Qt::ActiveWindowFocusReason);
    }
}

void CPropertyPanel::accept() {}

void CPropertyPanel::reject() {
    // The view takes the fields into the document and then closes the panel. Asked once:
    // a second request queued behind the first would open a new panel.
    if (closeRequested_)
        return;
    closeRequested_ = true;
    emit closeRequested();
}

void CPropertyPanel::closeEvent(QCloseEvent* event) {
    event->ignore();
    reject();
}

void CPropertyPanel::loadInto(bool foreground, const std::string& cp932Path,
                              const std::function<void()>& beforeDecoding) {
    PanelHost host;
    // A bare file name (the stage's usual "graphic1.JPG") lies beside the stage file, where
    // opening the stage found it; the process's working folder has nothing to do with it.
    QString path = QString::fromStdString(toFileSystemPath(cp932Path));
    if (QDir::isRelativePath(path) && document_ && !document_->filePath().isEmpty())
        path = QFileInfo(document_->filePath()).dir().filePath(path);
    PictureHolder loaded;
    if (loadPicture(path.toStdString(), loaded, host, beforeDecoding))
        emit pictureChosen(foreground, cp932Path, loaded);
    emit displayChanged();
}

void CPropertyPanel::browse(bool foreground) {
    FileChoice choice; // an existing file
    choice.nameFilters = QStringList(tr("JPEGファイル (*.jpeg *.jpg)"));
    choice.defaultSuffix = QStringLiteral("JPEG");
    choice.selection = QStringLiteral("*.jpg");
    choice.qtChooser = false;
    const QString path = Dialogs::current().chooseFile(nullptr, choice);
    if (path.isEmpty())
        return;
    const auto cp932 = displayToCp932(path);
    if (!cp932) {
        showPanelMessage(cp932RefusalMessage(foreground ? fieldLabel(&PropertyValues::graphic1)
                                                        : fieldLabel(&PropertyValues::graphic2),
                                             charactersWithoutCp932(path)));
        return;
    }
    loadInto(foreground, *cp932, [this, foreground, &cp932] {
        (foreground ? graphic1 : graphic2) = *cp932;
        UpdateData(false);
    });
}

void CPropertyPanel::redraw(bool foreground) {
    loadInto(foreground, foreground ? graphic1 : graphic2, {});
}

void CPropertyPanel::newBlockLayout() {
    CNewBlockDlg dialog;
    if (dialog.exec() != QDialog::Accepted)
        return;
    blockWidth = dialog.width;
    blockHeight = dialog.height;
    UpdateData(false);
    // The new layout is applied at once (one step, the grid cleared as every transfer of a new
    // block size clears it), not left for a later, unrelated transfer.
    emit applyRequested();
    emit displayChanged();
}
