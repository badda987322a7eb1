#pragma once

#include <QObject>

#include <optional>

class CMainFrame;
class DocumentManager;
class StageDocument;

// Undo and redo of the stage the commands act on (the active stage window's, or that of
// the view whose tool panel has the keyboard): the "編集(&E)" menu's two commands (and their keys
// Ctrl+Z, Alt+Backspace; Ctrl+Y, Ctrl+Shift+Z), enabled only while they can act, and named
// after the step they would undo or redo ("元に戻す(&U) 直径の変更").
class EditCommands : public QObject {
    Q_OBJECT
public:
    EditCommands(CMainFrame* frame, DocumentManager* documents);

    void undo();
    void redo();
    // Brings the two commands' texts and enabled states up to date.
    void refresh();

private:
    void follow(StageDocument* document);
    // Cut, copy, paste, paste in place, delete, select all, deselect, the empty-cells check
    // item and the transforms: on the cells of the command view, or, for the first five,
    // on the text of the focused text field, which keeps its own meaning of their keys.
    void addCellCommands();
    // Whether the clipboard holds cells or text that paste can take.
    bool clipboardHasCells();

    CMainFrame* frame_;
    DocumentManager* documents_;
    std::optional<bool> clipboardHasCells_; // unknown until asked after a change
};
