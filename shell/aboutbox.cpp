#include "shell/aboutbox.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

#include "panels/dataexchange.h"
#include "panels/dialogunits.h"
#include "shell/icons.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("rkeditor"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(panelFont());
    const DialogUnits du(font());

    // The texts are sized to themselves, and the button moves right of a longer one.
    UnitLayout layout(du);
    auto* icon = new QLabel(this);
    icon->setPixmap(aboutBoxIcon());
    layout.add(icon, QRect(11, 17, 20, 20));

    auto* name = new QLabel(QStringLiteral("rkedit Version 1.0.0.1"), this);
    layout.add(name, QRect(40, 10, 0, 8));
    auto* role = new QLabel(QCoreApplication::translate("AboutBox", "ステージエディタ"), this);
    layout.add(role, QRect(40, 25, 0, 8));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    layout.add(ok, QRect(137, 7, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    setFixedSize(layout.apply(QSize(194, 69)));
}
