#include "panels/newblockdlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "panels/dataexchange.h"
#include "panels/dialogunits.h"

namespace {
constexpr int smallestCell = 8;
constexpr int largestCell = 999;
} // namespace

CNewBlockDlg::CNewBlockDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("新規ブロックの作成"));
    setFont(panelFont());
    const DialogUnits du(font());
    UnitLayout layout(du);

    const auto label = [&](const QString& text, int x, int y) {
        layout.add(new QLabel(text, this), QRect(x, y, 0, 0));
    };
    label(tr("ブロックサイズ"), 10, 5);
    label(tr("横"), 40, 20);
    widthEdit_ = new QLineEdit(this);
    widthEdit_->setObjectName(QStringLiteral("c1000"));
    layout.addNumeric(widthEdit_, QRect(50, 15, 20, 14));
    label(tr("×　縦"), 80, 20);
    heightEdit_ = new QLineEdit(this);
    heightEdit_->setObjectName(QStringLiteral("c1001"));
    layout.addNumeric(heightEdit_, QRect(105, 15, 20, 14));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("c1"));
    layout.add(ok, QRect(55, 35, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CNewBlockDlg::accept);
    auto* cancel = new QPushButton(tr("ｷｬﾝｾﾙ"), this);
    cancel->setObjectName(QStringLiteral("c2"));
    layout.add(cancel, QRect(110, 35, 50, 14));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &CNewBlockDlg::reject);
    setFixedSize(layout.apply(QSize(163, 55)));
}

void CNewBlockDlg::showEvent(QShowEvent* event) {
    widthEdit_->setText(QString::number(width));
    heightEdit_->setText(QString::number(height));
    widthEdit_->setFocus();
    widthEdit_->selectAll();
    QDialog::showEvent(event);
}

bool CNewBlockDlg::takeField(QLineEdit* edit, std::int32_t& value) {
    const auto v = readIntegerEntry(edit->text());
    if (v && *v >= smallestCell && *v <= largestCell) {
        value = *v;
        return true;
    }
    showPanelMessage(
        tr("%1 から %2 までの整数を入力してください。").arg(smallestCell).arg(largestCell));
    edit->setFocus();
    edit->selectAll();
    return false;
}

void CNewBlockDlg::accept() {
    // Both members change only when both fields are good, so a refused OK changes nothing.
    std::int32_t w = width, h = height;
    if (!takeField(widthEdit_, w) || !takeField(heightEdit_, h))
        return;
    width = w;
    height = h;
    QDialog::accept();
}
