// Recovery copies that cannot be trusted: a damaged description, a record cut short or empty,
// a record without its description, a copy the disk has no room for, and more copies than a
// question box can show. None is deleted unasked, none is restored over the file it was
// meant to keep, and a start answered on the command line waits for nobody.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "document/recoverystore.h"
#include "document/stagedocument.h"
#include "recoveryfixture.h"
#include "shell/recoverykeeper.h"

namespace {

class DamagedRecovery : public RecoveryShell {
protected:
    void SetUp() override {
        RecoveryShell::SetUp();
        sample = fileBytes(path("sample.stage"));
        ASSERT_FALSE(sample.isEmpty());
    }
    // Copies left by a run that has gone: key -> record, all for the sample stage's path.
    // Returns the run's session folder.
    QString leaveCopies(const QList<std::pair<QString, QByteArray>>& copies) {
        RecoveryStore earlier(root);
        EXPECT_TRUE(earlier.open());
        for (const auto& [key, record] : copies)
            EXPECT_TRUE(earlier.write(key, record, path("sample.stage"), "sample.stage"));
        const QString folder = earlier.sessionFolder();
        earlier.close();
        return folder;
    }
    // The files of a session folder but its lock (temporaries included).
    static QStringList filesIn(const QString& folder) {
        QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
        names.removeAll(QStringLiteral("lock"));
        names.sort();
        return names;
    }
    // The orphans a new run finds, released again for the editor started next.
    QList<RecoveryStore::Orphan> peekOrphans() {
        RecoveryStore store(root);
        QList<RecoveryStore::Orphan> orphans = store.takeOrphans();
        for (RecoveryStore::Orphan& orphan : orphans)
            RecoveryStore::release(orphan);
        return orphans;
    }

    QByteArray sample;
};

// Chooses the button whose own text is `text` on the next message box and keeps its text.
struct ButtonAnswer {
    explicit ButtonAnswer(const QString& text)
        : answer([this, text](const MessageChoice& box) {
              shown = box.text;
              details = box.details;
              choice = box;
              for (const auto& [button, buttonText] : box.buttonTexts)
                  if (buttonText == text)
                      return button;
              ADD_FAILURE() << "no button " << text.toStdString();
              return QMessageBox::Cancel;
          }) {}
    QString shown;
    QString details;
    MessageChoice choice;
    MessageAnswer answer;
};

TEST_F(DamagedRecovery, ADamagedDescriptionKeepsTheCopyAndOffersItsBytesAsANewStage) {
    const QString folder = leaveCopies({{"stage1", sample}});
    {
        QFile description(QDir(folder).filePath("stage1.json"));
        ASSERT_TRUE(description.open(QIODevice::ReadWrite));
        ASSERT_TRUE(description.resize(10)); // cut short, as a full disk leaves it
    }
    {
        const QList<RecoveryStore::Orphan> orphans = peekOrphans();
        ASSERT_EQ(orphans.size(), 1);
        ASSERT_EQ(orphans[0].entries.size(), 1);
        const RecoveryStore::Entry& entry = orphans[0].entries[0];
        EXPECT_TRUE(entry.damaged);
        EXPECT_EQ(entry.problem, "説明ファイルが壊れています");
        EXPECT_TRUE(entry.originalPath.isEmpty());
    }

    // Kept when the user says keep: both files stay.
    start({"--recovery=keep"});
    app.reset();
    settle();
    EXPECT_EQ(filesIn(folder), (QStringList{"stage1.json", "stage1.stage"}));

    // Restored from the command line: a new untitled stage holding the copy's bytes, the
    // stage file it came from left alone, and the damage said on stderr, not in a box that
    // would hold a script up (an unanswered box fails the test).
    testing::internal::CaptureStderr();
    start({"--recovery=restore"});
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("壊れている"), std::string::npos) << said;
    ASSERT_EQ(documents()->documents().size(), 1);
    StageDocument* document = documents()->activeDocument();
    EXPECT_TRUE(document->filePath().isEmpty());
    EXPECT_TRUE(document->isModified());
    EXPECT_EQ(RecoveryKeeper::recordAsSaved(*document), sample);
    EXPECT_EQ(fileBytes(path("sample.stage")), sample);
    EXPECT_FALSE(QFileInfo::exists(folder)) << "restored, the old copy goes";
}

