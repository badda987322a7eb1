#include "shell/editcommands.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSet>
#include <QTextEdit>
#include <QWindow>

#include "document/stagedocument.h"
#include "shell/commandids.h"
#include "shell/documentmanager.h"
#include "shell/mainframe.h"
#include "shell/menuresources.h"
#include "view/CRKeditView.h"
#include "view/cellclipboard.h"

namespace {
// "元に戻す(&U)\tCtrl+Z" with the step's name before the tab: "元に戻す(&U) 直径の変更\tCtrl+Z".
QString labelWith(int id, const QString& step) {
    const QString label = menuLabel(id);
    if (step.isEmpty())
        return label;
    QString escaped = step;
    escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
    const qsizetype tab = label.indexOf(QLatin1Char('\t'));
    return tab < 0 ? label + QLatin1Char(' ') + escaped
                   : label.left(tab) + QLatin1Char(' ') + escaped + label.mid(tab);
}
// The text field that has the keyboard, if one has it: the edit commands are its own then
// (their keys are the application's, so they reach the command before the field).
QWidget* focusedTextField() {
    QWidget* w = QApplication::focusWidget();
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
        qobject_cast<QTextEdit*>(w))
        return w;
    if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->isEditable())
        return combo->lineEdit();
    if (qobject_cast<QAbstractSpinBox*>(w))
        return w->findChild<QLineEdit*>();
    return nullptr;
}

// Hands an edit command to the focused text field: true when there was one.
bool handToTextField(const char* slot) {
    QWidget* field = focusedTextField();
    if (!field)
        return false;
    if (qstrcmp(slot, "delete") == 0) {
        // Sent straight to the field: no shortcut sees it.
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier);
        QCoreApplication::sendEvent(field, &press);
        QCoreApplication::sendEvent(field, &release);
    } else {
        QMetaObject::invokeMethod(field, slot);
    }
    return true;
}

bool readClipboardHasCells() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data &&
           (data->hasFormat(QString::fromLatin1(CellClipboard::mimeType)) || data->hasText());
}
} // namespace

bool EditCommands::clipboardHasCells() {
    // Read once per change of the clipboard, not each time the commands' states are shown:
    // on X11 every read asks the display server (and the clipboard's owner) and waits.
    if (!clipboardHasCells_)
        clipboardHasCells_ = readClipboardHasCells();
    return *clipboardHasCells_;
}

EditCommands::EditCommands(CMainFrame* frame, DocumentManager* documents)
    : QObject(frame), frame_(frame), documents_(documents) {
    CommandTable& commands = frame_->commands();
    commands.define(
        ID_EDIT_UNDO, [this] { undo(); },
        [this] {
            StageDocument* document = documents_->commandDocument();
            return document != nullptr && document->undoStack()->canUndo();
        });
    commands.define(
        ID_EDIT_REDO, [this] { redo(); },
        [this] {
            StageDocument* document = documents_->commandDocument();
            return document != nullptr && document->undoStack()->canRedo();
        });
    addCellCommands();
    connect(frame_->mdiArea(), &QMdiArea::subWindowActivated, this, &EditCommands::refresh);
    // Which of them can act follows the keyboard (a text field or not) and the clipboard.
    connect(qApp, &QApplication::focusChanged, this, [this] { frame_->updateFrame(); });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
        clipboardHasCells_.reset();
        frame_->updateFrame();
    });
    // A tool panel's keys undo its own view's stage: the texts follow the active window.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &EditCommands::refresh,
            Qt::QueuedConnection);
    connect(documents_, &DocumentManager::documentsChanged, this, [this] {
        for (StageDocument* document : documents_->documents())
            follow(document);
        refresh();
    });
    for (StageDocument* document : documents_->documents())
        follow(document);
    refresh();
}

