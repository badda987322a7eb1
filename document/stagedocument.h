#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QUndoStack>

#include <memory>
#include <optional>
#include <string>

#include "document/pendingscriptsource.h"
#include "host/host.h"
#include "picture/pictureblock.h"
#include "stage/CRKeditDoc.h"
#include "stage/cellrect.h"

class StageChange;
class StageLock;

// The document layer (document/): the open stage, its undo stack and commands, edit
// recording and the recovery store. It uses core and QtCore/QtGui only, never a widget, and
// calls nothing above it: it tells what changed through StageDocument's signals, and the
// views, panels and shell that show a document connect to them.
//
// One open stage in the editor: the CRKeditDoc it edits, the file it came from, whether it
// holds edits not yet saved, and how many views show it. It is also the core's Host for this
// document: a message the core shows goes out as a signal.
//
// Whatever changes the stage (a block toggle, a setting that reaches the document with a
// different value, the event script, the export values) goes onto the document's undo stack
// as one step; loading and the picture size write-back (fitPictureSize) do not. The document is
// modified exactly when its undo stack is away from its clean state (the state last saved or read).
// Closing the last window of a modified document asks first.
class StageDocument : public QObject, public Host {
    Q_OBJECT
public:
    // What part of the stage a change touched, so that each listener refreshes only what
    // shows it. Layout: picture size, cell size, paddle area height; Grid: the blocks;
    // Script: the event script; Export: the HTML export's values (the two colours among
    // them); Settings: every other setting; Picture: the picture every window shows (chosen
    // or drawn again in a properties panel).
    enum class Scope {
        Layout = 0x1,
        Grid = 0x2,
        Settings = 0x4,
        Script = 0x8,
        Export = 0x10,
        Picture = 0x20
    };
    Q_DECLARE_FLAGS(Scopes, Scope)
    Q_FLAG(Scopes)
    static Scopes scopesOf(const StageChange& change);

    explicit StageDocument(QObject* parent = nullptr);
    ~StageDocument() override;

    CRKeditDoc& doc() { return *doc_; }
    const CRKeditDoc& doc() const { return *doc_; }

    // The stage file this document was read from or last saved to; empty for a new stage.
    const QString& filePath() const { return filePath_; }
    // Sets the path and makes the title the file's name.
    void setFilePath(const QString& path);

    // Opened read-only (another editor has the file open): the title says so and Save is
    // refused; Save As to another file ends it.
    bool isReadOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly);
    // The lock this editor holds on the stage file (none for a stage never saved, or one
    // opened read-only or anyway while another editor holds it).
    StageLock& lock() { return *lock_; }

    // The name shown in window titles: "RKedit1" for a new stage, the file name otherwise.
    const QString& title() const { return title_; }
    void setTitle(const QString& title);

    bool isModified() const { return !undoStack_.isClean(); }
    // false: the document now matches its file (the undo stack's clean state is here).
    // true: the document holds a change that no undo step can reach back to (a document
    // restored after a crash, an edit not kept as a step); only a save clears it.
    void setModified(bool modified = true);

    // The document's edits, one step each. A step pushed here has already been applied to
    // the document (its first redo changes nothing).
    QUndoStack* undoStack() { return &undoStack_; }
    // Keeps an edit that has already been made as one undo step; null does nothing.
    void pushEdit(QUndoCommand* step);

    // The stage file's bytes as this document last read or wrote them, so a change made by
    // another program can be told from the editor's own save.
    const QByteArray& diskContents() const { return diskContents_; }
    void setDiskContents(const QByteArray& bytes);

    // The views showing this document, in the order they were created. When the last one
    // is removed the document is closed (lastViewRemoved).
    const QList<QObject*>& views() const { return views_; }
    void addView(QObject* view);
    void removeView(QObject* view);

    // Asks every view to show the document anew: its open panels take the document's values
    // (after an undo, a redo or a reading of the file, which the panels did not make).
    void updateAllViews();
    // Tells that the stored stage has changed in `scopes` (stageChanged; none: nothing). A
    // change of the layout or the picture fits the picture size first (fitPictureSize()).
    void announceChange(Scopes scopes);
    // Tells what `change` changed: the cells it touched (cellsChanged), then its scopes.
    void announceChange(const StageChange& change, Scopes extra = {});
    // Tells that the cells of `cells` were written (cellsChanged), during a tool's stroke
    // that is not yet an undo step.
    void announceCells(const CellRect& cells);
    // Tells that the event script has been replaced; `replaced` is the script before.
    void announceScriptReplaced(const std::string& replaced);
    // Asks the open tool panels to hand over what they hold and the document has not taken
    // yet (the properties panel's fields, the event tool's script), each as an undo step, so
    // that a question about unsaved changes sees every edit.
    void takePendingEdits();
    // The text a view's event tool holds, as the script it would store (CP932, CR LF line
    // ends), without taking it into the document: the answer of the first registered source
    // that gives one, nothing when none does. `quiet`: a character the script cannot store
    // is left out without a message (a copy made in the background).
    std::optional<std::string> pendingScript(bool quiet = false);
    // Sources are asked in the order they were added; one that is removed is never asked.
    void addScriptSource(PendingScriptSource* source);
    void removeScriptSource(PendingScriptSource* source);

    // A picture chosen (or drawn again) in a properties panel: `name` becomes graphic1 (or
    // graphic2 when not `foreground`) and `picture` the picture every window shows, one undo
    // step when either differs from what the stage has. True when it was a change.
    bool changePicture(bool foreground, const std::string& name, const PictureHolder& picture);

    // Writes the picture's size into graphicWidth and graphicHeight, as the stage window
    // shows the picture (when the stage has one with a usable block size). It is no edit of
    // the user's: no undo step, the modified mark left alone, nothing told. Done after a
    // picture is loaded and, by announceChange(), after every change of the layout or the
    // picture (an edit, an undo, a redo). True when a value changed.
    bool fitPictureSize();

    // Host
    void messageBox(const Message& message) override;

signals:
    // The stored stage changed in `scopes`: an edit, an undo, a redo or a reading of the
    // file (not loading it, not the size write-back).
    void stageChanged(StageDocument::Scopes scopes);
    // Block grid cells inside `cells` changed (an edit, an undo, a redo, or a stroke in
    // progress): every window of the stage repaints that part. A change of the grid is
    // told here and, once it is a step, as Scope::Grid of stageChanged too.
    void cellsChanged(const CellRect& cells);
    // updateAllViews(): views show the document anew.
    void viewsUpdateRequested();
    // The event script was replaced; open event tools that still show `replaced` show the
    // document's script instead.
    void scriptReplaced(const std::string& replaced);
    // takePendingEdits(): the tool panels hand over their edits now.
    void pendingEditsRequested();
    // A message for the user (from reading or writing the stage); the shell shows it.
    void messageRequested(const QString& text);

    void modifiedChanged(bool modified);
    // The stored stage changed: an edit, an undo or a redo (not loading, not the size
    // write-back).
    void edited();
    // setDiskContents() was called: the file was read or written.
    void diskContentsChanged();
    void titleChanged();
    void viewsChanged();
    // The last view has gone: the document is closed (its owner deletes it).
    void lastViewRemoved();

private:
    std::unique_ptr<CRKeditDoc> doc_;
    QString filePath_;
    QString title_;
    bool readOnly_ = false;
    std::unique_ptr<StageLock> lock_;
    QUndoStack undoStack_;
    QByteArray diskContents_;
    QList<QObject*> views_;
    QList<PendingScriptSource*> scriptSources_;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(StageDocument::Scopes)
