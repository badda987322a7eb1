#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <map>
#include <memory>

class PlayFolder;
class QWidget;
class StageDocument;

// Test play ("テストプレイ", F5): the stage as it is in the editor — unsaved edits and the
// open panels' values included — played by Ruffle in the default browser. Each document gets
// its own fresh temporary folder (PlayFolder) served on 127.0.0.1 (PlayServer) from its first
// test play until it closes or the editor ends; every test play writes the stage into that
// folder again, so a reload in the browser shows the latest edits. Nothing is written outside
// that folder; only the movie chosen is kept in the program's settings. The folder and each
// request answered are logged on stderr, with the time from the command to its first request.
class TestPlay : public QObject {
    Q_OBJECT
public:
    // The settings key of the movie chosen when none lies beside the stage file.
    static constexpr const char* movieSettingsKey = "TestPlay/Movie";

    explicit TestPlay(QObject* parent = nullptr);
    ~TestPlay() override;

    // Plays `document`: takes the panels' pending edits, finds Ruffle and the movie (rk.swf
    // beside the stage file, else the one chosen before, else asks for one), writes the folder
    // and opens the page in the browser. What stops it is said in a message box. True when
    // the page was handed to the browser.
    bool play(StageDocument* document, QWidget* parent);

    // The folder and the page's address of `document`'s test play; empty before its first.
    QString folderOf(const StageDocument* document) const;
    QUrl pageOf(const StageDocument* document) const;

signals:
    // The first request the server answered after a test play, `elapsedMs` after play() began.
    void firstRequestAnswered(qint64 elapsedMs, const QByteArray& target);

private:
    struct Session;
    // The movie to play with `document`; empty when there is none (after saying why) or the
    // user cancelled the choice.
    QString movieFor(const StageDocument* document, QWidget* parent);
    // The page's address in the status bar of `parent`'s main window.
    static void showAddress(const QUrl& page, QWidget* parent);
    // The browser could not show `page`: the address in the status bar and in a box that
    // says why and can copy it.
    static void showBrowserProblem(const QUrl& page, const QString& reason, QWidget* parent);

    QPointer<QWidget> parent_; // where the last test play was asked from

    std::map<const StageDocument*, std::unique_ptr<Session>> sessions_;
};