TEST_F(DamagedRecovery, CopiesCutShortOrEmptyAreNeverRestoredUnderTheOriginalPath) {
    leaveCopies({{"stage1", sample.left(sample.size() / 2)}, {"stage2", QByteArray()}});
    {
        const QList<RecoveryStore::Orphan> orphans = peekOrphans();
        ASSERT_EQ(orphans.size(), 1);
        ASSERT_EQ(orphans[0].entries.size(), 2);
        QStringList problems;
        for (const RecoveryStore::Entry& entry : orphans[0].entries) {
            EXPECT_TRUE(entry.damaged);
            EXPECT_EQ(entry.originalPath, path("sample.stage")) << "still shown to the user";
            problems << entry.problem;
        }
        problems.sort();
        EXPECT_EQ(problems, (QStringList{"中身が空です", "途中で切れています"}));
    }

    // Asked: the question says which copies are damaged, then a message says where they went.
    ButtonAnswer offer(QStringLiteral("復元する"));
    MessageBoxAnswer told(QMessageBox::Ok);
    start();
    EXPECT_EQ(offer.answer.seen(), 1);
    EXPECT_EQ(told.answer.seen(), 1);
    EXPECT_TRUE(offer.shown.contains("破損: 途中で切れています")) << offer.shown.toStdString();
    EXPECT_TRUE(offer.shown.contains("破損: 中身が空です")) << offer.shown.toStdString();
    EXPECT_TRUE(told.text.contains("壊れている")) << told.text.toStdString();
    ASSERT_EQ(documents()->documents().size(), 2);
    for (StageDocument* document : documents()->documents()) {
        EXPECT_TRUE(document->filePath().isEmpty()) << document->title().toStdString();
        EXPECT_TRUE(document->isModified());
    }
    EXPECT_EQ(fileBytes(path("sample.stage")), sample);
}

TEST_F(DamagedRecovery, AQuestionClosedWithoutAnAnswerKeepsTheCopies) {
    const QString folder = leaveCopies({{"stage1", sample}});
    MessageAnswer closed([](const MessageChoice&) { return QMessageBox::Cancel; });
    start();
    EXPECT_EQ(closed.seen(), 1);
    EXPECT_EQ(filesIn(folder), (QStringList{"stage1.json", "stage1.stage"}));
    ASSERT_EQ(documents()->documents().size(), 1);
    EXPECT_FALSE(documents()->activeDocument()->isModified()) << "a new stage, nothing restored";
    app.reset();
    settle();
    EXPECT_EQ(peekOrphans().size(), 1) << "offered again at the next start";
}

TEST_F(DamagedRecovery,
       ARecordWithoutItsDescriptionIsOfferedAndFoldersWithoutStageBytesTidiedAway) {
    // A run killed between writing a record and its description.
    const QString lost = QDir(root).filePath("lost");
    ASSERT_TRUE(QDir().mkpath(lost));
    QFile record(QDir(lost).filePath("stage1.stage"));
    ASSERT_TRUE(record.open(QIODevice::WriteOnly));
    record.write(sample);
    record.close();
    // A run killed before its first byte: nothing in it to keep.
    const QString nothing = QDir(root).filePath("nothing");
    ASSERT_TRUE(QDir().mkpath(nothing));
    QFile empty(QDir(nothing).filePath("stage1.stage"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    // A description whose record is gone (removed first): nothing of a stage is left.
    const QString orphaned = QDir(root).filePath("orphaned");
    ASSERT_TRUE(QDir().mkpath(orphaned));
    QFile description(QDir(orphaned).filePath("stage1.json"));
    ASSERT_TRUE(description.open(QIODevice::WriteOnly));
    description.write("{\"path\": \"/somewhere/a.stage\"}");
    description.close();

    RecoveryStore store(root);
    QList<RecoveryStore::Orphan> orphans = store.takeOrphans();
    ASSERT_EQ(orphans.size(), 1);
    EXPECT_EQ(orphans[0].folder, lost);
    ASSERT_EQ(orphans[0].entries.size(), 1);
    EXPECT_TRUE(orphans[0].entries[0].damaged);
    EXPECT_EQ(orphans[0].entries[0].problem, "元のファイル名がわかりません");
    EXPECT_FALSE(QFileInfo::exists(nothing));
    EXPECT_FALSE(QFileInfo::exists(orphaned));
    RecoveryStore::release(orphans[0]);
    EXPECT_TRUE(QFileInfo::exists(lost));
}

TEST_F(DamagedRecovery, ASessionOpenedInTheBackgroundIsOneOpenedAtOnce) {
    {
        RecoveryStore store(root);
        store.openInBackground();
        ASSERT_TRUE(store.isOpen());
        const QString folder = store.sessionFolder();
        EXPECT_TRUE(QFileInfo::exists(QDir(folder).filePath("lock")));
        // Locked: neither another editor nor this one offers it.
        EXPECT_TRUE(RecoveryStore(root).takeOrphans().isEmpty());
        EXPECT_TRUE(store.takeOrphans().isEmpty());
        ASSERT_TRUE(store.write("stage1", sample, path("sample.stage"), "sample.stage"));
        EXPECT_EQ(fileBytes(QDir(folder).filePath("stage1.stage")), sample);
        store.remove("stage1");
        store.close();
        EXPECT_FALSE(QFileInfo::exists(folder)) << "an empty session goes with a clean exit";
    }
    {
        // Gone while it is still opening: nothing is left half made.
        RecoveryStore store(root);
        store.openInBackground();
    }
    EXPECT_TRUE(RecoveryStore(root).takeOrphans().isEmpty());

    // A folder that cannot be made: open() says why, as it does without the background.
    QFile blocker(QDir(root).filePath("blocker"));
    ASSERT_TRUE(QDir().mkpath(root));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    RecoveryStore refused(blocker.fileName() + "/recovery");
    refused.openInBackground();
    QString error;
    EXPECT_FALSE(refused.open(&error));
    EXPECT_FALSE(refused.isOpen());
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(blocker.fileName())))
        << error.toStdString();
}

