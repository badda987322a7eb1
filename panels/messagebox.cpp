#include "panels/messagebox.h"

#include <QPointer>
#include <QWidget>

#include "panels/dialogs.h"

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
    MessageChoice choice;
    choice.text = text;
    Dialogs::current().ask(parent, choice);
}