void EditCommands::addCellCommands() {
    const auto view = [this] { return documents_->commandView(); };
    const auto selected = [view] {
        CRKeditView* v = view();
        return v && v->selectedCells().has_value();
    };
    // A command on the cells of the view, or on the text of the focused field.
    const auto both = [this](int id, const char* slot, auto onCells, auto canOnCells) {
        frame_->commands().define(
            id,
            [slot, onCells] {
                if (!handToTextField(slot))
                    onCells();
            },
            [canOnCells] { return focusedTextField() != nullptr || canOnCells(); });
    };
    both(
        ID_EDIT_COPY, "copy", [view] { view()->copySelection(); }, selected);
    both(
        ID_EDIT_CUT, "cut", [view] { view()->cutSelection(); }, selected);
    both(
        ID_EDIT_CLEAR, "delete", [view] { view()->deleteSelection(); }, selected);
    both(
        ID_EDIT_PASTE, "paste", [view] { view()->paste(false); },
        [this, view] { return view() && clipboardHasCells(); });
    both(
        ID_EDIT_SELECT_ALL, "selectAll", [view] { view()->selectAll(); },
        [view] { return view() != nullptr; });
    const auto onView = [this, view](int id, auto action, auto can) {
        frame_->commands().define(
            id,
            [view, action] {
                if (CRKeditView* v = view())
                    action(v);
            },
            can);
    };
    onView(
        ID_EDIT_PASTE_IN_PLACE, [](CRKeditView* v) { v->paste(true); },
        [this, view] { return view() && clipboardHasCells() && !focusedTextField(); });
    onView(
        ID_EDIT_DESELECT, [](CRKeditView* v) { v->setSelection(std::nullopt); }, selected);
    using T = CRKeditView::Transform;
    const std::pair<int, T> transforms[] = {
        {ID_TRANSFORM_FLIP_H, T::FlipHorizontal},  {ID_TRANSFORM_FLIP_V, T::FlipVertical},
        {ID_TRANSFORM_ROTATE_180, T::Rotate180},   {ID_TRANSFORM_SHIFT_LEFT, T::ShiftLeft},
        {ID_TRANSFORM_SHIFT_RIGHT, T::ShiftRight}, {ID_TRANSFORM_SHIFT_UP, T::ShiftUp},
        {ID_TRANSFORM_SHIFT_DOWN, T::ShiftDown}};
    for (const auto& [id, how] : transforms)
        onView(
            id, [how = how](CRKeditView* v) { v->transform(how); },
            [view] { return view() != nullptr; });
    // The check item is every view's: pasted empty cells are written too.
    if (QAction* emptyCells = frame_->action(ID_EDIT_PASTE_EMPTY)) {
        emptyCells->setChecked(CRKeditView::pasteEmptyCells);
        frame_->commands().define(ID_EDIT_PASTE_EMPTY, [emptyCells] {
            CRKeditView::pasteEmptyCells = emptyCells->isChecked();
        });
    }
    connect(documents_, &DocumentManager::viewCreated, this, [this](CRKeditView* created) {
        connect(created, &CRKeditView::selectionChanged, this, [this] { frame_->updateFrame(); });
    });
}

void EditCommands::follow(StageDocument* document) {
    if (document->property("editCommandsFollow").toBool())
        return;
    document->setProperty("editCommandsFollow", true);
    connect(document->undoStack(), &QUndoStack::indexChanged, this, &EditCommands::refresh);
    connect(document->undoStack(), &QUndoStack::cleanChanged, this, &EditCommands::refresh);
}

void EditCommands::undo() {
    if (StageDocument* document = documents_->commandDocument())
        document->undoStack()->undo();
}

void EditCommands::redo() {
    if (StageDocument* document = documents_->commandDocument())
        document->undoStack()->redo();
}

void EditCommands::refresh() {
    StageDocument* document = documents_->commandDocument();
    QUndoStack* stack = document ? document->undoStack() : nullptr;
    if (QAction* action = frame_->action(ID_EDIT_UNDO))
        action->setText(
            labelWith(ID_EDIT_UNDO, stack && stack->canUndo() ? stack->undoText() : QString()));
    if (QAction* action = frame_->action(ID_EDIT_REDO))
        action->setText(
            labelWith(ID_EDIT_REDO, stack && stack->canRedo() ? stack->redoText() : QString()));
    frame_->updateFrame();
}
