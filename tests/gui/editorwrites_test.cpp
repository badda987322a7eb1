// The editor's own writes under the one output rule: the export never writes over the open
// stage, a FIFO, a device or a page without a write bit; a save as root keeps a file's
// protection and owner; a stage with a 250-byte name saves; a save cut short beside a stage
// is mentioned when the stage comes back through recovery too.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include "document/filesystemname.h"
#include "document/stagedocument.h"
#include "file/regularfile.h"
#include "html/htmlexport.h"
#include "recoveryfixture.h"
#include "shell/commandids.h"
#include "shell/recoverykeeper.h"
#include "stage/CRKeditDoc.h"

namespace {

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString modeAndOwner(const QString& path) {
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return QStringLiteral("%1 %2 %3")
        .arg(info.st_mode & 07777, 0, 8)
        .arg(info.st_uid)
        .arg(info.st_gid);
}

using EditorWrites = RecoveryShell;

TEST_F(EditorWrites, TheExportNeverReplacesTheOpenStageASpecialFileOrAReadOnlyPage) {
    const QString stage = path("sample.stage");
    const QByteArray stageBytes = fileBytes(stage);
    const QString hardLink = path("hard.html");
    ASSERT_EQ(::link(QFile::encodeName(stage).constData(), QFile::encodeName(hardLink).constData()),
              0);
    const QString fifo = path("fifo.html");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString readOnly = path("readonly.html");
    {
        QFile page(readOnly);
        ASSERT_TRUE(page.open(QIODevice::WriteOnly));
        page.write("old page");
    }
    ASSERT_EQ(::chmod(QFile::encodeName(readOnly).constData(), 0444), 0);
    CRKeditDoc doc;
    doc.title = "a page";

    struct Row {
        QString target;
        QString reason;
    };
    const Row rows[] = {
        {stage, "開いているファイル " + native(stage) + " そのものです。書き出しませんでした。"},
        {hardLink, "開いているファイル " + native(stage) + " そのものです。書き出しませんでした。"},
        {fifo, "通常のファイルではありません。"},
        {"/dev/null", "通常のファイルではありません。"},
        {readOnly, "ファイルは書き込み禁止になっています。"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.target.toStdString());
        FileAnswer chooser([&](const FileChoice&) { return row.target; });
        MessageBoxAnswer replace(QMessageBox::Yes); // the chooser's question: it exists
        MessageBoxAnswer told(QMessageBox::Ok);
        EXPECT_FALSE(WriteHtmlPage(nullptr, doc, true, stage)); // Ruffle too: refused first
        ASSERT_EQ(told.answer.seen(), 1);
        EXPECT_EQ(told.text.split('\n'),
                  QStringList({"HTMLファイル " + native(row.target) + " を書き出せませんでした。",
                               native(row.target) + ": " + row.reason}));
    }
    EXPECT_EQ(fileBytes(stage), stageBytes);
    EXPECT_TRUE(QFileInfo::exists(fifo) && !QFileInfo(fifo).isFile()) << "still a FIFO";
    EXPECT_EQ(fileBytes(readOnly), "old page");
    EXPECT_EQ(modeAndOwner(readOnly).section(' ', 0, 0), "444");
    EXPECT_FALSE(QFileInfo::exists(path("ruffle"))) << "no Ruffle put beside a refused page";

    // A page with a write bit is replaced keeping its mode (and owner, for root).
    const QString kept = path("kept.html");
    {
        QFile page(kept);
        ASSERT_TRUE(page.open(QIODevice::WriteOnly));
        page.write("old page");
    }
    ASSERT_EQ(::chmod(QFile::encodeName(kept).constData(), 0640), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(kept).constData(), 65534, 65534), 0);
    }
    const QString before = modeAndOwner(kept);
    FileAnswer chooser([&](const FileChoice&) { return kept; });
    MessageBoxAnswer replace(QMessageBox::Yes);
    EXPECT_TRUE(WriteHtmlPage(nullptr, doc, false, stage));
    EXPECT_TRUE(fileBytes(kept).startsWith("<HTML>"));
    EXPECT_EQ(modeAndOwner(kept), before);
}

TEST_F(EditorWrites, SavingKeepsProtectionAndOwnerForRootToo) {
    start({path("sample.stage")});
    StageDocument* document = documents()->activeDocument();
    ASSERT_NE(document, nullptr);
    const QByteArray before = fileBytes(path("sample.stage"));

    // 0444: refused, whoever runs the editor.
    ASSERT_EQ(::chmod(QFile::encodeName(path("sample.stage")).constData(), 0444), 0);
    document->doc().life = "9";
    document->setModified();
    document->updateAllViews(); // the open panel shows it, as after an edit there
    {
        MessageBoxAnswer told(QMessageBox::Ok);
        trigger(ID_FILE_SAVE);
        ASSERT_EQ(told.answer.seen(), 1);
        EXPECT_EQ(told.text.split('\n'),
                  QStringList(
                      {native(path("sample.stage")) + " に保存できません。",
                       native(path("sample.stage")) + ": ファイルは書き込み禁止になっています。"}));
    }
    EXPECT_EQ(fileBytes(path("sample.stage")), before);
    EXPECT_EQ(modeAndOwner(path("sample.stage")).section(' ', 0, 0), "444");
    EXPECT_TRUE(document->isModified());

    // Writable, owned by another user: saved, mode and owner kept.
    ASSERT_EQ(::chmod(QFile::encodeName(path("sample.stage")).constData(), 0660), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(path("sample.stage")).constData(), 65534, 65534), 0);
    }
    const QString owner = modeAndOwner(path("sample.stage"));
    trigger(ID_FILE_SAVE);
    EXPECT_FALSE(document->isModified());
    EXPECT_TRUE(fileBytes(path("sample.stage")).contains("&life=9&"));
    EXPECT_EQ(modeAndOwner(path("sample.stage")), owner);
}

