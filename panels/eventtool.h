#pragma once

#include <QDialog>
#include <QPlainTextEdit>

#include <string>

class CRKeditView;
class QMenuBar;

// The script edit of the event tool. It refuses typed, pasted or composed text holding a
// character that CP932 cannot store, with a message naming it, so that the script always
// reaches the document whole.
class ScriptEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
};

// The modeless event tool "イベントツール": the stage's event script as plain multi-line text,
// with menus of condition and command keywords (which insert nothing). Its view copies the
// text into the document when it closes the tool, and saving takes it too.
class CEventTool : public QDialog {
    Q_OBJECT
public:
    // Takes the script of the view's document.
    explicit CEventTool(CRKeditView* view);
    ~CEventTool() override;

    // Exchange with the edit: edit -> script when `saveAndValidate`, script -> edit otherwise.
    // The script always has CR LF between its lines, whatever the edit uses. Text the input
    // check lets through always converts; should a character CP932 cannot hold be there all
    // the same (an undecodable byte's replacement mark left in an edited line), the rest of
    // the text is stored without it and a message names it, since the tool may be closing.
    bool UpdateData(bool saveAndValidate = true);

    // The event script: CP932 bytes, lines separated by CR LF.
    std::string script;

    QPlainTextEdit* edit() const { return edit_; }
    QMenuBar* menu() const { return menu_; }

public slots:
    void reject() override; // Esc or the close box: the view takes the script and closes it

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();

    CRKeditView* view_;
    ScriptEdit* edit_;
    QMenuBar* menu_;
    QString shownScript_; // the script as last shown, to keep its exact bytes when unedited
    bool closeRequested_ = false;
};
