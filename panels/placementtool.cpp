#include "panels/placementtool.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "panels/dataexchange.h"
#include "panels/dialogunits.h"
#include "panels/panelpictures.h"

namespace {
// Radio button -> value of the view member it sets.
int referenceValue(int id) {
    switch (id) {
    case 1052:
        return 2; // opaque
    case 1053:
        return 1; // NOTPEN
    case 1054:
        return 0; // hidden
    default:
        return -1;
    }
}

int gridValue(int id) {
    switch (id) {
    case 1055:
        return 2; // lines
    case 1056:
        return 1; // dots
    case 1057:
        return 0; // hidden
    default:
        return -1;
    }
}
} // namespace

CPlacementTool::CPlacementTool() : QDialog(nullptr) {
    setWindowTitle(QStringLiteral("配置ツール"));
    setFont(panelFont());
    build();
}

void CPlacementTool::build() {
    const DialogUnits du(font());
    setFixedSize(du.size(163, 139));
    setMouseTracking(true);
    installEventFilter(this);

    // Every control is a direct child, as on a dialog template; group boxes, labels and
    // pictures let the pointer through to the tool's background.
    const auto through = [](QWidget* w) { w->setAttribute(Qt::WA_TransparentForMouseEvents); };
    const auto group = [&](const QString& title, int x, int y, int w, int h) {
        auto* g = new QGroupBox(title, this);
        g->setGeometry(du.rect(x, y, w, h));
        through(g);
        g->lower();
    };
    QButtonGroup* currentGroup = nullptr;
    const auto radio = [&](int id, const QString& text, int x, int y, int w, bool enabled,
                           bool startsGroup) {
        auto* r = new QRadioButton(text, this);
        r->setObjectName(QStringLiteral("c%1").arg(id));
        r->setGeometry(du.rect(x, y, w, 10));
        r->setEnabled(enabled);
        r->setFocusPolicy(Qt::ClickFocus); // not tab stops
        // Automatic radio buttons: a click checks its button and clears the rest of its group.
        if (startsGroup) {
            currentGroup = new QButtonGroup(this);
            currentGroup->setExclusive(true);
        }
        currentGroup->addButton(r);
        // A choice takes effect when it is made; the pointer's moves over the tool also set
        // the view, but only after the click has been handled.
        connect(r, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                poll();
        });
        if (!enabled)
            r->setToolTip(QStringLiteral("この種類のブロックはまだ配置できません。"));
        return r;
    };

    group(QStringLiteral("ブロック種"), 5, 5, 155, 80);
    radio(1044, QStringLiteral("通常ブロック"), 20, 20, 53, true, true);
    radio(1045, QStringLiteral("２倍耐久ブロック"), 20, 35, 64, false, false);
    radio(1046, QStringLiteral("３倍耐久ブロック"), 20, 50, 64, false, false);
    radio(1047, QStringLiteral("破壊不能ブロック"), 20, 65, 60, false, false);
    radio(1048, QStringLiteral("透過ブロック"), 96, 20, 53, false, false);
    radio(1049, QStringLiteral("アイテムブロック"), 95, 35, 60, false, false);
    radio(1050, QStringLiteral("加速ブロック"), 96, 50, 53, false, false);
    radio(1051, QStringLiteral("グループ"), 96, 65, 42, false, false);
    const QPoint pictures[] = {{10, 35}, {10, 50}, {10, 65}, {85, 20},
                               {85, 35}, {85, 50}, {85, 65}};
    for (int kind = 2; kind <= 8; ++kind) {
        auto* picture = new QLabel(this);
        picture->setObjectName(QStringLiteral("kind%1").arg(kind));
        picture->setPixmap(blockKindPicture(kind));
        picture->setGeometry(
            QRect(du.point(pictures[kind - 2].x(), pictures[kind - 2].y()), QSize(8, 8)));
        through(picture);
    }

    group(QStringLiteral("ブロック参照表示"), 5, 90, 60, 45);
    radio(1052, QStringLiteral("不透明"), 10, 100, 37, true, true);
    radio(1053, QStringLiteral("NOTPEN"), 10, 110, 42, true, false);
    radio(1054, QStringLiteral("非表示"), 10, 120, 37, true, false);
    group(QStringLiteral("グリッド"), 65, 90, 40, 45);
    radio(1055, QStringLiteral("線表示"), 70, 100, 30, true, true);
    radio(1056, QStringLiteral("点表示"), 70, 110, 30, true, false);
    radio(1057, QStringLiteral("非表示"), 70, 120, 30, true, false);

    auto* count = new QLabel(QStringLiteral("ブロック数"), this);
    count->move(du.point(110, 105));
    count->adjustSize();
    through(count);
    auto* measure = new QPushButton(QStringLiteral("計測"), this); // has no action
    measure->setObjectName(QStringLiteral("c1002"));
    measure->setGeometry(du.rect(115, 115, 20, 14));
    measure->setAutoDefault(false);
    auto* result = new QLineEdit(this);
    result->setObjectName(QStringLiteral("c1000"));
    result->setGeometry(du.rect(135, 115, 20, 14));
    result->setReadOnly(true);
}

QRadioButton* CPlacementTool::radio(int id) const {
    return findChild<QRadioButton*>(QStringLiteral("c%1").arg(id), Qt::FindDirectChildrenOnly);
}

QWidget* CPlacementTool::control(int id) const {
    return findChild<QWidget*>(QStringLiteral("c%1").arg(id), Qt::FindDirectChildrenOnly);
}

void CPlacementTool::check(int id) {
    if (QRadioButton* r = radio(id))
        r->setChecked(true);
}

void CPlacementTool::initialise(int blockKind, int referenceDisplay, int gridMode) {
    if (blockKind >= 1 && blockKind <= 8)
        check(1043 + blockKind);
    for (int id = 1052; id <= 1054; ++id)
        if (referenceValue(id) == referenceDisplay)
            check(id);
    for (int id = 1055; id <= 1057; ++id)
        if (gridValue(id) == gridMode)
            check(id);
}

int CPlacementTool::checkedRadio(int first, int last) const {
    for (int id = first; id <= last; ++id)
        if (QRadioButton* r = radio(id); r && r->isChecked())
            return id;
    return 0;
}

void CPlacementTool::poll() {
    const int k = checkedRadio(1044, 1051);
    const int r = checkedRadio(1052, 1054);
    const int g = checkedRadio(1055, 1057);
    emit choicesPolled(k ? k - 1043 : 0, r ? referenceValue(r) : -1, g ? gridValue(g) : -1);
}

bool CPlacementTool::eventFilter(QObject* watched, QEvent* event) {
    if (watched == this && event->type() == QEvent::MouseMove)
        poll();
    return QDialog::eventFilter(watched, event);
}

void CPlacementTool::keyPressEvent(QKeyEvent* event) {
    // Enter ends the tool like Esc does: it is hidden, and its view still holds it.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
