#include "shell/documentmanager.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

#include "document/coretexts.h"
#include "document/filesystemname.h"
#include "document/readstagefile.h"
#include "document/savefile.h"
#include "document/stagedocument.h"
#include "document/stageedit.h"
#include "document/stagelock.h"
#include "file/regularfile.h"
#include "host/filefault.h"
#include "panels/dialogs.h"
#include "panels/messagebox.h"
#include "shell/childframe.h"
#include "shell/recentfilelist.h"
#include "stage/CRKeditDoc.h"
#include "stage/foregroundpicture.h"
#include "stage/ignoredcontent.h"
#include "stage/recordcheck.h"
#include "stage/stagedetect.h"
#include "stage/stagerecord.h"
#include "text/cp932.h"
#include "text/stagepath.h"
#include "view/CRKeditView.h"

namespace {
QString nativePath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// "ファイルをオープンできません。" and a line naming the file and the reason.
QString cannotOpenText(const QString& path, FileFault fault) {
    return coreMessage(cannotOpenMessage(nativePath(path).toStdString(), fault));
}

// Temporary files a save cut short (a crash, kill -9) left beside `stage`: the prefix
// saveFileWhole gives them ("<name>." for a name that leaves room) and six random letters
// and digits, holding the start of a record.
QStringList leftoverTemporaries(const QFileInfo& stage) {
    QStringList found;
    const QString prefix = saveTemporaryPrefix(stage.fileName());
    for (const QFileInfo& file : stage.absoluteDir().entryInfoList(QDir::Files | QDir::Hidden)) {
        const QString name = file.fileName();
        if (name.size() != prefix.size() + 6 || !name.startsWith(prefix) ||
            name == stage.fileName())
            continue;
        const QStringView tail = QStringView(name).mid(prefix.size());
        if (!std::all_of(tail.begin(), tail.end(), [](QChar c) {
                return c.isDigit() || (c.toLatin1() >= 'A' && c.toLatin1() <= 'Z') ||
                       (c.toLatin1() >= 'a' && c.toLatin1() <= 'z');
            }))
            continue;
        std::string start;
        FileFailure failure;
        const int fd = openRegularFile(fileSystemName(file.filePath()).toStdString(), failure);
        if (fd < 0)
            continue;
        char head[11];
        const ssize_t n = ::read(fd, head, sizeof head);
        ::close(fd);
        if (n == ssize_t(sizeof head) && std::string_view(head, sizeof head) == "version=RK&")
            found << name;
    }
    return found;
}

// Whether two files hold the same bytes; a file that cannot be read counts as different.
bool sameContents(const QString& a, const QString& b) {
    QFile first(a);
    QFile second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly) ||
        first.size() != second.size())
        return false;
    const QByteArray bytes = first.readAll();
    return first.error() == QFileDevice::NoError && bytes == second.readAll() &&
           second.error() == QFileDevice::NoError;
}

// What reading a stage file left out, one line each, for the user.
QString describeIgnored(const IgnoredContent& ignored) {
    QStringList lines;
    if (ignored.cellsBeyondGrid > 0)
        lines << QCoreApplication::translate("DocumentManager",
                                             "・盤面 (100 × 100) に収まらないブロック %1 個")
                     .arg(ignored.cellsBeyondGrid);
    const auto keys = [](const std::vector<std::string>& list) {
        QStringList names;
        for (const std::string& key : list)
            names << QString::fromStdString(cp932ToUtf8Lossy(key.substr(0, 40)));
        return names.join(QStringLiteral(", "));
    };
    if (!ignored.unknownKeys.empty())
        lines << QCoreApplication::translate("DocumentManager", "・知らない項目: %1")
                     .arg(keys(ignored.unknownKeys));
    if (!ignored.unreadValues.empty())
        lines << QCoreApplication::translate("DocumentManager", "・形式の合わない値: %1")
                     .arg(keys(ignored.unreadValues));
    if (ignored.extraLines > 0)
        lines << QCoreApplication::translate("DocumentManager", "・2 行目以降の %1 行")
                     .arg(ignored.extraLines);
    return lines.join(QLatin1Char('\n'));
}

