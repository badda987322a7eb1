#include "shell/editcommands.h"

#include <QAction>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSet>
#include <QWindow>

#include "document/stagedocument.h"
#include "shell/commandids.h"
#include "shell/documentmanager.h"
#include "shell/mainframe.h"
#include "shell/menuresources.h"

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
} // namespace

EditCommands::EditCommands(CMainFrame* frame, DocumentManager* documents)
    : QObject(frame), frame_(frame), documents_(documents) {
    frame_->setHandler(ID_EDIT_UNDO, [this] { undo(); });
    frame_->setHandler(ID_EDIT_REDO, [this] { redo(); });
    frame_->setEnabledWhen(ID_EDIT_UNDO, [this] {
        StageDocument* document = documents_->commandDocument();
        return document != nullptr && document->undoStack()->canUndo();
    });
    frame_->setEnabledWhen(ID_EDIT_REDO, [this] {
        StageDocument* document = documents_->commandDocument();
        return document != nullptr && document->undoStack()->canRedo();
    });
    connect(frame_->mdiArea(), &QMdiArea::subWindowActivated, this, &EditCommands::refresh);
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
