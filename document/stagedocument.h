#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QUndoStack>

#include <memory>

#include "host/host.h"
#include "picture/pictureblock.h"
#include "stage/CRKeditDoc.h"

class StageLock;

class CRKeditView;

// One open stage in the editor: the CRKeditDoc it edits, the file it came from, whether it
// holds edits not yet saved, and the views that show it. It is also the core's Host for this
// document: message boxes, "update all views" and the current view's event tool.
//
// Whatever changes the stage (a block toggle, a setting that reaches the document with a
// different value, the event script, the export values) goes onto the document's undo stack
// as one step; loading and the view's size write-back do not. The document is modified
// exactly when its undo stack is away from its clean state (the state last saved or read).
// Closing the last window of a modified document asks first.
class StageDocument : public QObject, public Host {
    Q_OBJECT
public:
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

    // The views showing this document, in the order they were created.
    const QList<CRKeditView*>& views() const { return views_; }
    void addView(CRKeditView* view);
    void removeView(CRKeditView* view);

    // Runs OnUpdate of every view of this document.
    void updateAllViews();

    // Takes what the open tool panels of every view hold into the document (the properties
    // panel's values, the event tool's script), each change one undo step, so that what is
    // saved, exported or played is what the user sees. Saving, the export, test play and the
    // close question call it first.
    void takeOpenPanelValues();

    // A picture chosen (or drawn again) in a properties panel: `name` becomes graphic1 (or
    // graphic2 when not `foreground`) and `picture` the picture every window shows, one undo
    // step when either differs from what the stage has. True when it was a change.
    bool changePicture(bool foreground, const std::string& name, const PictureHolder& picture);

    // Host
    void messageBox(const std::string& text) override;
    void updateAllViews(CRKeditDoc& doc) override;
    std::optional<std::string> takeEventToolScript(const CRKeditDoc& doc) override;

signals:
    // takeOpenPanelValues() was called: each view takes its panels' values in.
    void openPanelValuesWanted();
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
    QList<CRKeditView*> views_;
};