// Why a stage file cannot be written, checked before anything is touched; empty when the
// write may go ahead.
QString writeObstacle(const QFileInfo& info) {
    // By the bytes the system knows the names by (a name that is not UTF-8 included).
    struct stat folder;
    const QByteArray folderName = fileSystemName(info.absolutePath());
    if (::stat(folderName.constData(), &folder) != 0 || !S_ISDIR(folder.st_mode))
        return QCoreApplication::translate("DocumentManager",
                                           "保存先のフォルダーが見つかりません。");
    const QByteArray fileName = fileSystemName(info.absoluteFilePath());
    struct stat file;
    const bool exists = ::stat(fileName.constData(), &file) == 0;
    if (exists && S_ISDIR(file.st_mode))
        return QCoreApplication::translate("DocumentManager",
                                           "フォルダーと同じ名前では保存できません。");
    // Replacing the file through a temporary would succeed even for a read-only file; keep
    // the protection the user gave it.
    if (exists && ((file.st_mode & 0222) == 0 || ::access(fileName.constData(), W_OK) != 0))
        return QCoreApplication::translate("DocumentManager",
                                           "ファイルは書き込み禁止になっています。");
    if (::access(folderName.constData(), W_OK) != 0)
        return QCoreApplication::translate("DocumentManager",
                                           "保存先のフォルダーに書き込む権限がありません。");
    return {};
}
} // namespace

DocumentManager::DocumentManager(QMdiArea* area, RecentFileList* recentFiles, QObject* parent)
    : QObject(parent), area_(area), recentFiles_(recentFiles) {}

DocumentManager::~DocumentManager() = default;

StageDocument* DocumentManager::createDocument() {
    auto* document = new StageDocument(this);
    documents_.append(document);
    // What reading or writing the stage has to tell the user.
    connect(document, &StageDocument::messageRequested, this,
            [this](const QString& text) { showMessage(text, dialogParent_); });
    connect(document, &StageDocument::lastViewRemoved, this, [this, document] {
        documents_.removeOne(document);
        droppedBySave_.remove(document);
        // The view that has just gone may still be on the stack: delete later.
        document->deleteLater();
        emit documentsChanged();
    });
    emit documentsChanged();
    return document;
}

CChildFrame* DocumentManager::createFrame(StageDocument* document) {
    auto* frame = new CChildFrame(document);
    frame->canCloseDocument = [this](StageDocument* doc) { return canCloseDocument(doc); };
    area_->addSubWindow(frame);
    // The initial update, before the window shows.
    frame->view()->OnUpdate();
    // The title once the window has its place and size: the sub-window measures its title
    // again on each change of its geometry, and it has many before it first shows.
    frame->updateTitle();
    emit viewCreated(frame->view());
    frame->show();
    area_->setActiveSubWindow(frame);
    return frame;
}

StageDocument* DocumentManager::newDocument() {
    StageDocument* document = createDocument();
    document->setTitle(QStringLiteral("RKedit%1").arg(++untitledCount_));
    createFrame(document);
    return document;
}

QString DocumentManager::chooseFile(bool save, const QString& initialPath) {
    // Stage files are named .stage or .txt, but any name is a stage's: every file can be
    // chosen, and no suffix is added to a name typed without one.
    FileChoice choice;
    choice.mode = save ? FileChoice::Mode::Save : FileChoice::Mode::Open;
    choice.caption = save ? QCoreApplication::translate("DocumentManager", "名前を付けて保存")
                          : QCoreApplication::translate("DocumentManager", "開く");
    choice.nameFilters = QStringList{
        QCoreApplication::translate("DocumentManager", "ステージファイル (*.stage *.txt)"),
        QCoreApplication::translate("DocumentManager", "すべてのファイル (*)")};
    if (!initialPath.isEmpty()) {
        const QFileInfo info(initialPath);
        if (info.isAbsolute())
            choice.directory = info.absolutePath();
        choice.selection = info.fileName();
    }
    // A stage not saved yet goes by default beside the stage opened last, named .stage.
    if (save && !QFileInfo(initialPath).isAbsolute()) {
        if (const QStringList recent = recentFiles_->files(); !recent.isEmpty())
            choice.directory = QFileInfo(recent.constFirst()).absolutePath();
        if (!initialPath.isEmpty() && QFileInfo(initialPath).suffix().isEmpty())
            choice.selection = initialPath + QStringLiteral(".stage");
    }
    return Dialogs::current().chooseFile(dialogParent_, choice);
}

StageDocument* DocumentManager::openDocumentWithDialog() {
    const StageDocument* active = commandDocument();
    const QString path = chooseFile(false, active ? active->filePath() : QString());
    return path.isEmpty() ? nullptr : openDocument(path);
}

