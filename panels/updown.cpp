#include "panels/updown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

#include "panels/dataexchange.h"

CUpDown::CUpDown(QLineEdit* buddy, QWidget* parent) : QWidget(parent), buddy_(buddy) {
    buddy_->installEventFilter(this);
    setFocusPolicy(Qt::NoFocus);
}

void CUpDown::setRange(int lower, int upper) {
    lower_ = lower;
    upper_ = upper;
}

void CUpDown::step(int direction) {
    const int low = std::min(lower_, upper_);
    const int high = std::max(lower_, upper_);
    // The position comes from the buddy's text when that is an integer.
    if (const auto v = readIntegerEntry(buddy_->text()))
        position_ = std::clamp(*v, low, high);
    else
        position_ = std::clamp(position_, low, high);
    const int towardUpper = upper_ >= lower_ ? 1 : -1;
    const int next = std::clamp(position_ + direction * towardUpper, low, high);
    position_ = next;
    const QString text = QString::number(next);
    if (buddy_->text() != text) {
        buddy_->setText(text);
        emit stepped();
    }
}

void CUpDown::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QStyleOption option;
    option.initFrom(this);
    const int half = height() / 2;
    for (int i = 0; i < 2; ++i) {
        option.rect = QRect(0, i * half, width(), i == 0 ? half : height() - half);
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &p, this);
        style()->drawPrimitive(i == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown,
                               &option, &p, this);
    }
}

void CUpDown::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        step(event->position().y() < height() / 2.0 ? 1 : -1);
}

bool CUpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == buddy_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
