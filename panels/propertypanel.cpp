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
#include <QScrollBar>

#include "document/stagedocument.h"
#include "host/host.h"
#include "panels/dataexchange.h"
#include "panels/dialogs.h"
#include "panels/dialogunits.h"
#include "panels/newblockdlg.h"
#include "panels/updown.h"
#include "picture/pictureloader.h"
#include "text/stagepath.h"

namespace {
// What the picture loader needs from its surroundings here: its message.
class PanelHost : public Host {
public:
    void messageBox(const std::string& text) override {
        showPanelMessage(QString::fromStdString(text));
    }
};

// Ranges the first mouse movement over the panel gives its up-down controls, in this order.
constexpr struct {
    int id, lower, upper;
} firstMoveRanges[] = {
    {1021, 0, 9999}, {1037, 1, 99},   {1038, 1, 99},   {1039, 1, 99},   {1036, 1, 17},
    {1040, 1, 17},   {1018, 1, 9999}, {1019, 1, 9999}, {1041, 1, 9999}, {1042, 1, 9999},
    {1043, 1, 9999}, {1020, 1, 99},   {1045, 1, 9},
};

// Ranges the up-down controls get on opening, in this order.
constexpr struct {
    int id, lower, upper;
} openingRanges[] = {
    {1021, 0, 9999}, {1037, 0, 999}, {1038, 0, 99},  {1039, 0, 99},  {1036, 1, 18},  {1040, 1, 18},
    {1018, 0, 9999}, {1019, 0, 999}, {1041, 0, 999}, {1042, 0, 999}, {1043, 0, 999}, {1020, 0, 99},
};

constexpr int scrollMaximum = 100;
constexpr int scrolledExtent = 475;
} // namespace