StageDocument* DocumentManager::openDocument(const QString& path) {
    const QFileInfo info(path);
    const QString absolute = info.absoluteFilePath();
    for (StageDocument* document : documents_) {
        if (!document->filePath().isEmpty() && QFileInfo(document->filePath()) == info) {
            const QList<CChildFrame*> frames = framesOf(document);
            if (!frames.isEmpty())
                area_->setActiveSubWindow(frames.constFirst());
            return document;
        }
    }

    // Only a regular file of a stage file's size is read.
    QByteArray bytes;
    if (const std::optional<FileFault> fault = readStageFile(absolute, bytes)) {
        showMessage(cannotOpenText(absolute, *fault), dialogParent_);
        if (*fault != FileFault::readError)
            recentFiles_->remove(absolute);
        return nullptr;
    }
    // A picture, a binary or any other file that holds no stage opens no document: saving it
    // would write a stage record over the file. An empty file holds nothing to lose and opens
    // as a new stage under its name.
    if (classifyStageBytes(std::string_view(bytes.constData(), size_t(bytes.size()))) ==
        StageBytes::notStage) {
        showMessage(cannotOpenText(absolute, FileFault::notStage), dialogParent_);
        recentFiles_->remove(absolute);
        return nullptr;
    }

    // Two editors saving the same file would overwrite each other's work: while another one
    // has it open, the user decides.
    auto lock = std::make_unique<StageLock>();
    bool readOnly = false;
    const std::optional<StageLock::Result> takenAhead = takeStageLockAhead(absolute, *lock);
    const StageLock::Result locked = takenAhead ? *takenAhead : lock->lock(absolute);
    if (locked == StageLock::Result::heldByOther) {
        MessageChoice question;
        question.icon = QMessageBox::Question;
        question.text = QCoreApplication::translate(
                            "DocumentManager", "%1 は別の rkedit (プロセス %2) で開かれています。\n"
                                               "両方で保存すると、一方の変更が失われます。")
                            .arg(nativePath(absolute))
                            .arg(lock->holderPid());
        question.buttons = QMessageBox::Open | QMessageBox::Ignore | QMessageBox::Cancel;
        question.defaultButton = QMessageBox::Open;
        question.buttonTexts = {
            {QMessageBox::Open,
             QCoreApplication::translate("DocumentManager", "読み取り専用で開く")},
            {QMessageBox::Ignore, QCoreApplication::translate("DocumentManager", "それでも開く")}};
        const QMessageBox::StandardButton answer = Dialogs::current().ask(dialogParent_, question);
        if (answer == QMessageBox::Open)
            readOnly = true;
        else if (answer != QMessageBox::Ignore)
            return nullptr;
    }

    StageDocument* document = createDocument();
    document->lock() = std::move(*lock);
    document->setReadOnly(readOnly);
    document->setFilePath(absolute);
    document->setDiskContents(bytes);
    IgnoredContent ignored;
    document->doc() =
        parseStageRecord(std::string_view(bytes.constData(), size_t(bytes.size())), ignored);
    loadForegroundPicture(document->doc(), fileSystemName(absolute).toStdString(), *document);
    document->fitPictureSize();
    createFrame(document);
    recentFiles_->add(absolute);
    noteLeftoverTemporaries(absolute);
    noteIgnoredContent(document, ignored, bytes);
    return document;
}

void DocumentManager::noteLeftoverTemporaries(const QString& stagePath) {
    if (const QStringList leftovers = leftoverTemporaries(QFileInfo(stagePath));
        !leftovers.isEmpty())
        showMessage(
            QCoreApplication::translate("DocumentManager",
                                        "%1 の横に、保存が途中で終わったときの一時ファイルが残って"
                                        "います。\n%2\n保存されなかった編集内容が入っている可能性が"
                                        "あります。確かめてから、不要なら削除してください。")
                .arg(nativePath(stagePath), leftovers.join(QLatin1Char('\n'))),
            dialogParent_);
}

