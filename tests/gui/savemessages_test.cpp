// What saving a stage and exporting the HTML page say when the file cannot be written: the
// first line as it always was, the second naming the file and the reason ("<file>: <reason>",
// as an open failure does), and nothing on disk changed: no partial file, no temporary left,
// an old file kept byte for byte. The failures are real ones: a folder the user may not
// write to, and a limit on the size of the files this process writes (the disk full
// part-way).
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include "document/stagedocument.h"
#include "html/htmlexport.h"
#include "recoveryfixture.h"
#include "shell/commandids.h"
#include "stage/CRKeditDoc.h"

namespace {

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// The folder's entries, hidden ones included.
QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                  QDir::Name);
}

// The text a failed write of this process gets from the system once it passes the size limit.
QString fileTooLarge() {
    return QString::fromLocal8Bit(std::strerror(EFBIG));
}

// A folder only its owner may write to, and only while the test is not run by root, whom
// UnprivilegedFileAccess turns into an ordinary user for its lifetime.
void makeReadOnlyFolder(const QString& folder) {
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner |
                                                  QFile::ReadGroup | QFile::ExeGroup |
                                                  QFile::ReadOther | QFile::ExeOther));
}

using SaveMessages = Shell;

TEST_F(SaveMessages, AStageThatCannotBeWrittenIsNamedWithTheReasonAndNothingChanges) {
    const QString locked = path("locked");
    makeReadOnlyFolder(locked);
    start({path("sample.stage")});
    StageDocument* document = documents()->activeDocument();
    ASSERT_NE(document, nullptr);
    document->doc().title = "unsaved";
    document->setModified();
    const QByteArray before = fileBytes(path("sample.stage"));
    const QStringList filesBefore = entries(dir.path());

    // 名前を付けて保存 into a folder the user may not write to.
    const QString target = locked + "/new.stage";
    {
        UnprivilegedFileAccess unprivileged;
        FileDialogAnswer chooser(target);
        MessageBoxAnswer told(QMessageBox::Ok);
        trigger(ID_FILE_SAVE_AS);
        ASSERT_EQ(told.answer.seen(), 1);
        const QStringList lines = told.text.split('\n');
        ASSERT_EQ(lines.size(), 2) << told.text.toStdString();
        EXPECT_EQ(lines[0], native(target) + " に保存できません。");
        // Found before writing (the folder's permissions), or refused by the system when
        // that check cannot tell (root's access() answers for its real user).
        const QStringList reasons{"保存先のフォルダーに書き込む権限がありません。",
                                  QCoreApplication::translate("QIODevice", "Permission denied")};
        const QString prefix = native(target) + ": ";
        EXPECT_TRUE(lines[1].startsWith(prefix) && reasons.contains(lines[1].mid(prefix.size())))
            << lines[1].toStdString();
    }
    EXPECT_TRUE(entries(locked).isEmpty()) << entries(locked).join(' ').toStdString();

    // 上書き保存 cut short by the size limit: the reason is the system's.
    {
        MessageBoxAnswer told(QMessageBox::Ok);
        {
            const FileSizeLimit limit(64);
            trigger(ID_FILE_SAVE);
        }
        ASSERT_EQ(told.answer.seen(), 1);
        const QString stage = native(path("sample.stage"));
        EXPECT_EQ(told.text.split('\n'),
                  QStringList({stage + " に保存できません。", stage + ": " + fileTooLarge()}));
    }
    EXPECT_EQ(fileBytes(path("sample.stage")), before) << "the old file is kept";
    EXPECT_EQ(entries(dir.path()), filesBefore) << "no temporary is left";
    EXPECT_TRUE(document->isModified());
    EXPECT_EQ(document->filePath(), path("sample.stage"));
}

TEST_F(SaveMessages, APictureCopyCutShortNamesTheCopyWithTheReasonAndSavesNothing) {
    const QString picture = path("pictures/pic.JPG");
    StageDocument* document = startWithPictureElsewhere(picture);
    ASSERT_NE(document, nullptr);

    // Room for the stage record, not for the picture: the copy fails part-way.
    ASSERT_GT(QFileInfo(picture).size(), 8192);
    MessageBoxAnswer copy(QMessageBox::Yes);
    MessageBoxAnswer told(QMessageBox::Ok);
    FileDialogAnswer saveAs(path("stages/a.stage"));
    {
        const FileSizeLimit limit(8192);
        trigger(ID_FILE_SAVE_AS);
    }
    ASSERT_EQ(told.answer.seen(), 1);
    EXPECT_EQ(
        told.text.split('\n'),
        QStringList({native(picture) + " を " + native(path("stages")) + " にコピーできません。",
                     native(path("stages/pic.JPG")) + ": " + fileTooLarge()}));
    EXPECT_TRUE(entries(path("stages")).isEmpty()) << "no partial picture, no stage";
    EXPECT_TRUE(document->isModified());
    EXPECT_TRUE(document->filePath().isEmpty());
}

TEST(ExportMessages, APageThatCannotBeWrittenIsNamedWithTheReasonAndNothingChanges) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile::setPermissions(dir.path(),
                          QFile::permissions(dir.path()) | QFile::ReadOther | QFile::ExeOther);
    const QString locked = dir.filePath("locked");
    makeReadOnlyFolder(locked);
    CRKeditDoc doc;
    doc.title = "a page";

    // A folder the user may not write to: the reason is what the system said.
    const QString refused = locked + "/page.html";
    {
        UnprivilegedFileAccess unprivileged;
        FileAnswer chooser([&](const FileChoice&) { return refused; });
        MessageBoxAnswer told(QMessageBox::Ok);
        EXPECT_FALSE(WriteHtmlPage(nullptr, doc));
        ASSERT_EQ(told.answer.seen(), 1);
        const QStringList lines = told.text.split('\n');
        ASSERT_EQ(lines.size(), 2) << told.text.toStdString();
        EXPECT_EQ(lines[0], "HTMLファイル " + native(refused) + " を書き出せませんでした。");
        EXPECT_EQ(lines[1], native(refused) + ": " +
                                QCoreApplication::translate("QIODevice", "Permission denied"));
    }
    EXPECT_TRUE(entries(locked).isEmpty()) << entries(locked).join(' ').toStdString();

    // Over an existing page, cut short by the size limit: the old page is kept.
    const QString page = dir.filePath("page.html");
    {
        QFile old(page);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old page");
    }
    const QStringList filesBefore = entries(dir.path());
    {
        FileAnswer chooser([&](const FileChoice&) { return page; });
        MessageBoxAnswer replace(QMessageBox::Yes); // the chooser's question before replacing
        MessageBoxAnswer told(QMessageBox::Ok);
        {
            const FileSizeLimit limit(16);
            EXPECT_FALSE(WriteHtmlPage(nullptr, doc));
        }
        ASSERT_EQ(told.answer.seen(), 1);
        EXPECT_EQ(told.text.split('\n'),
                  QStringList({"HTMLファイル " + native(page) + " を書き出せませんでした。",
                               native(page) + ": " + fileTooLarge()}));
    }
    EXPECT_EQ(fileBytes(page), "old page");
    EXPECT_EQ(entries(dir.path()), filesBefore) << "no temporary is left";
}

} // namespace
