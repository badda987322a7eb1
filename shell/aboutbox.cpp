#include "shell/aboutbox.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

#include "panels/dialogunits.h"
#include "shell/icons.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("rkeditor"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    // "ＭＳ Ｐゴシック" 9 point where it exists; the platform's Japanese font otherwise.
    QFont dialogFont(QStringLiteral("ＭＳ Ｐゴシック"), 9);
    dialogFont.setStyleHint(QFont::SansSerif);
    setFont(dialogFont);
    const DialogUnits du(font());

    auto* icon = new QLabel(this);
    icon->setPixmap(aboutBoxIcon());
    icon->setGeometry(du.rect(11, 17, 20, 20));

    auto* name = new QLabel(QStringLiteral("rkedit Version 1.0.0.1"), this);
    name->setGeometry(du.rect(40, 10, 119, 8));
    auto* role = new QLabel(QCoreApplication::translate("AboutBox", "ステージエディタ"), this);
    role->setGeometry(du.rect(40, 25, 119, 8));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(du.rect(137, 7, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    setFixedSize(du.size(194, 69));
}
