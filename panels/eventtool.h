#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSyntaxHighlighter>

#include <string>

class QCompleter;
class QMenuBar;
class StageDocument;

// The script edit of the event tool. It refuses typed, pasted or composed text holding a
// character that CP932 cannot store, with a message naming it, so that the script always
// reaches the document whole.
class ScriptEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

    // The script's keywords: highlighted in the text, and offered in a list as the start of
    // one is typed (two letters or more); the text itself stays exactly as typed.
    void setKeywords(const QStringList& keywords);
    QCompleter* completer() const { return completer_; }
    // Puts `keyword` in at the cursor, in place of the word's typed start when
    // `replacingWordStart`.
    void insertKeyword(const QString& keyword, bool replacingWordStart);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    QString wordBeforeCursor() const;

    QCompleter* completer_ = nullptr;
};

// Shows the script's keywords in colour: conditions (On...) and commands.
class ScriptHighlighter : public QSyntaxHighlighter {
public:
    ScriptHighlighter(const QStringList& keywords, QTextDocument* document);

protected:
    void highlightBlock(const QString& text) override;

private:
    QRegularExpression words_;
    QTextCharFormat condition_, command_;
};

// The modeless event tool "イベントツール": the stage's event script as plain multi-line text,
// with menus of condition and command keywords that insert them at the cursor. Its view copies the
// text into the document when it closes the tool, and saving takes it too. When the document
// replaces its script (an undo, a redo, a reading of the file) the tool shows the new one,
// unless the user has typed in it since.
class CEventTool : public QDialog {
    Q_OBJECT
public:
    // Takes the script of `document` (none: starts empty).
    explicit CEventTool(StageDocument* document);
    ~CEventTool() override;

    // Exchange with the edit: edit -> script when `saveAndValidate`, script -> edit otherwise.
    // The script always has CR LF between its lines, whatever the edit uses. Text the input
    // check lets through always converts; should a character CP932 cannot hold be there all
    // the same (an undecodable byte's replacement mark left in an edited line), the rest of
    // the text is stored without it and a message names it, since the tool may be closing.
    bool UpdateData(bool saveAndValidate = true);
    // The edit's text taken into `script` (UpdateData(true)), which is returned. `quiet`: a
    // character that cannot be stored is left out without a message.
    const std::string& takeScript(bool quiet = false);

    // The event script: CP932 bytes, lines separated by CR LF.
    std::string script;

    QPlainTextEdit* edit() const { return edit_; }

    // Resizable (in a dock): any size down to a few lines, the edit filling what is below
    // the menu; otherwise the tool keeps its one fixed size.
    void setResizable(bool resizable);
    QMenuBar* menu() const { return menu_; }

signals:
    // Esc or the close box: the view is to take the script and close the tool (asked once).
    void closeRequested();

public slots:
    void reject() override; // asks for closing (closeRequested)

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMenu();
    // The document replaced its script; `replaced` is the one before.
    void scriptReplaced(const std::string& replaced);

    StageDocument* document_;
    ScriptEdit* edit_;
    QMenuBar* menu_;
    QString shownScript_; // the script as last shown, to keep its exact bytes when unedited
    bool closeRequested_ = false;
    bool quiet_ = false;
    bool resizable_ = false;
};
