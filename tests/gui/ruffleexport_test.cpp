#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "guitesthelpers.h"

#include "html/ChtmlDlg.h"
#include "html/htmlexport.h"
#include "html/htmlpage.h"
#include "stage/CRKeditDoc.h"

namespace {

QCheckBox* ruffleBox(const ChtmlDlg& d) {
    return static_cast<QCheckBox*>(d.control(ChtmlDlg::IDC_RUFFLE));
}

// A stand-in for the Ruffle package: what the export copies and how it tells versions apart.
void makeRuffle(const QString& folder, const QByteArray& version) {
    ASSERT_TRUE(QDir().mkpath(folder));
    writeFile(folder + QStringLiteral("/package.json"),
              "{\"name\":\"@ruffle-rs/ruffle\",\"version\":\"" + version + "\"}");
    writeFile(folder + QStringLiteral("/ruffle.js"), "// ruffle " + version);
    writeFile(folder + QStringLiteral("/LICENSE_MIT"), "MIT");
}

// Points the program at a Ruffle folder for the length of a test.
struct RuffleDirectory {
    explicit RuffleDirectory(const QString& path) {
        qputenv("RKEDIT_RUFFLE_DIR", path.toLocal8Bit());
    }
    ~RuffleDirectory() { qunsetenv("RKEDIT_RUFFLE_DIR"); }
};

// One export through the dialog: `check` sets the box (after recording how it opened), then
// OK or Cancel; the file chooser that follows an OK is cancelled.
bool openedChecked(CRKeditDoc& doc, bool check, bool ok) {
    bool opened = false;
    ModalAnswer<ChtmlDlg> dialog([&](ChtmlDlg* d) {
        opened = ruffleBox(*d)->isChecked();
        ruffleBox(*d)->setChecked(check);
        ok ? d->accept() : d->reject();
    });
    FileAnswer chooser([](const FileChoice&) { return QString(); });
    runHtmlExport(nullptr, doc);
    EXPECT_EQ(dialog.seen(), 1);
    EXPECT_EQ(chooser.seen(), ok ? 1 : 0);
    return opened;
}

} // namespace

TEST(RuffleExport, CheckBoxStartsOffAndKeepsTheLastConfirmedChoice) {
    QSettings().remove(QLatin1String(ruffleExportSettingsKey));
    CRKeditDoc doc;
    ChtmlDlg bare;
    ASSERT_NE(ruffleBox(bare), nullptr);
    EXPECT_EQ(ruffleBox(bare)->text(), QStringLiteral("Ruffle で再生できるようにする"));

    EXPECT_FALSE(openedChecked(doc, true, false)) << "off when nothing is saved";
    EXPECT_FALSE(openedChecked(doc, true, true)) << "Cancel saved nothing";
    EXPECT_TRUE(openedChecked(doc, false, true)) << "OK saved the check";
    EXPECT_FALSE(openedChecked(doc, false, true)) << "OK saved the uncheck";
    EXPECT_FALSE(QSettings().value(QLatin1String(ruffleExportSettingsKey)).toBool());
}

TEST(RuffleExport, WritesThePageWithRuffleAndTheFolderBesideIt) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("share/ruffle"));
    makeRuffle(source, "0.6.0");
    writeFile(source + QStringLiteral("/ruffle.js.map"), "map");
    RuffleDirectory env(source);
    const QString site = dir.filePath(QStringLiteral("site"));
    ASSERT_TRUE(QDir().mkpath(site));
    const QString page = site + QStringLiteral("/page.html");
    CRKeditDoc doc;
    doc.graphicWidth = "640";
    const std::string want = composeHtmlPage(doc, true);
    auto exportTo = [&](const QString& path) {
        FileAnswer chooser([&](const FileChoice&) { return path; });
        return WriteHtmlPage(nullptr, doc, true);
    };

    ASSERT_TRUE(exportTo(page));
    EXPECT_EQ(fileBytes(page), QByteArray(want.data(), qsizetype(want.size())));
    EXPECT_EQ(fileBytes(site + QStringLiteral("/ruffle/ruffle.js")), QByteArray("// ruffle 0.6.0"));
    EXPECT_EQ(fileBytes(site + QStringLiteral("/ruffle/LICENSE_MIT")), QByteArray("MIT"));
    EXPECT_FALSE(QFile::exists(site + QStringLiteral("/ruffle/ruffle.js.map")));

    // Another version there: kept on "No" (the page is written all the same), replaced on
    // "Yes".
    makeRuffle(site + QStringLiteral("/ruffle"), "0.1.0");
    for (const bool replace : {false, true}) {
        QFile::remove(page); // no question about replacing the page
        MessageBoxAnswer box(replace ? QMessageBox::Yes : QMessageBox::No);
        ASSERT_TRUE(exportTo(page));
        EXPECT_TRUE(box.text.contains(QStringLiteral("0.1.0"))) << box.text.toStdString();
        EXPECT_EQ(fileBytes(site + QStringLiteral("/ruffle/ruffle.js")),
                  replace ? QByteArray("// ruffle 0.6.0") : QByteArray("// ruffle 0.1.0"));
        EXPECT_EQ(fileBytes(page), QByteArray(want.data(), qsizetype(want.size())));
    }

    // Something else named ruffle: reported, untouched, no page.
    ASSERT_TRUE(QDir(site + QStringLiteral("/ruffle")).removeRecursively());
    QFile::remove(page);
    writeFile(site + QStringLiteral("/ruffle"), "mine");
    {
        MessageBoxAnswer box(QMessageBox::Ok);
        EXPECT_FALSE(exportTo(page));
        EXPECT_TRUE(box.text.contains(QStringLiteral("ruffle"))) << box.text.toStdString();
    }
    EXPECT_EQ(fileBytes(site + QStringLiteral("/ruffle")), QByteArray("mine"));
    EXPECT_FALSE(QFile::exists(page));
}

TEST(RuffleExport, MissingRuffleIsReportedWithWhereItLookedAndNothingIsWritten) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    RuffleDirectory env(dir.filePath(QStringLiteral("no-ruffle-here")));
    const QString page = dir.filePath(QStringLiteral("page.html"));
    CRKeditDoc doc;
    FileAnswer chooser([&](const FileChoice&) { return page; });
    MessageBoxAnswer box(QMessageBox::Ok);
    EXPECT_FALSE(WriteHtmlPage(nullptr, doc, true));
    EXPECT_TRUE(box.text.contains(QStringLiteral("no-ruffle-here"))) << box.text.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList());
}

TEST(RuffleExport, Swf5MovieWithJapaneseTextWarns) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("share/ruffle"));
    makeRuffle(source, "0.6.0");
    RuffleDirectory env(source);
    const QString page = dir.filePath(QStringLiteral("page.html"));
    writeFile(dir.filePath(QStringLiteral("rk.swf")), QByteArray("FWS\x05", 4));
    CRKeditDoc doc;
    doc.title = "\x83\x58\x83\x65\x81\x5b\x83\x57"; // ステージ in CP932
    FileAnswer chooser([&](const FileChoice&) { return page; });
    MessageBoxAnswer box(QMessageBox::Ok);
    EXPECT_TRUE(WriteHtmlPage(nullptr, doc, true));
    EXPECT_EQ(box.answer.seen(), 1);
    EXPECT_TRUE(box.text.contains(QStringLiteral("日本語"))) << box.text.toStdString();
}