void DocumentManager::noteIgnoredContent(StageDocument* document, const IgnoredContent& ignored,
                                         const QByteArray& bytes) {
    const bool cutShort =
        !bytes.isEmpty() &&
        checkRecord(std::string_view(bytes.constData(), std::size_t(bytes.size()))) ==
            RecordCheck::unfinished;
    if (ignored.empty() && !cutShort) {
        droppedBySave_.remove(document);
        return;
    }
    QStringList dropped;
    if (cutShort)
        dropped << QCoreApplication::translate("DocumentManager",
                                               "・ファイルの途中で切れた先の内容");
    if (!ignored.empty())
        dropped << describeIgnored(ignored);
    droppedBySave_.insert(document, dropped.join(QLatin1Char('\n')));
    if (cutShort)
        showMessage(QCoreApplication::translate(
                        "DocumentManager",
                        "%1 は途中で切れています (最後の項目が「&」で閉じていません)。"
                        "書き込みの途中か、壊れたファイルです。\n"
                        "このファイルに保存すると、読み込めた部分だけが残ります。")
                        .arg(nativePath(document->filePath())),
                    dialogParent_);
    if (!ignored.empty())
        showMessage(QCoreApplication::translate("DocumentManager",
                                                "%1 には、読み込まなかった次の内容があります。"
                                                "このファイルに保存すると失われます。\n%2")
                        .arg(nativePath(document->filePath()), describeIgnored(ignored)),
                    dialogParent_);
}

StageDocument* DocumentManager::openRecovered(const QByteArray& record, const QString& path) {
    StageDocument* document = createDocument();
    if (!path.isEmpty()) {
        document->setFilePath(QFileInfo(path).absoluteFilePath());
    } else {
        // A new running number: the old name may be taken by a stage of this run.
        document->setTitle(QStringLiteral("RKedit%1").arg(++untitledCount_));
    }
    document->doc() = parseStageRecord(std::string_view(record.constData(), size_t(record.size())));
    // A stage never saved has no folder to find its picture in: nothing to load or report.
    if (!path.isEmpty())
        loadForegroundPicture(document->doc(), fileSystemName(document->filePath()).toStdString(),
                              *document);
    document->fitPictureSize();
    document->setModified();
    createFrame(document);
    // Restored under its path, the stage is as good as opened there: a save cut short beside
    // it is mentioned as on opening.
    if (!path.isEmpty())
        noteLeftoverTemporaries(document->filePath());
    return document;
}

bool DocumentManager::saveDocument(StageDocument* document) {
    // What is saved is what the open panels show.
    document->takePendingEdits();
    if (document->isReadOnly()) {
        showMessage(
            QCoreApplication::translate("DocumentManager",
                                        "%1 は読み取り専用で開いています。上書き保存できません。\n"
                                        "別の名前で保存してください。")
                .arg(nativePath(document->filePath())),
            dialogParent_);
        return false;
    }
    if (document->filePath().isEmpty())
        return saveDocumentAs(document);
    return writeDocument(document, document->filePath());
}

bool DocumentManager::saveDocumentAs(StageDocument* document) {
    document->takePendingEdits();
    const QString initial =
        document->filePath().isEmpty() ? document->title() : document->filePath();
    const QString path = chooseFile(true, initial);
    return !path.isEmpty() && writeDocument(document, path);
}