CPropertyPanel::CPropertyPanel(StageDocument* document) : QDialog(nullptr), document_(document) {
    setWindowTitle(QStringLiteral("プロパティ"));
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
    surface_ = new QWidget(this);
    surface_->setObjectName(QStringLiteral("surface"));
    surface_->setMouseTracking(true);
    surface_->installEventFilter(this);
    surface_->setGeometry(QRect(QPoint(0, 0), du.size(146, 473)));
    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setRange(0, scrollMaximum);
    scrollBar_->setSingleStep(1);
    scrollBar_->setPageStep(10);
    scrollBar_->setTracking(false); // the position moves when the thumb is let go
    scrollBar_->setGeometry(surface_->width(), 0, scrollBar_->sizeHint().width(),
                            surface_->height());
    connect(scrollBar_, &QScrollBar::valueChanged, this, &CPropertyPanel::scrollTo);
    setFixedSize(surface_->width() + scrollBar_->width(), surface_->height());

    QWidget* s = surface_;
    // Labels, group captions and separators let the pointer through to the background.
    const auto label = [&](const QString& text, int x, int y) {
        auto* l = new QLabel(text, s);
        l->move(du.point(x, y));
        l->adjustSize();
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
    };
    const auto separator = [&](int y) {
        auto* line = new QFrame(s);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        line->setGeometry(du.rect(5, y, 130, 5));
        line->setAttribute(Qt::WA_TransparentForMouseEvents);
    };
    const auto edit = [&](int id, int x, int y, int w, bool readOnly = false) {
        auto* e = new QLineEdit(s);
        e->setObjectName(QStringLiteral("c%1").arg(id));
        e->setGeometry(du.rect(x, y, w, 14));
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
        u->setGeometry(du.rect(x, y, w, h));
        connect(u, &CUpDown::stepped, this, &CPropertyPanel::commitFields);
        upDowns_[id] = u;
        controls_[id] = u;
    };
    const auto button = [&](int id, const QString& text, int x, int y, int w) {
        auto* b = new QPushButton(text, s);
        b->setObjectName(QStringLiteral("c%1").arg(id));
        b->setGeometry(du.rect(x, y, w, 14));
        b->setAutoDefault(false); // Enter does nothing in this panel
        controls_[id] = b;
        return b;
    };
    const auto check = [&](int id, const QString& text, int x, int y, int w) {
        auto* c = new QCheckBox(text, s);
        c->setObjectName(QStringLiteral("c%1").arg(id));
        c->setGeometry(du.rect(x, y, w, 10));
        connect(c, &QCheckBox::clicked, this, &CPropertyPanel::commitFields);
        controls_[id] = c;
    };
    const auto combo = [&](int id, const QStringList& items, int x, int y, const QString& field) {
        auto* c = new QComboBox(s);
        c->setObjectName(QStringLiteral("c%1").arg(id));
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->addItems(items);
        c->setGeometry(du.rect(x, y, 33, 14));
        c->setValidator(new Cp932Validator(field, c));
        connect(c, &QComboBox::activated, this, &CPropertyPanel::commitFields);
        connect(c->lineEdit(), &QLineEdit::editingFinished, this, &CPropertyPanel::commitFields);
        controls_[id] = c;
    };

    connect(button(1057, QStringLiteral("再描画"), 75, 0, 40), &QPushButton::clicked, this,
            [this] { redraw(true); });
    label(QStringLiteral("前景ファイル"), 5, 5);
    edit(1000, 5, 15, 110)->setValidator(new Cp932Validator(QStringLiteral("前景ファイル"), this));
    connect(button(1033, QString(), 120, 15, 10), &QPushButton::clicked, this,
            [this] { browse(true); });
    connect(button(1058, QStringLiteral("再描画"), 75, 30, 40), &QPushButton::clicked, this,
            [this] { redraw(false); });
    label(QStringLiteral("背景ファイル"), 5, 35);
    edit(1001, 5, 45, 110)->setValidator(new Cp932Validator(QStringLiteral("背景ファイル"), this));
    connect(button(1034, QString(), 120, 45, 10), &QPushButton::clicked, this,
            [this] { browse(false); });

    label(QStringLiteral("画像サイズ"), 5, 65);
    edit(1031, 50, 65, 15, true);
    label(QStringLiteral("×"), 70, 65);
    edit(1032, 80, 65, 15, true);
    label(QStringLiteral("pixel"), 100, 65);
    label(QStringLiteral("実行時サイズ"), 5, 80);
    edit(1024, 50, 80, 15, true);
    label(QStringLiteral("×"), 70, 80);
    edit(1025, 80, 80, 15, true);
    label(QStringLiteral("pixel"), 100, 80);
    separator(95);

    label(QStringLiteral("▼ブロック設定"), 5, 105);
    connect(button(1002, QStringLiteral("新規作成"), 75, 105, 40), &QPushButton::clicked, this,
            &CPropertyPanel::newBlockLayout);
    label(QStringLiteral("横サイズ"), 5, 125);
    edit(1022, 35, 121, 15, true);
    label(QStringLiteral("縦サイズ"), 60, 125);
    edit(1023, 95, 121, 15, true);
    label(QStringLiteral("パドル領域高"), 5, 145);
    upDown(1021, edit(1003, 55, 141, 40), 95, 141, 6, 15);
    separator(160);

    label(QStringLiteral("▼ボール設定"), 5, 170);
    label(QStringLiteral("直径"), 5, 185);
    upDown(1037, edit(1026, 35, 180, 15), 50, 180, 10, 14);
    label(QStringLiteral("スピード"), 65, 185);
    upDown(1038, edit(1027, 110, 180, 15), 125, 180, 10, 14);
    label(QStringLiteral("衝突判定精度"), 65, 200);
    upDown(1039, edit(1028, 110, 195, 15), 125, 195, 10, 14);
    label(QStringLiteral("最小角度"), 5, 218);
    upDown(1036, edit(1005, 35, 212, 15), 50, 212, 9, 14);
    label(QStringLiteral("×10°"), 60, 218);
    label(QStringLiteral("最大角度"), 5, 233);
    upDown(1040, edit(1006, 35, 228, 15), 50, 228, 9, 14);
    label(QStringLiteral("×10°"), 60, 232);
    separator(245);

    label(QStringLiteral("▼パドル設定"), 5, 255);
    label(QStringLiteral("幅"), 5, 270);
    upDown(1018, edit(1007, 20, 265, 20), 40, 265, 10, 15);
    label(QStringLiteral("エッジ幅"), 75, 270);
    upDown(1041, edit(1010, 105, 265, 20), 125, 265, 9, 14);
    label(QStringLiteral("厚さ"), 5, 290);
    upDown(1019, edit(1008, 20, 285, 20), 40, 285, 6, 15);
    label(QStringLiteral("スマッシュヒット幅"), 50, 290);
    upDown(1042, edit(1009, 105, 285, 20), 125, 285, 10, 14);
    label(QStringLiteral("キーボード使用時移動速度"), 10, 310);
    upDown(1043, edit(1011, 95, 305, 20), 115, 305, 9, 14);
    separator(325);

    label(QStringLiteral("プレイヤー機数"), 5, 340);
    upDown(1020, edit(1012, 60, 335, 15), 75, 335, 6, 15);
    label(QStringLiteral("▼デフォルトオプション設定"), 5, 355);
    const QString rates[] = {QStringLiteral(" 25%"), QStringLiteral(" 50%"), QStringLiteral("100%"),
                             QStringLiteral("150%"), QStringLiteral("200%")};
    QStringList ballRates(std::begin(rates), std::end(rates));
    QStringList barRates = ballRates;
    barRates << QStringLiteral("AUTO"); // the sorted list shows it last
    label(QStringLiteral("ボール速度ユーザ設定"), 10, 370);
    combo(1061, ballRates, 85, 365, QStringLiteral("ボール速度ユーザ設定"));
    label(QStringLiteral("パドル速度ユーザ設定"), 10, 385);
    combo(1062, barRates, 85, 380, QStringLiteral("パドル速度ユーザ設定"));
    check(1013, QStringLiteral("キーボード操作"), 5, 400, 61);
    check(1029, QStringLiteral("逆方向反射"), 70, 400, 50);
    check(1014, QStringLiteral("ブロック表示"), 5, 415, 53);
    check(1035, QStringLiteral("タイマー表示"), 70, 415, 54);
    check(1015, QStringLiteral("サウンド"), 5, 430, 39);
    check(1030, QStringLiteral("ランキング機能"), 70, 430, 60);
    check(1016, QStringLiteral("ヒットエフェクト"), 5, 445, 58);
    label(QStringLiteral("ブロックマスク"), 70, 445);
    upDown(1045, edit(1044, 115, 445, 10), 125, 445, 9, 15);
    check(1017, QStringLiteral("衝突判定軽量化"), 5, 460, 64);

    // Tab order follows the template; the read-only size fields are not tab stops.
    QWidget* previous = nullptr;
    for (int id : {1000, 1001, 1003, 1026, 1027, 1028, 1005, 1006, 1007, 1010, 1008, 1009, 1011,
                   1012, 1061, 1062, 1013, 1029, 1014, 1035, 1015, 1030, 1016, 1044, 1017}) {
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
    const std::pair<int, std::int32_t> fields[] = {
        {1031, graphicWidth}, {1032, graphicHeight}, {1024, runtimeWidth}, {1025, runtimeHeight}};
    for (const auto& [id, value] : fields)
        if (const QString text = QString::number(value); control<QLineEdit>(id)->text() != text)
            control<QLineEdit>(id)->setText(text);
}

void CPropertyPanel::setBrowseImage(const QPixmap& image) {
    browseImage_ = image;
    for (int id : {1033, 1034}) {
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
    dx.check(c(1013), keyboardMode);
    dx.check(c(1015), soundMode);
    dx.check(c(1014), blockMode);
    dx.check(c(1016), effectMode);
    dx.check(c(1017), liteMode);
    dx.integer(e(1032), graphicHeight, QStringLiteral("画像サイズ"));
    dx.integer(e(1031), graphicWidth, QStringLiteral("画像サイズ"));
    dx.integer(e(1003), barSpace, QStringLiteral("パドル領域高"));
    dx.integer(e(1005), minRadian, QStringLiteral("最小角度"));
    dx.integer(e(1006), maxRadian, QStringLiteral("最大角度"));
    dx.integer(e(1026), ballSize, QStringLiteral("直径"));
    dx.integer(e(1027), baseSpeed, QStringLiteral("スピード"));
    dx.integer(e(1028), precision, QStringLiteral("衝突判定精度"));
    dx.integer(e(1007), barWidth, QStringLiteral("幅"));
    dx.integer(e(1008), barHeight, QStringLiteral("厚さ"));
    dx.integer(e(1010), edgeWidth, QStringLiteral("エッジ幅"));
    dx.integer(e(1011), xSpeed, QStringLiteral("キーボード使用時移動速度"));
    dx.integer(e(1012), life, QStringLiteral("プレイヤー機数"));
    dx.integer(e(1022), blockWidth, QStringLiteral("横サイズ"));
    dx.integer(e(1023), blockHeight, QStringLiteral("縦サイズ"));
    dx.integer(e(1024), runtimeWidth, QStringLiteral("実行時サイズ"));
    dx.integer(e(1025), runtimeHeight, QStringLiteral("実行時サイズ"));
    dx.text(e(1000), graphic1, QStringLiteral("前景ファイル"));
    dx.text(e(1001), graphic2, QStringLiteral("背景ファイル"));
    dx.integer(e(1009), criticalWidth, QStringLiteral("スマッシュヒット幅"));
    dx.comboText(control<QComboBox>(1061), ballSpeedRate, QStringLiteral("ボール速度ユーザ設定"));
    dx.comboText(control<QComboBox>(1062), barSpeedRate, QStringLiteral("パドル速度ユーザ設定"));
    dx.check(c(1029), edgeBack);
    dx.check(c(1035), timerVisible);
    dx.check(c(1030), rankingEnable);
    dx.integer(e(1044), blockMask, QStringLiteral("ブロックマスク"));
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
        control<QLineEdit>(1025)->setText(QString::number(runtimeHeight));
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
    scrollExtent = scrolledExtent;
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
    choice.nameFilters = QStringList(QStringLiteral("JPEGファイル (*.jpeg *.jpg)"));
    choice.defaultSuffix = QStringLiteral("JPEG");
    choice.selection = QStringLiteral("*.jpg");
    choice.qtChooser = false;
    const QString path = Dialogs::current().chooseFile(nullptr, choice);
    if (path.isEmpty())
        return;
    const auto cp932 = displayToCp932(path);
    if (!cp932) {
        showPanelMessage(cp932RefusalMessage(foreground ? QStringLiteral("前景ファイル")
                                                        : QStringLiteral("背景ファイル"),
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
