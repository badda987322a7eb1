// The editor ended from outside (SIGTERM, as kill and a logout send) ends in order: it
// exits normally, the recovery copy of its unsaved stage stays for the next start, and no
// lock or temporary file is left behind.
#include <QDir>
#include <QProcess>

#include <csignal>

#include "document/recoverystore.h"
#include "recoveryfixture.h"

namespace {

class TerminationSignal : public RecoveryShell {};

TEST_F(TerminationSignal, SigtermEndsTheEditorInOrderAndKeepsTheCopy) {
    // An earlier run's copy of an edited sample: the editor below restores it, so it runs
    // with an unsaved stage.
    QByteArray edited = fileBytes(path("sample.stage"));
    edited.replace("life=", "life=4");
    QString earlierSession;
    {
        RecoveryStore earlier(root);
        ASSERT_TRUE(earlier.open());
        ASSERT_TRUE(earlier.write("stage1", edited, path("sample.stage"), "sample.stage"));
        earlierSession = earlier.sessionFolder();
        earlier.close();
    }

    QProcess editor;
    editor.setProcessEnvironment(childEnvironment());
    editor.start(QStringLiteral(RK_EDITOR_PATH), {"--recovery=restore"});
    ASSERT_TRUE(editor.waitForStarted(10'000));
    // The restored stage's own copy, written by the running editor, is the sign it is up.
    QStringList copies = waitForChildCopy(root, earlierSession);
    ASSERT_EQ(copies.size(), 1) << "the editor wrote no copy of its own";
    ASSERT_FALSE(copies[0].startsWith(earlierSession));

    ::kill(pid_t(editor.processId()), SIGTERM);
    ASSERT_TRUE(editor.waitForFinished(20'000));
    EXPECT_EQ(editor.exitStatus(), QProcess::NormalExit)
        << "ended in order, not killed by the signal";
    EXPECT_EQ(editor.exitCode(), 0);

    // The next start finds the copy, unlocked, holding the edits.
    RecoveryStore next(root);
    QList<RecoveryStore::Orphan> orphans = next.takeOrphans();
    ASSERT_EQ(orphans.size(), 1);
    ASSERT_EQ(orphans[0].entries.size(), 1);
    EXPECT_FALSE(orphans[0].entries[0].damaged);
    EXPECT_EQ(orphans[0].entries[0].originalPath, path("sample.stage"));
    EXPECT_EQ(RecoveryStore::readRecord(orphans[0].entries[0]), edited);
    // Nothing but the copy and its lock: no temporary file.
    QStringList files = QDir(orphans[0].folder).entryList(QDir::Files | QDir::Hidden);
    files.sort();
    EXPECT_EQ(files, (QStringList{"lock", "stage1.json", "stage1.stage"}));
    RecoveryStore::discard(orphans[0]);
}

} // namespace
