#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class CChildFrame;
class CRKeditDoc;
struct IgnoredContent;
class QFileInfo;
class CRKeditView;
class QMdiArea;
class QWidget;
class RecentFileList;
class StageDocument;

// The document template and the file commands: one StageDocument per New or Open, one
// CChildFrame with one CRKeditView per stage window, several windows per document.
class DocumentManager : public QObject {
    Q_OBJECT
public:
    DocumentManager(QMdiArea* area, RecentFileList* recentFiles, QObject* parent = nullptr);
    ~DocumentManager() override;

    // The widget dialogs and message boxes are shown over.
    void setDialogParent(QWidget* parent) { dialogParent_ = parent; }

    // New: a fresh document named "RKedit" with a running number, in a new window.
    StageDocument* newDocument();
    // Open through the file dialog; null when cancelled or the file could not be read.
    StageDocument* openDocumentWithDialog();
    // Opens a stage file in a new window, or activates the document's window when that file
    // is open already. A file that cannot be read is reported; null is returned.
    StageDocument* openDocument(const QString& path);

    // A stage restored from a recovery copy: `record` read as Open reads the file at `path`
    // (the picture from that folder), in a new window, modified. `path` is empty for a stage
    // never saved, which then gets a new name. The file is not put on the recent-file list:
    // the user has not opened it.
    StageDocument* openRecovered(const QByteArray& record, const QString& path);

    // Save, and Save As with the file dialog. A failure is reported and leaves the old file
    // intact and the document open; false then (and when the dialog is cancelled).
    bool saveDocument(StageDocument* document);
    bool saveDocumentAs(StageDocument* document);
    // Writes the stage file; reports a failure. On success the document takes the path,
    // loses its modified mark and the file goes to the top of the recent-file list.
    bool writeDocument(StageDocument* document, const QString& path);
    // For each picture named by a full path in another folder than the stage file's (and not
    // there yet), asks whether to copy it beside the stage (copy / save without it / cancel)
    // and copies it. False when the user cancelled or a copy failed (reported): no saving.
    // The names of the pictures copied go to `copied`.
    bool offerPicturesBeside(const CRKeditDoc& doc, const QFileInfo& stage,
                             QStringList* copied = nullptr);

    // What the document's file holds that reading it (Open, or a reload after another
    // program changed it) did not take in: told now, and again before the first save over
    // the file. A reading that left nothing out clears what an earlier one noted. `bytes` are
    // the file's: a record cut short (its last pair not closed by "&": a write still going
    // on, or a damaged file) is said so too, as something a save over the file would lose.
    void noteIgnoredContent(StageDocument* document, const IgnoredContent& ignored,
                            const QByteArray& bytes = {});

    // Mentions the temporary files a save cut short (a crash, kill -9) left beside the stage
    // at `stagePath`, which may hold edits that were never saved.
    void noteLeftoverTemporaries(const QString& stagePath);

    // Another window on the document.
    CChildFrame* newWindow(StageDocument* document);

    // Close: asks about unsaved changes, then closes every window of the document.
    bool closeDocument(StageDocument* document);
    // Takes the open tools' edits into the document and, when it is modified, asks whether
    // to save it (save / discard / cancel). False means: keep it open.
    bool canCloseDocument(StageDocument* document);
    // Asks for every modified document, in turn; false when the user cancelled one.
    bool saveAllModified();
    // Closes every window without asking again.
    void closeAll();

    const QList<StageDocument*>& documents() const { return documents_; }
    QList<CChildFrame*> framesOf(const StageDocument* document) const;
    CChildFrame* activeFrame() const;
    CRKeditView* activeView() const;
    StageDocument* activeDocument() const;
    // The view and document the application's commands act on: those of the view whose tool
    // panel is the active window, else the active stage window's. A panel belongs to its own
    // view, whose stage window need not be the active one.
    CRKeditView* commandView() const;
    StageDocument* commandDocument() const;

signals:
    void viewCreated(CRKeditView* view);
    void documentsChanged();

private:
    StageDocument* createDocument();
    CChildFrame* createFrame(StageDocument* document);
    QString chooseFile(bool save, const QString& initialPath);

    QMdiArea* area_;
    RecentFileList* recentFiles_;
    QWidget* dialogParent_ = nullptr;
    QList<StageDocument*> documents_;
    int untitledCount_ = 0;
    // Stages whose file holds content they did not read: what saving over it would drop.
    QHash<const StageDocument*, QString> droppedBySave_;
};