TEST_F(DamagedRecovery, HundredsOfCopiesFitOnTheScreen) {
    QList<std::pair<QString, QByteArray>> copies;
    for (int i = 0; i < 300; ++i)
        copies.append({QStringLiteral("stage%1").arg(i, 3, 10, QLatin1Char('0')), sample});
    leaveCopies(copies);

    ButtonAnswer discard(QStringLiteral("破棄する"));
    start();
    ASSERT_EQ(discard.answer.seen(), 1);
    EXPECT_TRUE(discard.shown.contains("ほか 290 件")) << discard.shown.toStdString();
    EXPECT_EQ(discard.details.count(QLatin1Char('\n')) + 1, 300);
    // The box as it would be shown: shorter than a 768-pixel screen, the list scrolls.
    const auto box = Dialogs::messageBoxFor(nullptr, discard.choice);
    EXPECT_LT(box->sizeHint().height(), 700) << "a box taller than a 768-pixel screen";
    EXPECT_EQ(box->detailedText(), discard.details);
    EXPECT_TRUE(peekOrphans().isEmpty()) << "discarded";
}

TEST_F(DamagedRecovery, AFolderThatCannotBeWrittenIsOfferedToReadAndKept) {
    // Copies in a folder this user may read but not write (for root, whom permissions do not
    // stop, the checks run as an unprivileged user).
    const QString readOnlyRoot = path("recovery");
    QString folder;
    {
        RecoveryStore earlier(readOnlyRoot);
        ASSERT_TRUE(earlier.open());
        ASSERT_TRUE(earlier.write("stage1", sample, path("sample.stage"), "sample.stage"));
        folder = earlier.sessionFolder();
        earlier.close();
    }
    const auto readable = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const auto enterable = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    const QStringList files = filesIn(folder);
    for (const QString& name : files)
        QFile::setPermissions(QDir(folder).filePath(name), readable | QFile::WriteOwner);
    ASSERT_TRUE(QFile::setPermissions(readOnlyRoot, readable | enterable | QFile::WriteOwner));
    ASSERT_TRUE(QFile::setPermissions(folder, readable | enterable));

    start();
    // Offers the folder's copies as a start does, answering with `button`; the note that
    // follows must name the folder that could not be cleared.
    const auto offer = [&](const QString& button) {
        ButtonAnswer answer(button);
        MessageBoxAnswer told(QMessageBox::Ok);
        RecoveryKeeper keeper(documents(), std::make_unique<RecoveryStore>(readOnlyRoot));
        int restored = 0;
        {
            const UnprivilegedFileAccess nobody;
            restored = keeper.offerRecovery(frame());
        }
        EXPECT_EQ(answer.answer.seen(), 1);
        EXPECT_TRUE(answer.shown.contains("書き込めないフォルダー")) << answer.shown.toStdString();
        EXPECT_EQ(told.answer.seen(), 1);
        EXPECT_TRUE(told.text.contains(QDir::toNativeSeparators(folder)))
            << told.text.toStdString();
        return restored;
    };
    // Restored: the stage opens under its own path; the copy stays, and the user is told why.
    EXPECT_EQ(offer(QStringLiteral("復元する")), 1);
    StageDocument* restored = documents()->activeDocument();
    EXPECT_EQ(restored->filePath(), path("sample.stage"));
    EXPECT_TRUE(restored->isModified());
    EXPECT_EQ(RecoveryKeeper::recordAsSaved(*restored), sample);
    EXPECT_EQ(filesIn(folder), files);
    // Offered again; discarding cannot remove it either, and says so.
    EXPECT_EQ(offer(QStringLiteral("破棄する")), 0);
    EXPECT_EQ(filesIn(folder), files);
    QFile::setPermissions(folder, readable | enterable | QFile::WriteOwner);
}

