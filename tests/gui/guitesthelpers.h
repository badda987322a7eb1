#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <ostream>

// Readable failure messages for Qt texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// Answers the next modal dialog of type T that opens while the test waits in a nested event
// loop (QDialog::exec). The dialog is found by polling; `answer` must close it.
template <class T> class ModalAnswer {
public:
    explicit ModalAnswer(std::function<void(T*)> answer) : answer_(std::move(answer)) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
                timer_.stop();
                ++seen_;
                answer_(dialog);
            }
        });
        timer_.start();
    }
    int seen() const { return seen_; }
    // Answers the next one too.
    void rearm() { timer_.start(); }

private:
    std::function<void(T*)> answer_;
    QTimer timer_;
    int seen_ = 0;
};

// Clicks `button` on the next message box and keeps its text.
struct MessageBoxAnswer {
    explicit MessageBoxAnswer(QMessageBox::StandardButton button)
        : answer([this, button](QMessageBox* box) {
              text = box->text();
              buttons = box->standardButtons();
              for (QAbstractButton* shown : box->buttons())
                  buttonTexts << shown->text();
              box->button(button)->click();
          }) {}
    QString text;
    QMessageBox::StandardButtons buttons;
    QStringList buttonTexts;
    ModalAnswer<QMessageBox> answer;
};

// Runs deferred deletions and posted events (closed windows go here).
inline void settle() {
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Picks `path` in a file chooser and accepts it as its OK button does (the chooser's own
// checks run). The chooser lists folders in a background thread and may move its selection
// when a listing arrives (slowly on a busy machine), and it leaves its name field alone while
// that field has focus: the selection is set until it holds, for up to 5 s, and checked
// right before accepting, with no event in between. Returns what was selected.
inline QStringList selectAndAccept(QFileDialog* dialog, const QString& path,
                                   const QString& expected) {
    for (int i = 0; i < 500; ++i) {
        if (QWidget* focused = dialog->focusWidget())
            focused->clearFocus();
        dialog->selectFile(path);
        QTest::qWait(10);
        if (dialog->selectedFiles() == QStringList(expected))
            break;
    }
    const QStringList selected = dialog->selectedFiles();
    static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept, virtually
    return selected;
}
