#pragma once

#include <QWidget>

class QLineEdit;

// An up-down control attached to an edit (its buddy): the arrows, and the Up and Down keys
// in the edit, step the integer the edit shows within the control's range and write the new
// position back into the edit as a plain integer. The range runs from `lower` to `upper`;
// the up arrow moves toward `upper`, so a range set the other way round runs backwards.
class CUpDown : public QWidget {
    Q_OBJECT
public:
    CUpDown(QLineEdit* buddy, QWidget* parent);

    // A fresh control runs from 100 down to 0, so its up arrow decreases the value.
    void setRange(int lower, int upper);
    int lower() const { return lower_; }
    int upper() const { return upper_; }
    QLineEdit* buddy() const { return buddy_; }

    // One step up (+1) or down (-1), as a click on an arrow does.
    void step(int direction);

signals:
    // The position was written into the buddy.
    void stepped();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* buddy_;
    int lower_ = 100;
    int upper_ = 0;
    int position_ = 0;
};
