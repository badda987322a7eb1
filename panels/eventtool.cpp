#include "panels/eventtool.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QCompleter>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QRegularExpression>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>

#include "document/stagedocument.h"
#include "panels/dataexchange.h"
#include "panels/dialogunits.h"
#include "stage/CRKeditDoc.h"
#include "text/lineends.h"

namespace {
// The tool's name, as messages about its text call the field.
QString scriptField() {
    return QCoreApplication::translate("CEventTool", "イベントツール");
}

// Line breaks of the script as the edit shows them: it works with LF alone.
QString forDisplay(const std::string& cp932) {
    QString text = cp932ToDisplay(cp932);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar('\r'), QChar('\n'));
    return text;
}

// True when `text` can be stored; otherwise says which characters cannot.
bool acceptable(const QString& text) {
    QString checked = text;
    checked.replace(QChar(QChar::ParagraphSeparator), QChar('\n'));
    checked.replace(QChar(QChar::LineSeparator), QChar('\n'));
    if (displayToCp932(checked))
        return true;
    showPanelMessage(cp932RefusalMessage(scriptField(), charactersWithoutCp932(checked)));
    return false;
}
} // namespace

bool ScriptEdit::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // The edit keeps Ctrl+Z / Ctrl+Y while it has typing of its own to undo or redo;
        // after that the keys reach the application and undo the stage's steps.
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->matches(QKeySequence::Undo) && !document()->isUndoAvailable()) ||
            (key->matches(QKeySequence::Redo) && !document()->isRedoAvailable())) {
            event->ignore();
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

void ScriptEdit::setKeywords(const QStringList& keywords) {
    completer_ = new QCompleter(keywords, this);
    completer_->setWidget(this);
    completer_->setCaseSensitivity(Qt::CaseInsensitive);
    completer_->setCompletionMode(QCompleter::PopupCompletion);
    connect(completer_, qOverload<const QString&>(&QCompleter::activated), this,
            [this](const QString& keyword) { insertKeyword(keyword, true); });
    new ScriptHighlighter(keywords, document());
}

QString ScriptEdit::wordBeforeCursor() const {
    QTextCursor cursor = textCursor();
    cursor.movePosition(QTextCursor::StartOfWord, QTextCursor::KeepAnchor);
    return cursor.selectedText();
}

void ScriptEdit::insertKeyword(const QString& keyword, bool replacingWordStart) {
    // One step of the edit's undo; a completion replaces the typed start of the word with
    // the keyword as the list spells it.
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    if (replacingWordStart)
        cursor.movePosition(QTextCursor::StartOfWord, QTextCursor::KeepAnchor);
    cursor.insertText(keyword);
    cursor.endEditBlock();
    setTextCursor(cursor);
}

void ScriptEdit::keyPressEvent(QKeyEvent* event) {
    // While the list of keywords is shown, Enter, Tab and Esc choose or close it.
    if (completer_ && completer_->popup()->isVisible()) {
        switch (event->key()) {
        case Qt::Key_Enter:
        case Qt::Key_Return:
        case Qt::Key_Tab:
        case Qt::Key_Escape:
        case Qt::Key_Backtab:
            event->ignore();
            return;
        default:
            break;
        }
    }
    if (!event->text().isEmpty() && event->text().at(0).isPrint() && !acceptable(event->text()))
        return;
    QPlainTextEdit::keyPressEvent(event);
    if (!completer_)
        return;
    // Two letters of a word offer the keywords that begin with them.
    const QString word = wordBeforeCursor();
    const bool typed = !event->text().isEmpty() && event->text().at(0).isLetter();
    if (!typed || word.size() < 2 || !word.at(0).isLetter()) {
        completer_->popup()->hide();
        return;
    }
    completer_->setCompletionPrefix(word);
    if (completer_->completionCount() == 0 ||
        (completer_->completionCount() == 1 &&
         completer_->currentCompletion().compare(word, Qt::CaseInsensitive) == 0)) {
        completer_->popup()->hide();
        return;
    }
    completer_->popup()->setCurrentIndex(completer_->completionModel()->index(0, 0));
    QRect at = cursorRect();
    at.setWidth(completer_->popup()->sizeHintForColumn(0) +
                completer_->popup()->verticalScrollBar()->sizeHint().width());
    completer_->complete(at);
}

ScriptHighlighter::ScriptHighlighter(const QStringList& keywords, QTextDocument* document)
    : QSyntaxHighlighter(document) {
    QStringList escaped;
    for (const QString& keyword : keywords)
        escaped.append(QRegularExpression::escape(keyword));
    words_ = QRegularExpression(QStringLiteral("\\b(%1)\\b").arg(escaped.join(QLatin1Char('|'))));
    // Conditions (On...) in blue, commands in dark red, both bold; the text is unchanged.
    condition_.setForeground(QColor(0x00, 0x30, 0xA0));
    condition_.setFontWeight(QFont::Bold);
    command_.setForeground(QColor(0x90, 0x10, 0x10));
    command_.setFontWeight(QFont::Bold);
}

void ScriptHighlighter::highlightBlock(const QString& text) {
    for (auto it = words_.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const bool isCondition = match.captured(1).startsWith(QLatin1String("On"));
        setFormat(int(match.capturedStart(1)), int(match.capturedLength(1)),
                  isCondition ? condition_ : command_);
    }
}

void ScriptEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty() && !acceptable(event->commitString())) {
        // Drop the composition as well, so nothing of the refused text stays.
        QInputMethodEvent cleared;
        QPlainTextEdit::inputMethodEvent(&cleared);
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

bool ScriptEdit::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasText();
}

void ScriptEdit::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText() || !acceptable(source->text()))
        return;
    insertPlainText(source->text());
}

