#pragma once

#include <QAbstractButton>
#include <functional>

// A push button whose owner draws it entirely: every paint hands the button's whole rectangle
// to the owner's draw function, and the button itself draws no frame, focus mark or pressed
// look.
class OwnerDrawButton : public QAbstractButton {
    Q_OBJECT
public:
    using DrawFunction = std::function<void(QPainter&, const QRect&)>;

    explicit OwnerDrawButton(QWidget* parent = nullptr) : QAbstractButton(parent) {}
    void setDrawFunction(DrawFunction draw) { draw_ = std::move(draw); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    DrawFunction draw_;
};
