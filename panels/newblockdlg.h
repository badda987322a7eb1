#pragma once

#include <QDialog>

#include <cstdint>

class QLineEdit;

// The modal "新規ブロックの作成" dialog: the cell size of a new block layout, each side 8..999.
// It always opens with 15 x 12.
class CNewBlockDlg : public QDialog {
    Q_OBJECT
public:
    explicit CNewBlockDlg(QWidget* parent = nullptr);

    std::int32_t width = 15;
    std::int32_t height = 12;

    QLineEdit* widthEdit() const { return widthEdit_; }
    QLineEdit* heightEdit() const { return heightEdit_; }

    // OK: takes both fields, width first; a field that is not an integer in 8..999 gets a
    // message naming the bounds and the focus, and the dialog stays open.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool takeField(QLineEdit* edit, std::int32_t& value);

    QLineEdit* widthEdit_;
    QLineEdit* heightEdit_;
};