CEventTool::CEventTool(StageDocument* document) : QDialog(nullptr), document_(document) {
    if (document_) {
        script = document_->doc().command;
        connect(document_, &StageDocument::scriptReplaced, this, &CEventTool::scriptReplaced);
    }
    setWindowTitle(QCoreApplication::translate("CEventTool", "イベントツール"));
    setFont(panelFont());
    const DialogUnits du(font());

    menu_ = new QMenuBar(this);
    edit_ = new ScriptEdit(this);
    buildMenu();
    const int menuHeight = menu_->sizeHint().height();
    menu_->setGeometry(0, 0, du.x(315), menuHeight);
    edit_->setObjectName(QStringLiteral("c1000"));
    edit_->setLineWrapMode(QPlainTextEdit::NoWrap); // scrolls in both directions
    edit_->setGeometry(QRect(QPoint(0, menuHeight), du.size(315, 200)));
    setFixedSize(du.x(315), std::max(du.y(224), menuHeight + du.y(200)));
    UpdateData(false);
}

CEventTool::~CEventTool() {
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
}

void CEventTool::buildMenu() {
    // A keyword chosen from the menus goes in at the cursor, one step of the edit's undo.
    QStringList keywords;
    const auto add = [this, &keywords](QMenu* menu, const char* keyword, int id) {
        const QString word = QString::fromLatin1(keyword);
        QAction* action = menu->addAction(word);
        action->setData(id);
        keywords.append(word);
        connect(action, &QAction::triggered, this, [this, word] {
            edit_->insertKeyword(word, false);
            edit_->setFocus();
        });
    };
    QMenu* conditions = menu_->addMenu(QCoreApplication::translate("CEventTool", "条件挿入"));
    const std::pair<const char*, int> conditionItems[] = {
        {"OnAmount", 32780}, {"OnClick", 32792},   {"OnEndPreLoad", 32789},
        {"OnFlag", 32788},   {"OnHit", 32787},     {"OnLifeRest", 32786},
        {"OnMiss", 32791},   {"OnPreGame", 32784}, {"OnProbability", 32782},
        {"OnScore", 32785},  {"OnThrow", 32790},   {"OnTimer", 32783},
        {"OnUpside", 32781},
    };
    for (const auto& [keyword, id] : conditionItems)
        add(conditions, keyword, id);
    QMenu* commands = menu_->addMenu(QCoreApplication::translate("CEventTool", "コマンド挿入"));
    const std::pair<const char*, int> commandItems[] = {
        {"blockBe", 32793},   {"drawRect", 32803},   {"flagSet", 32799},   {"gameClear", 32808},
        {"jumpURL", 32798},   {"loadPic", 32794},    {"nextLevel", 32800}, {"picNumber", 32809},
        {"play", 32806},      {"playSound", 32797},  {"preLoad", 32795},   {"putItem", 32796},
        {"removePic", 32810}, {"resetTimer", 32811}, {"scroll", 32801},    {"stop", 32805},
        {"text", 32802},      {"throw", 32807},      {"warp", 32804},
    };
    for (const auto& [keyword, id] : commandItems)
        add(commands, keyword, id);
    QAction* editItem = menu_->addAction(QCoreApplication::translate("CEventTool", "編集"));
    editItem->setData(65535);
    edit_->setKeywords(keywords);
}

bool CEventTool::UpdateData(bool saveAndValidate) {
    if (!saveAndValidate) {
        shownScript_ = forDisplay(script);
        edit_->setPlainText(shownScript_);
        return true;
    }
    const QString text = edit_->toPlainText();
    if (text == shownScript_)
        return true; // unedited: the exact bytes stay, even undecodable ones
    shownScript_ = text;
    if (const auto bytes = displayToCp932(text)) {
        script = withCrLfLineEnds(*bytes);
        return true;
    }
    const QString dropped = charactersWithoutCp932(text);
    QString kept;
    for (const char32_t c : text.toUcs4())
        if (const QString one = QString::fromUcs4(&c, 1); !dropped.contains(one))
            kept += one;
    script = withCrLfLineEnds(displayToCp932(kept).value_or(std::string()));
    if (!quiet_)
        showPanelMessage(QCoreApplication::translate(
                             "CEventTool",
                             "「%1」の文字「%2」は Shift-JIS (CP932) で保存できないため、"
                             "除いて保存しました。")
                             .arg(scriptField(), dropped));
    return false;
}

const std::string& CEventTool::takeScript(bool quiet) {
    quiet_ = quiet;
    UpdateData(true);
    quiet_ = false;
    return script;
}

void CEventTool::scriptReplaced(const std::string& replaced) {
    UpdateData(true);
    if (script == replaced && replaced != document_->doc().command) {
        script = document_->doc().command;
        UpdateData(false);
    }
}

void CEventTool::setResizable(bool resizable) {
    const DialogUnits du(font());
    const int menuHeight = menu_->sizeHint().height();
    const QSize fixed(du.x(315), std::max(du.y(224), menuHeight + du.y(200)));
    resizable_ = resizable;
    if (!resizable) {
        setFixedSize(fixed);
        return;
    }
    setMinimumSize(du.x(120), menuHeight + du.y(30));
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(fixed.width(), menuHeight + du.y(80));
}

void CEventTool::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (!resizable_)
        return;
    const int menuHeight = menu_->sizeHint().height();
    menu_->setGeometry(0, 0, width(), menuHeight);
    edit_->setGeometry(0, menuHeight, width(), std::max(0, height() - menuHeight));
}

void CEventTool::reject() {
    // Asked once: a second request queued behind the first would open a new tool.
    if (closeRequested_)
        return;
    closeRequested_ = true;
    emit closeRequested();
}

void CEventTool::closeEvent(QCloseEvent* event) {
    event->ignore();
    reject();
}
