#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <memory>
#include <utility>

class QWidget;

// A file chooser as the editor asks for it.
struct FileChoice {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString caption;   // empty: the chooser's own
    QString directory; // the folder it starts in; empty: the current one
    QString selection; // the name (or pattern) it starts with
    QStringList nameFilters;
    QString defaultSuffix;
    // Qt's own chooser rather than the platform's, so that it behaves the same everywhere.
    bool qtChooser = true;
};

// A message box as the editor asks for it.
struct MessageChoice {
    QString caption; // empty: the application's title
    QMessageBox::Icon icon = QMessageBox::Warning;
    QString text;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    // Texts of their own for some of the buttons ("復元する" on Ok).
    QList<std::pair<QMessageBox::StandardButton, QString>> buttonTexts;
    // More than fits in the text (a long list): shown in the box's scrollable details.
    QString details;
};

// The modal file choosers and message boxes of the editor, all asked through here. The
// program shows them with QFileDialog and QMessageBox; tests put answers of their own in
// place, so that no test waits for a real dialog.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // The chosen file, or an empty text when cancelled. In save mode, choosing a file that
    // exists asks whether to replace it; "No" goes back to the chooser.
    QString chooseFile(QWidget* parent, const FileChoice& choice);
    // The button the user chose (Cancel when the box was closed without one).
    virtual QMessageBox::StandardButton ask(QWidget* parent, const MessageChoice& choice) = 0;

    // The message box `choice` describes, not yet shown; without a parent it is centred on
    // the default dialog parent.
    static std::unique_ptr<QMessageBox> messageBoxFor(QWidget* parent, const MessageChoice& choice);

    // The dialogs in use: the real ones unless others have been put in place.
    static Dialogs& current();
    // Puts `dialogs` in place (null: the real ones again); returns what was in place before
    // (null for the real ones).
    static Dialogs* replace(Dialogs* dialogs);

protected:
    // One showing of the chooser: the chosen file, or an empty text when cancelled.
    virtual QString showChooser(QWidget* parent, const FileChoice& choice) = 0;
};