TEST_F(EditorWrites, AStageWithA250ByteNameSavesAndItsLeftoverTemporaryIsFound) {
    const QString name = QString(244, QLatin1Char('s')) + QStringLiteral(".stage");
    ASSERT_EQ(QFile::encodeName(name).size(), 250);
    ASSERT_TRUE(QFile::copy(path("sample.stage"), path(name)));
    start({path(name)});
    StageDocument* document = documents()->activeDocument();
    ASSERT_NE(document, nullptr);
    document->doc().life = "9";
    document->setModified();
    document->updateAllViews();
    trigger(ID_FILE_SAVE); // an unanswered failure box would fail the test
    EXPECT_FALSE(document->isModified());
    EXPECT_TRUE(fileBytes(path(name)).contains("&life=9&"));
    app.reset();
    settle();

    // What a save killed part-way leaves beside it: the cut name, six letters.
    const QString leftover = name.left(248) + QStringLiteral(".Ab12Cd");
    ASSERT_EQ(QFile::encodeName(leftover).size(), 255);
    {
        QFile file(path(leftover));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("version=RK&graphicWidth=6");
    }
    MessageBoxAnswer told(QMessageBox::Ok);
    start({path(name)});
    EXPECT_EQ(told.answer.seen(), 1);
    EXPECT_TRUE(told.text.contains(leftover)) << told.text.toStdString();
}

TEST_F(EditorWrites, ALeftoverTemporaryIsMentionedWhenTheStageComesBackThroughRecovery) {
    {
        RecoveryStore earlier(root);
        ASSERT_TRUE(earlier.open());
        ASSERT_TRUE(earlier.write("stage1", fileBytes(path("sample.stage")), path("sample.stage"),
                                  "sample.stage"));
        earlier.close();
    }
    {
        QFile file(path("sample.stage.Ab12Cd"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("version=RK&graphicWidth=6");
    }
    MessageBoxAnswer told(QMessageBox::Ok);
    start({"--recovery=restore"});
    ASSERT_EQ(documents()->documents().size(), 1);
    EXPECT_EQ(documents()->activeDocument()->filePath(), path("sample.stage"));
    EXPECT_EQ(told.answer.seen(), 1);
    EXPECT_TRUE(told.text.contains("sample.stage.Ab12Cd")) << told.text.toStdString();
    EXPECT_TRUE(QFileInfo::exists(path("sample.stage.Ab12Cd"))) << "mentioned, never removed";
}

TEST_F(EditorWrites, ATruncatedPictureShowsAndTheBoxSaysSoNamingTheFile) {
    const QByteArray picture = fileBytes(path("sample.JPG"));
    {
        QFile cut(path("sample.JPG"));
        ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
        cut.write(picture.left(picture.size() / 2));
    }
    MessageBoxAnswer told(QMessageBox::Ok);
    start({path("sample.stage")});
    ASSERT_EQ(told.answer.seen(), 1);
    EXPECT_EQ(told.text,
              native(path("sample.JPG")) +
                  ": 画像ファイルが途中で切れています。読み込めた部分だけを表示します。");
    ASSERT_NE(documents()->activeDocument(), nullptr);
    EXPECT_FALSE(documents()->activeDocument()->doc().picture.empty()) << "shown all the same";
}

TEST_F(EditorWrites, AStageWhoseNameIsNotUtf8OpensAndSavesUnderItsOwnBytes) {
    // A folder and a stage named with bytes no UTF-8 holds, the picture beside it.
    const QByteArray folder = fileSystemName(dir.path()) + "/dir\xff\xfe";
    const QByteArray stage = folder + "/st\xff\xfe.stage";
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    ASSERT_EQ(::link(fileSystemName(path("sample.stage")).constData(), stage.constData()), 0);
    ASSERT_EQ(::link(fileSystemName(path("sample.JPG")).constData(),
                     (folder + "/sample.JPG").constData()),
              0);
    start({fromFileSystemName(stage)}); // a box (not found, no picture) would fail the test
    StageDocument* document = documents()->activeDocument();
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(fileSystemName(document->filePath()), stage);
    EXPECT_FALSE(document->doc().picture.empty()) << "the picture beside it is loaded";

    document->doc().life = "9";
    document->setModified();
    document->updateAllViews();
    trigger(ID_FILE_SAVE);
    EXPECT_FALSE(document->isModified());
    std::string bytes;
    {
        FileFailure failure;
        ASSERT_TRUE(readRegularFile(stage.toStdString(), 1 << 20, bytes, failure));
    }
    EXPECT_NE(bytes.find("&life=9&"), std::string::npos);
}

} // namespace
