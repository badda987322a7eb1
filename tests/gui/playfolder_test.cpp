// The test play folder: a folder a killed process left behind is removed by the next one made,
// and nothing else is.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

#include "playfolder.h"

namespace {

// Points QDir::tempPath() at `path` for the length of a test.
struct TemporaryFolder {
    explicit TemporaryFolder(const QString& path) : previous(qgetenv("TMPDIR")) {
        qputenv("TMPDIR", path.toLocal8Bit());
    }
    ~TemporaryFolder() {
        if (previous.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", previous);
    }
    QByteArray previous;
};

} // namespace

TEST(PlayFolder, RemovesWhatEndedProcessesLeftAndNothingElse) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    TemporaryFolder redirected(temp.path());

    // A process that has ended: its id names no process now.
    QProcess ended;
    ended.start(QStringLiteral("true"), {});
    ASSERT_TRUE(ended.waitForStarted(10000));
    const qint64 gonePid = ended.processId();
    ASSERT_TRUE(ended.waitForFinished(10000));
    ASSERT_NE(gonePid, 0);

    const QString left = QStringLiteral("rkedit-play-%1-aaaaaa").arg(gonePid);
    const QStringList kept = {
        QStringLiteral("rkedit-play-1-bbbbbb"),                  // a live process
        QStringLiteral("rkedit-play-%1-cccccc").arg(::getpid()), // this one
        QStringLiteral("rkedit-play-XXXXXX"),                    // not named so
        QStringLiteral("rkedit-play-%1").arg(gonePid),           // not named so
        QStringLiteral("other-%1-dddddd").arg(gonePid),          // another program's
    };
    QDir dir(temp.path());
    for (const QString& name : kept + QStringList(left)) {
        ASSERT_TRUE(dir.mkpath(name + QStringLiteral("/ruffle")));
        QFile file(dir.filePath(name + QStringLiteral("/index.html")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    PlayFolder folder(RuffleFolder(temp.filePath(QStringLiteral("no-ruffle")).toStdString()));
    ASSERT_TRUE(folder.isValid());
    EXPECT_TRUE(QDir(folder.path())
                    .dirName()
                    .startsWith(QStringLiteral("rkedit-play-%1-").arg(::getpid())));
    EXPECT_FALSE(dir.exists(left));
    for (const QString& name : kept)
        EXPECT_TRUE(QFile::exists(dir.filePath(name + QStringLiteral("/index.html"))))
            << name.toStdString();
}
