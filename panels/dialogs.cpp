#include "panels/dialogs.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "panels/messagebox.h"

namespace {
// The real dialogs: QFileDialog and QMessageBox.
class WidgetDialogs : public Dialogs {
public:
    QMessageBox::StandardButton ask(QWidget* parent, const MessageChoice& choice) override {
        const std::unique_ptr<QMessageBox> box = messageBoxFor(parent, choice);
        if (box->exec() == -1)
            return QMessageBox::Cancel;
        return box->standardButton(box->clickedButton());
    }

protected:
    QString showChooser(QWidget* parent, const FileChoice& choice) override {
        const bool save = choice.mode == FileChoice::Mode::Save;
        QFileDialog dialog(parent, choice.caption);
        if (choice.qtChooser)
            dialog.setOption(QFileDialog::DontUseNativeDialog);
        // Replacing a file is asked about once, by chooseFile(), for every chooser alike.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        // An opened file must exist.
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (!choice.nameFilters.isEmpty())
            dialog.setNameFilters(choice.nameFilters);
        if (!choice.defaultSuffix.isEmpty())
            dialog.setDefaultSuffix(choice.defaultSuffix);
        if (!choice.directory.isEmpty())
            dialog.setDirectory(choice.directory);
        if (!choice.selection.isEmpty())
            dialog.selectFile(choice.selection);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }
};

Dialogs*& replacement() {
    static Dialogs* dialogs = nullptr;
    return dialogs;
}
} // namespace

QString Dialogs::chooseFile(QWidget* parent, const FileChoice& choice) {
    FileChoice again = choice;
    for (;;) {
        const QString path = showChooser(parent, again);
        if (path.isEmpty() || choice.mode != FileChoice::Mode::Save || !QFileInfo::exists(path))
            return path;
        // Qt's own question, in its own words (translated with the rest of Qt).
        MessageChoice question;
        question.text = QCoreApplication::translate(
                            "QFileDialog", "%1 already exists.\nDo you want to replace it?")
                            .arg(QFileInfo(path).fileName());
        question.buttons = QMessageBox::Yes | QMessageBox::No;
        question.defaultButton = QMessageBox::No;
        if (ask(parent, question) == QMessageBox::Yes)
            return path;
        // Back to the chooser, in the folder of the file not replaced.
        again.directory = QFileInfo(path).absolutePath();
        again.selection = QFileInfo(path).fileName();
    }
}

std::unique_ptr<QMessageBox> Dialogs::messageBoxFor(QWidget* parent, const MessageChoice& choice) {
    auto box = std::make_unique<QMessageBox>(
        choice.icon, choice.caption.isEmpty() ? applicationTitle() : choice.caption, choice.text,
        choice.buttons, parent ? parent : defaultDialogParent());
    if (choice.defaultButton != QMessageBox::NoButton)
        box->setDefaultButton(choice.defaultButton);
    if (!choice.details.isEmpty())
        box->setDetailedText(choice.details);
    for (const auto& [button, text] : choice.buttonTexts)
        if (QAbstractButton* shown = box->button(button))
            shown->setText(text);
    return box;
}

Dialogs& Dialogs::current() {
    static WidgetDialogs real;
    return replacement() ? *replacement() : real;
}

Dialogs* Dialogs::replace(Dialogs* dialogs) {
    Dialogs* previous = replacement();
    replacement() = dialogs;
    return previous;
}