TEST_F(DamagedRecovery, AFolderLeftByACrashThatCannotBeWrittenIsOfferedToRead) {
    // A crash leaves the session's lock behind; the folder then becomes unwritable (for root,
    // whom permissions do not stop, the check runs as an unprivileged user). The lock can be
    // neither taken over nor removed, yet no editor holds it: the copies are offered.
    const QString crashedRoot = path("recovery");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RecoveryStore earlier(crashedRoot);
        const bool written =
            earlier.open() && earlier.write("stage1", sample, path("sample.stage"), "sample.stage");
        _exit(written ? 0 : 1); // no close: the lock stays, as after kill -9
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const QStringList sessions = QDir(crashedRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(sessions.size(), 1);
    const QString folder = QDir(crashedRoot).filePath(sessions[0]);
    ASSERT_TRUE(QFileInfo::exists(QDir(folder).filePath("lock")));
    const auto readable = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const auto enterable = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    for (const QString& name : QDir(folder).entryList(QDir::Files))
        QFile::setPermissions(QDir(folder).filePath(name), readable | QFile::WriteOwner);
    ASSERT_TRUE(QFile::setPermissions(crashedRoot, readable | enterable | QFile::WriteOwner));
    ASSERT_TRUE(QFile::setPermissions(folder, readable | enterable));

    QList<RecoveryStore::Orphan> orphans;
    {
        const UnprivilegedFileAccess nobody;
        RecoveryStore store(crashedRoot);
        orphans = store.takeOrphans();
    }
    ASSERT_EQ(orphans.size(), 1);
    EXPECT_TRUE(orphans[0].readOnly);
    ASSERT_EQ(orphans[0].entries.size(), 1);
    EXPECT_FALSE(orphans[0].entries[0].damaged) << orphans[0].entries[0].problem.toStdString();
    EXPECT_EQ(orphans[0].entries[0].originalPath, path("sample.stage"));
    QByteArray record;
    {
        const UnprivilegedFileAccess nobody;
        record = RecoveryStore::readRecord(orphans[0].entries[0]);
    }
    EXPECT_EQ(record, sample);
    QFile::setPermissions(folder, readable | enterable | QFile::WriteOwner);
}

TEST_F(DamagedRecovery, ACopyThatIsNoRegularFileNeitherHangsNorFillsTheMemory) {
    // A record replaced by a link to /dev/zero, another by a FIFO (through a link, and
    // itself): each is offered as unreadable, at once, and nothing is removed.
    const QString folder = leaveCopies({{"zero", sample}, {"fifo", sample}, {"pipe", sample}});
    ASSERT_TRUE(QFile::remove(QDir(folder).filePath("zero.stage")));
    ASSERT_TRUE(QFile::link("/dev/zero", QDir(folder).filePath("zero.stage")));
    const QString fifo = path("a-fifo");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::remove(QDir(folder).filePath("fifo.stage")));
    ASSERT_TRUE(QFile::link(fifo, QDir(folder).filePath("fifo.stage")));
    ASSERT_TRUE(QFile::remove(QDir(folder).filePath("pipe.stage")));
    ASSERT_EQ(mkfifo(QFile::encodeName(QDir(folder).filePath("pipe.stage")).constData(), 0600), 0);

    QElapsedTimer took;
    took.start();
    const QList<RecoveryStore::Orphan> orphans = peekOrphans();
    EXPECT_LT(took.elapsed(), 5000);
    ASSERT_EQ(orphans.size(), 1);
    QStringList offered;
    for (const RecoveryStore::Entry& entry : orphans[0].entries) {
        offered << entry.key;
        EXPECT_TRUE(entry.damaged) << entry.key.toStdString();
        EXPECT_TRUE(entry.problem.startsWith("読み込めません")) << entry.problem.toStdString();
        QString error;
        EXPECT_TRUE(RecoveryStore::readRecord(entry, &error).isEmpty());
        EXPECT_FALSE(error.isEmpty());
    }
    offered.sort();
    // The FIFO itself is no file a folder listing offers; the two links are.
    EXPECT_EQ(offered, (QStringList{"fifo", "zero"}));
    EXPECT_TRUE(QFileInfo(QDir(folder).filePath("zero.stage")).isSymLink()) << "kept";
}

