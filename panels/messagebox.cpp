#include "panels/messagebox.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

namespace {
QPointer<QWidget>& dialogParent() {
    static QPointer<QWidget> parent;
    return parent;
}
} // namespace

QString applicationTitle() {
    return QStringLiteral("rkedit");
}

QWidget* defaultDialogParent() {
    return dialogParent().data();
}
void setDefaultDialogParent(QWidget* widget) {
    dialogParent() = widget;
}

void showMessage(const QString& text, QWidget* parent) {
    QMessageBox::warning(parent ? parent : defaultDialogParent(), applicationTitle(), text);
}
