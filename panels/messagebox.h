#pragma once

#include <QString>

class QWidget;

// The editor's caption for its message boxes: the application's title.
QString applicationTitle();

// A modal warning with an OK button and the application's title as caption. Without a
// parent it is centred on the main window (or shown on its own when there is none).
void showMessage(const QString& text, QWidget* parent = nullptr);

// The widget message boxes are centred on when the caller gives none.
QWidget* defaultDialogParent();
void setDefaultDialogParent(QWidget* widget);
