#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <list>
#include <memory>
#include <ostream>
#include <utility>

#include "panels/dialogs.h"

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

// Scripted answers to the file choosers and message boxes the editor asks through its
// Dialogs: each answer is armed when made and answers the next request of its kind once
// (rearm() for one more); the earliest armed answer goes first. A request nobody answers
// fails the test and is cancelled, so no test ever waits for a real dialog.
class ScriptedDialogs : public Dialogs {
public:
    using FileAnswerer = std::function<QString(const FileChoice&)>;
    using MessageAnswerer = std::function<QMessageBox::StandardButton(const MessageChoice&)>;
    struct Armed {
        std::function<void()> seen; // counts the answer
        FileAnswerer file;
        MessageAnswerer message;
    };

    static ScriptedDialogs& instance() {
        static ScriptedDialogs dialogs;
        return dialogs;
    }
    void arm(const void* owner, Armed armed) { armed_.push_back({owner, std::move(armed)}); }
    void disarm(const void* owner) {
        std::erase_if(armed_, [owner](const auto& entry) { return entry.first == owner; });
    }

    QMessageBox::StandardButton ask(QWidget*, const MessageChoice& choice) override {
        for (auto it = armed_.begin(); it != armed_.end(); ++it) {
            if (!it->second.message)
                continue;
            Armed armed = std::move(it->second);
            armed_.erase(it);
            armed.seen();
            return armed.message(choice);
        }
        ADD_FAILURE() << "unanswered message box: " << choice.text.toStdString();
        return QMessageBox::Cancel;
    }

protected:
    QString showChooser(QWidget*, const FileChoice& choice) override {
        for (auto it = armed_.begin(); it != armed_.end(); ++it) {
            if (!it->second.file)
                continue;
            Armed armed = std::move(it->second);
            armed_.erase(it);
            armed.seen();
            return armed.file(choice);
        }
        ADD_FAILURE() << "unanswered file chooser: " << choice.caption.toStdString();
        return {};
    }

private:
    std::list<std::pair<const void*, Armed>> armed_;
};

// Answers the next file chooser with what `answer` returns (the chosen path; empty cancels).
class FileAnswer {
public:
    explicit FileAnswer(ScriptedDialogs::FileAnswerer answer) : answer_(std::move(answer)) {
        rearm();
    }
    ~FileAnswer() { ScriptedDialogs::instance().disarm(this); }
    FileAnswer(const FileAnswer&) = delete;
    FileAnswer& operator=(const FileAnswer&) = delete;
    int seen() const { return seen_; }
    void rearm() {
        ScriptedDialogs::instance().arm(this, {[this] { ++seen_; }, answer_, {}});
    }

private:
    ScriptedDialogs::FileAnswerer answer_;
    int seen_ = 0;
};

// Answers the next message box with the button `answer` returns.
class MessageAnswer {
public:
    explicit MessageAnswer(ScriptedDialogs::MessageAnswerer answer) : answer_(std::move(answer)) {
        rearm();
    }
    ~MessageAnswer() { ScriptedDialogs::instance().disarm(this); }
    MessageAnswer(const MessageAnswer&) = delete;
    MessageAnswer& operator=(const MessageAnswer&) = delete;
    int seen() const { return seen_; }
    void rearm() {
        ScriptedDialogs::instance().arm(this, {[this] { ++seen_; }, {}, answer_});
    }

private:
    ScriptedDialogs::MessageAnswerer answer_;
    int seen_ = 0;
};

// Chooses `button` on the next message box and keeps what the box shows.
struct MessageBoxAnswer {
    explicit MessageBoxAnswer(QMessageBox::StandardButton button)
        : answer([this, button](const MessageChoice& choice) {
              text = choice.text;
              buttons = choice.buttons;
              buttonTexts.clear();
              // The buttons' texts as the box would show them (translated, or its own).
              const auto box = Dialogs::messageBoxFor(nullptr, choice);
              for (QAbstractButton* shown : box->buttons())
                  buttonTexts << shown->text();
              return button;
          }) {}
    QString text;
    QMessageBox::StandardButtons buttons;
    QStringList buttonTexts;
    MessageAnswer answer;
};

// Runs deferred deletions and posted events (closed windows go here).
inline void settle() {
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// Writes `bytes` as the whole of the file at `path`; a failure fails the test.
inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size()) << path.toStdString();
}

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