// Files this process writes are limited to `bytes` while it lives: the system's own way to
// make a write fail part-way (EFBIG), as a full disk does, with no root and no mount.

TEST_F(DamagedRecovery, ACopyThatCannotBeWrittenWholeLeavesThePreviousOne) {
    RecoveryStore store(root);
    ASSERT_TRUE(store.open());
    ASSERT_TRUE(store.write("stage1", sample, path("sample.stage"), "sample.stage"));
    const QString record = QDir(store.sessionFolder()).filePath("stage1.stage");
    ASSERT_EQ(fileBytes(record), sample);

    QByteArray longer = sample;
    longer.replace("life=", "life=1");
    QString error;
    {
        const FileSizeLimit limit(64); // the new record cannot be written whole
        EXPECT_FALSE(store.write("stage1", longer, path("sample.stage"), "sample.stage", &error));
    }
    EXPECT_TRUE(error.startsWith(QDir::toNativeSeparators(record))) << error.toStdString();
    EXPECT_EQ(fileBytes(record), sample) << "the previous copy is kept";
    EXPECT_EQ(filesIn(store.sessionFolder()), (QStringList{"stage1.json", "stage1.stage"}))
        << "no temporary file left";
    // Once there is room again, the new copy is written and read back.
    EXPECT_TRUE(store.write("stage1", longer, path("sample.stage"), "sample.stage", &error));
    EXPECT_EQ(fileBytes(record), longer);
    store.close();
}

TEST_F(DamagedRecovery, ACopyTheDiskRefusesIsReportedOnceAndShownWhileItLasts) {
    start({path("sample.stage")});
    StageDocument* document = documents()->activeDocument();
    RecoveryKeeper* keeper = app->recovery();
    document->doc().life = "9";
    document->setModified();
    keeper->writeDueCopies();
    ASSERT_TRUE(keeper->hasCopy(document));
    const QStringList records = QDir(keeper->store().sessionFolder()).entryList({"*.stage"});
    ASSERT_EQ(records.size(), 1);
    const QString record = QDir(keeper->store().sessionFolder()).filePath(records[0]);
    const QByteArray first = fileBytes(record);
    ASSERT_FALSE(first.isEmpty());

    MessageBoxAnswer told(QMessageBox::Ok);
    {
        const FileSizeLimit limit(64);
        for (int edit = 0; edit < 3; ++edit) {
            document->doc().life = std::to_string(10 + edit);
            document->setModified();
            keeper->writeDueCopies();
        }
    }
    EXPECT_EQ(told.answer.seen(), 1) << "one message for the run, not one per copy";
    // The status bar says so while it lasts.
    auto* problem = frame()->findChild<QLabel*>("recoveryCopyProblem");
    ASSERT_NE(problem, nullptr);
    EXPECT_FALSE(problem->isHidden());
    EXPECT_EQ(problem->text(), "復元用のコピーを保存できません");
    EXPECT_TRUE(told.text.contains("復元用のコピーを保存できません")) << told.text.toStdString();
    EXPECT_EQ(fileBytes(record), first) << "the previous good copy stays";
    // Room again: the next copy holds the latest edits.
    keeper->writeDueCopies();
    EXPECT_EQ(fileBytes(record), RecoveryKeeper::recordAsSaved(*document));
    EXPECT_TRUE(problem->isHidden());
}

} // namespace
