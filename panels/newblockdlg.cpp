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
    setWindowTitle(QStringLiteral("新規ブロックの作成"));
    setFont(panelFont());
    const DialogUnits du(font());
    setFixedSize(du.size(163, 55));

    const auto label = [&](const QString& text, int x, int y) {
        auto* l = new QLabel(text, this);
        l->move(du.point(x, y));
        l->adjustSize();
    };
    label(QStringLiteral("ブロックサイズ"), 10, 5);
    label(QStringLiteral("横"), 40, 20);
    widthEdit_ = new QLineEdit(this);
    widthEdit_->setObjectName(QStringLiteral("c1000"));
    widthEdit_->setGeometry(du.rect(50, 15, 20, 14));
    label(QStringLiteral("×　縦"), 80, 20);
    heightEdit_ = new QLineEdit(this);
    heightEdit_->setObjectName(QStringLiteral("c1001"));
    heightEdit_->setGeometry(du.rect(105, 15, 20, 14));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("c1"));
    ok->setGeometry(du.rect(55, 35, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CNewBlockDlg::accept);
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel->setObjectName(QStringLiteral("c2"));
    cancel->setGeometry(du.rect(110, 35, 50, 14));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &CNewBlockDlg::reject);
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
    showPanelMessage(QStringLiteral("%1 から %2 までの整数を入力してください。")
                         .arg(smallestCell)
                         .arg(largestCell));
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