bool DocumentManager::writeDocument(StageDocument* document, const QString& path) {
    const QFileInfo info(path);
    const QString absolute = info.absoluteFilePath();

    // Store mode takes the current view's event tool text into the document first; taken
    // here, that is an undo step of its own, before the save marks the stage clean, and the
    // checks below see the script that is written.
    if (std::optional<std::string> script = document->pendingScript()) {
        StageEdit edit(*document, StageEdit::Kind::Script);
        document->doc().command = *script;
        edit.commit();
    }

    const std::vector<std::string> unsafe = keysThatWillNotReadBack(document->doc());
    if (!unsafe.empty()) {
        QStringList keys;
        for (const std::string& key : unsafe)
            keys << QString::fromStdString(key);
        MessageChoice question;
        question.text = QCoreApplication::translate(
                            "DocumentManager",
                            "次の項目の値は「&」または「,」を含むため、保存したファイルを開き直すと"
                            "同じ値に戻りません。\n%1\n\nこのまま保存しますか?")
                            .arg(keys.join(QStringLiteral(", ")));
        question.buttons = QMessageBox::Save | QMessageBox::Cancel;
        question.defaultButton = QMessageBox::Cancel;
        if (Dialogs::current().ask(dialogParent_, question) != QMessageBox::Save)
            return false;
    }

    if (droppedBySave_.contains(document) && QFileInfo(document->filePath()) == info) {
        MessageChoice question;
        question.text = QCoreApplication::translate(
                            "DocumentManager", "%1 を開いたときに読み込まなかった次の内容は、"
                                               "上書き保存すると失われます。\n%2\n\n保存しますか?")
                            .arg(nativePath(absolute), droppedBySave_.value(document));
        question.buttons = QMessageBox::Save | QMessageBox::Cancel;
        question.defaultButton = QMessageBox::Cancel;
        if (Dialogs::current().ask(dialogParent_, question) != QMessageBox::Save)
            return false;
    }

    // The first line as ever; the second names the file and the reason, as opening does.
    auto fail = [&](const QString& reason) {
        showMessage(QCoreApplication::translate("DocumentManager", "%1 に保存できません。\n%1: %2")
                        .arg(nativePath(absolute), reason),
                    dialogParent_);
        return false;
    };
    if (const QString obstacle = writeObstacle(info); !obstacle.isEmpty())
        return fail(obstacle);
    QStringList copied;
    if (!offerPicturesBeside(document->doc(), info, &copied))
        return false;

    const std::string record = writeStageRecord(document->doc());

    // All or nothing: a failure leaves the old file as it was.
    if (const QString reason = saveFileWhole(absolute, record); !reason.isEmpty())
        return fail(reason);

    // The lock follows the stage to the file it now lives in.
    if (absolute != document->filePath() || document->isReadOnly() ||
        !document->lock().isLocked()) {
        document->lock().lock(absolute);
        document->setReadOnly(false);
    } else {
        document->lock().followFile(absolute);
    }
    document->setFilePath(absolute);
    document->setDiskContents(QByteArray(record.data(), qsizetype(record.size())));
    // A picture copied beside the stage is the one the stage now names: the panel shows the
    // leaf name the file holds, and the next save has nothing to offer.
    bool renamed = false;
    for (std::string* name : {&document->doc().graphic1, &document->doc().graphic2}) {
        if (copied.contains(
                fromFileSystemName(QByteArray::fromStdString(toFileSystemPath(*name))))) {
            *name = leafName(*name);
            renamed = true;
        }
    }
    document->setModified(false);
    // The file now holds what the stage holds.
    droppedBySave_.remove(document);
    recentFiles_->add(absolute);
    if (renamed)
        document->updateAllViews();
    return true;
}

bool DocumentManager::offerPicturesBeside(const CRKeditDoc& doc, const QFileInfo& stage,
                                          QStringList* copied) {
    // The record keeps only a picture's leaf name and the game loads it from the stage's
    // folder: a picture chosen from another folder would not be found there.
    for (const std::string* name : {&doc.graphic1, &doc.graphic2}) {
        const QString picture =
            fromFileSystemName(QByteArray::fromStdString(toFileSystemPath(*name)));
        if (!QDir::isAbsolutePath(picture))
            continue;
        const QFileInfo source(picture);
        const QFileInfo beside(QDir(stage.absolutePath()), source.fileName());
        if (!source.isFile() || source.absoluteFilePath() == beside.absoluteFilePath())
            continue;
        // A picture of that name beside the stage is the one the game would load: the same
        // picture needs no copy; another one is replaced only when the user says so.
        const bool replacing = beside.exists();
        if (replacing && sameContents(source.absoluteFilePath(), beside.absoluteFilePath())) {
            if (copied)
                copied->append(picture);
            continue;
        }
        MessageChoice question;
        question.icon = QMessageBox::Question;
        question.buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        if (replacing) {
            question.text =
                QCoreApplication::translate(
                    "DocumentManager", "画像 %1 はステージと別のフォルダーにあります。"
                                       "ステージのフォルダーには同じ名前の別の画像 %2 があり、"
                                       "ゲームはそちらを読み込みます。\n\n%2 を置き換えますか?")
                    .arg(nativePath(source.absoluteFilePath()),
                         nativePath(beside.absoluteFilePath()));
            question.defaultButton = QMessageBox::Cancel;
            question.buttonTexts = {
                {QMessageBox::Yes, QCoreApplication::translate("DocumentManager", "置き換える")},
                {QMessageBox::No,
                 QCoreApplication::translate("DocumentManager", "置き換えずに保存")}};
        } else {
            question.text =
                QCoreApplication::translate(
                    "DocumentManager",
                    "画像 %1 はステージと別のフォルダーにあります。"
                    "ゲームは画像をステージと同じフォルダーから読み込みます。\n\n"
                    "%2 にコピーしますか?")
                    .arg(nativePath(source.absoluteFilePath()), nativePath(stage.absolutePath()));
            question.defaultButton = QMessageBox::Yes;
            question.buttonTexts = {
                {QMessageBox::Yes, QCoreApplication::translate("DocumentManager", "コピーする")},
                {QMessageBox::No,
                 QCoreApplication::translate("DocumentManager", "コピーせずに保存")}};
        }
        const QMessageBox::StandardButton answer = Dialogs::current().ask(dialogParent_, question);
        if (answer == QMessageBox::No)
            continue;
        if (answer != QMessageBox::Yes)
            return false;
        // Through the one saving path: a copy that fails leaves no partial picture behind.
        // The second line of a failure names the file read or written, and the reason.
        // The source is read as Open reads a picture (a regular file of bounded size) and is
        // never the file written.
        QString failed = source.absoluteFilePath();
        QString reason;
        std::string bytes;
        FileFailure failure;
        if (!readRegularFile(fileSystemName(failed).toStdString(), maxPictureFileBytes, bytes,
                             failure)) {
            reason = coreText(fileFaultText(fileFaultOf(failure)));
        } else {
            failed = beside.absoluteFilePath();
            reason = saveFileWhole(failed, QByteArrayView(bytes.data(), qsizetype(bytes.size())),
                                   {source.absoluteFilePath()});
        }
        if (!reason.isEmpty()) {
            showMessage(QCoreApplication::translate("DocumentManager",
                                                    "%1 を %2 にコピーできません。\n%3: %4")
                            .arg(nativePath(source.absoluteFilePath()),
                                 nativePath(stage.absolutePath()), nativePath(failed), reason),
                        dialogParent_);
            return false;
        }
        if (copied)
            copied->append(picture);
    }
    return true;
}

CChildFrame* DocumentManager::newWindow(StageDocument* document) {
    return document ? createFrame(document) : nullptr;
}

bool DocumentManager::canCloseDocument(StageDocument* document) {
    document->takePendingEdits();
    if (!document->isModified())
        return true;
    MessageChoice question;
    question.text = QCoreApplication::translate("DocumentManager", "%1 への変更を保存しますか?")
                        .arg(document->title());
    question.buttons = QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
    question.defaultButton = QMessageBox::Save;
    const QMessageBox::StandardButton answer = Dialogs::current().ask(dialogParent_, question);
    if (answer == QMessageBox::Save)
        return saveDocument(document);
    return answer == QMessageBox::Discard;
}

bool DocumentManager::closeDocument(StageDocument* document) {
    if (document == nullptr || !canCloseDocument(document))
        return false;
    for (CChildFrame* frame : framesOf(document)) {
        frame->closeWithoutAsking = true;
        frame->close();
    }
    return true;
}

bool DocumentManager::saveAllModified() {
    const QList<StageDocument*> documents = documents_;
    for (StageDocument* document : documents)
        if (documents_.contains(document) && !canCloseDocument(document))
            return false;
    return true;
}

void DocumentManager::closeAll() {
    for (QMdiSubWindow* window : area_->subWindowList()) {
        if (auto* frame = qobject_cast<CChildFrame*>(window)) {
            frame->closeWithoutAsking = true;
            frame->close();
        }
    }
}

QList<CChildFrame*> DocumentManager::framesOf(const StageDocument* document) const {
    QList<CChildFrame*> frames;
    for (QMdiSubWindow* window : area_->subWindowList())
        if (auto* frame = qobject_cast<CChildFrame*>(window);
            frame && frame->document() == document)
            frames.append(frame);
    return frames;
}

CChildFrame* DocumentManager::activeFrame() const {
    // The current sub-window stays current while a tool panel has the focus.
    return qobject_cast<CChildFrame*>(area_->currentSubWindow());
}

CRKeditView* DocumentManager::activeView() const {
    CChildFrame* frame = activeFrame();
    return frame ? frame->view() : nullptr;
}

StageDocument* DocumentManager::activeDocument() const {
    CChildFrame* frame = activeFrame();
    return frame ? frame->document() : nullptr;
}

CRKeditView* DocumentManager::commandView() const {
    if (const QWidget* window = QApplication::activeWindow())
        for (QMdiSubWindow* subWindow : area_->subWindowList())
            if (auto* frame = qobject_cast<CChildFrame*>(subWindow);
                frame && frame->view() && frame->view()->ownsToolPanel(window))
                return frame->view();
    return activeView();
}

StageDocument* DocumentManager::commandDocument() const {
    CRKeditView* view = commandView();
    return view ? view->stageDocument() : nullptr;
}
