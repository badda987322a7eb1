#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "guitesthelpers.h"

#include "html/ChtmlDlg.h"
#include "html/htmlexport.h"
#include "html/htmlpage.h"
#include "stage/CRKeditDoc.h"

namespace {

bool isChecked(const ChtmlDlg& d, int id) {
    return static_cast<QAbstractButton*>(d.control(id))->isChecked();
}

void showAndPaint(ChtmlDlg& d) {
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    for (int i = 0; i < 50 && d.initRadioButtons; ++i)
        QTest::qWait(10);
}

QLineEdit* edit(const ChtmlDlg& d, int id) {
    return static_cast<QLineEdit*>(d.control(id));
}

// Lets the dialog's first paint initialise its radio buttons.
void waitForFirstPaint(ChtmlDlg* d) {
    for (int i = 0; i < 100 && d->initRadioButtons; ++i)
        QTest::qWait(10);
}

} // namespace

TEST(ChtmlDlg, RadioButtonsFollowTheExactWordsAtFirstPaintAndOkKeepsOtherTexts) {
    const struct {
        const char* quality;
        const char* annotation;
        int qualityId; // 0: none checked
        int annotationId;
    } rows[] = {
        {"high", "right", 1044, 1047}, {"medium", "bottom", 1045, 1048},
        {"low", "none", 1046, 1049},   {"", "", 0, 0},
        {"best", "Right", 0, 0},       {"High", " none", 0, 0},
        {"lowest", "bottom ", 0, 0},
    };
    for (const auto& r : rows) {
        ChtmlDlg d;
        d.values.quality = r.quality;
        d.values.annotationPosition = r.annotation;
        d.initRadioButtons = true;
        showAndPaint(d);
        EXPECT_FALSE(d.initRadioButtons) << "the first paint clears the flag";
        for (int id = 1044; id <= 1049; ++id)
            EXPECT_EQ(isChecked(d, id), id == r.qualityId || id == r.annotationId)
                << r.quality << "/" << r.annotation << " button " << id;
        // OK without touching the groups: a group with nothing checked keeps its text.
        d.accept();
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(d.values.quality, r.quality);
        EXPECT_EQ(d.values.annotationPosition, r.annotation);
    }
}

TEST(ChtmlDlg, OkTakesTheCheckedWordsAndTheEditedTexts) {
    ChtmlDlg d;
    d.values.quality = "best";
    d.values.annotationPosition = "";
    d.values.title = "old";
    d.initRadioButtons = true;
    showAndPaint(d);
    static_cast<QRadioButton*>(d.control(1046))->click();
    static_cast<QRadioButton*>(d.control(1048))->click();
    edit(d, 1000)->setText(QStringLiteral("ステージ \"1\" <b>"));
    edit(d, 1001)->setText(QStringLiteral("s1.txt"));
    // The title's markup characters are written as they are, after a warning.
    MessageBoxAnswer warned(QMessageBox::Yes);
    QTest::mouseClick(static_cast<QAbstractButton*>(d.control(1)), Qt::LeftButton);
    EXPECT_EQ(warned.answer.seen(), 1);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.values.quality, "low");
    EXPECT_EQ(d.values.annotationPosition, "bottom");
    EXPECT_EQ(d.values.title, "\x83X\x83"
                              "e\x81[\x83W \"1\" <b>"); // CP932, verbatim
    EXPECT_EQ(d.values.configFileName, "s1.txt");
}

TEST(ChtmlDlg, UntouchedTextsKeepTheirBytesAndUnwritableTextsAreRefused) {
    ChtmlDlg d;
    d.values.title = "a\x81\x20z"; // not valid CP932: shown with a mark, kept unless edited
    d.values.configFileName = "\x95\\.txt";
    d.initRadioButtons = true;
    showAndPaint(d);
    EXPECT_EQ(edit(d, 1001)->text(), QStringLiteral("表.txt"));

    // A character Shift-JIS cannot hold: a message, the dialog stays open, nothing taken.
    edit(d, 1001)->setText(QStringLiteral("\U0001F600.txt"));
    MessageBoxAnswer box(QMessageBox::Ok);
    d.accept();
    EXPECT_FALSE(box.text.isEmpty());
    EXPECT_NE(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.values.configFileName, "\x95\\.txt");

    edit(d, 1001)->setText(QStringLiteral("表.txt"));
    d.accept();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.values.title, "a\x81\x20z");
    EXPECT_EQ(d.values.configFileName, "\x95\\.txt");
}

TEST(ChtmlDlg, ColourButtonsShowTheirColourAndTakeTheChosenOne) {
    ChtmlDlg d;
    d.values.bgcolorGame = 0x000000ff; // red
    d.values.bgcolorHtml = 0x00ff0000; // blue
    showAndPaint(d);
    auto* game = static_cast<QAbstractButton*>(d.control(1002));
    auto* page = static_cast<QAbstractButton*>(d.control(1003));
    auto colourOf = [](QWidget* w) {
        const QImage image = w->grab().toImage();
        return std::pair(image.pixelColor(0, 0),
                         image.pixelColor(image.width() - 1, image.height() - 1));
    };
    EXPECT_EQ(colourOf(game), std::pair(QColor(255, 0, 0), QColor(255, 0, 0)));
    EXPECT_EQ(colourOf(page), std::pair(QColor(0, 0, 255), QColor(0, 0, 255)));

    // Confirmed: the value is 0x00BBGGRR of the chosen colour and the button shows it.
    QColor preset;
    {
        ModalAnswer<QColorDialog> chooser([&](QColorDialog* c) {
            preset = c->currentColor();
            c->setCurrentColor(QColor(0x12, 0x34, 0x56));
            c->accept();
        });
        QTest::mouseClick(game, Qt::LeftButton);
        EXPECT_EQ(chooser.seen(), 1);
    }
    EXPECT_EQ(preset, QColor(255, 0, 0));
    EXPECT_EQ(d.values.bgcolorGame, 0x00563412u);
    EXPECT_EQ(d.values.bgcolorHtml, 0x00ff0000u);
    EXPECT_EQ(colourOf(game), std::pair(QColor(0x12, 0x34, 0x56), QColor(0x12, 0x34, 0x56)));

    // Cancelled: nothing changes.
    {
        ModalAnswer<QColorDialog> chooser([&](QColorDialog* c) {
            preset = c->currentColor();
            c->setCurrentColor(QColor(1, 2, 3));
            c->reject();
        });
        QTest::mouseClick(page, Qt::LeftButton);
        EXPECT_EQ(chooser.seen(), 1);
    }
    EXPECT_EQ(preset, QColor(0, 0, 255));
    EXPECT_EQ(d.values.bgcolorHtml, 0x00ff0000u);
    EXPECT_EQ(colourOf(page).first, QColor(0, 0, 255));
}

TEST(HtmlExport, CancelLeavesTheDocumentAsItWas) {
    CRKeditDoc doc;
    doc.bgcolorGame = 0x00112233;
    doc.title = "t";
    ModalAnswer<ChtmlDlg> dialog([](ChtmlDlg* d) {
        waitForFirstPaint(d);
        d->values.bgcolorGame = 0x00ffffff; // as a colour chooser would have set it
        static_cast<QRadioButton*>(d->control(1044))->click();
        edit(*d, 1000)->setText(QStringLiteral("changed"));
        QTest::mouseClick(static_cast<QAbstractButton*>(d->control(2)), Qt::LeftButton);
    });
    EXPECT_FALSE(runHtmlExport(nullptr, doc));
    EXPECT_EQ(dialog.seen(), 1);
    EXPECT_EQ(doc.bgcolorGame, 0x00112233u);
    EXPECT_EQ(doc.title, "t");
    EXPECT_EQ(doc.quality, "");
}

TEST(HtmlExport, OkStoresTheValuesAndWritesThePageWhereChosen) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CRKeditDoc doc;
    doc.graphicWidth = "640";
    doc.graphicHeight = "480";
    ModalAnswer<ChtmlDlg> dialog([&](ChtmlDlg* d) {
        waitForFirstPaint(d);
        EXPECT_EQ(d->windowTitle(), QStringLiteral("htmlファイルの書き出し"));
        static_cast<QRadioButton*>(d->control(1048))->click();
        edit(*d, 1001)->setText(QStringLiteral("s1.txt"));
        d->values.bgcolorHtml = 0x00ffffff;
        d->accept();
    });
    FileAnswer chooser([&](const FileChoice& f) {
        EXPECT_EQ(f.mode, FileChoice::Mode::Save);
        // A name typed without an extension gets this one.
        EXPECT_EQ(f.defaultSuffix, QStringLiteral("html"));
        EXPECT_EQ(f.nameFilters, QStringList(QStringLiteral("htmlファイル (*.html *.htm)")));
        return dir.filePath(QStringLiteral("page.html"));
    });
    EXPECT_TRUE(runHtmlExport(nullptr, doc));
    EXPECT_EQ(chooser.seen(), 1);
    EXPECT_EQ(doc.annotationPosition, "bottom");
    EXPECT_EQ(doc.configFileName, "s1.txt");
    EXPECT_EQ(doc.bgcolorHtml, 0x00ffffffu);
    EXPECT_EQ(doc.quality, ""); // nothing checked, nothing changed
    const std::string page = composeHtmlPage(doc);
    EXPECT_EQ(fileBytes(dir.filePath(QStringLiteral("page.html"))),
              QByteArray(page.data(), qsizetype(page.size())));

    // A second export opens with what the first stored.
    bool checkedBelow = false;
    QString fileName;
    ModalAnswer<ChtmlDlg> again([&](ChtmlDlg* d) {
        waitForFirstPaint(d);
        checkedBelow = isChecked(*d, 1048);
        fileName = edit(*d, 1001)->text();
        d->reject();
    });
    EXPECT_FALSE(runHtmlExport(nullptr, doc));
    EXPECT_TRUE(checkedBelow);
    EXPECT_EQ(fileName, QStringLiteral("s1.txt"));
}

TEST(HtmlExport, CancellingTheFileChooserKeepsTheStoredValuesAndWritesNothing) {
    QTemporaryDir dir;
    CRKeditDoc doc;
    ModalAnswer<ChtmlDlg> dialog([&](ChtmlDlg* d) {
        waitForFirstPaint(d);
        edit(*d, 1000)->setText(QStringLiteral("kept"));
        d->accept();
    });
    FileAnswer chooser([](const FileChoice&) { return QString(); });
    EXPECT_TRUE(runHtmlExport(nullptr, doc));
    EXPECT_EQ(chooser.seen(), 1);
    EXPECT_EQ(doc.title, "kept");
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST(HtmlExport, AFileThatCannotBeWrittenIsReportedAndNothingIsLeft) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Root can write anywhere, so the failures come from the path itself: a folder under a
    // regular file, and a target that is a folder.
    const QString plainFile = dir.filePath(QStringLiteral("plain"));
    {
        QFile f(plainFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep");
    }
    const QString folder = dir.filePath(QStringLiteral("folder.html"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.html")));
    for (const QString& target : {plainFile + QStringLiteral("/page.html"), folder}) {
        QString error;
        EXPECT_FALSE(saveHtmlFile(target, "<HTML>\r\n", error)) << target.toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(fileBytes(plainFile), QByteArray("keep"));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList({QStringLiteral("folder.html"), QStringLiteral("plain")}));

    // Through the command: the failure is reported in a message box.
    CRKeditDoc doc;
    FileAnswer chooser([&](const FileChoice&) { return plainFile + QStringLiteral("/page.html"); });
    MessageBoxAnswer box(QMessageBox::Ok);
    EXPECT_FALSE(WriteHtmlPage(nullptr, doc));
    EXPECT_TRUE(box.text.contains(QStringLiteral("page.html"))) << box.text.toStdString();
    EXPECT_EQ(fileBytes(plainFile), QByteArray("keep"));
}

TEST(HtmlExport, ReplacingAnExistingFileAsksFirst) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.html"));
    QString error;
    ASSERT_TRUE(saveHtmlFile(path, "old", error));
    CRKeditDoc doc;

    for (const bool replace : {false, true}) {
        // The existing file first; the second time round, the chooser is cancelled.
        FileAnswer chooser([&](const FileChoice&) { return path; });
        FileAnswer again([](const FileChoice&) { return QString(); });
        QString asked;
        MessageAnswer question([&](const MessageChoice& box) {
            asked = box.text;
            EXPECT_EQ(box.defaultButton, QMessageBox::No);
            return replace ? QMessageBox::Yes : QMessageBox::No;
        });
        EXPECT_EQ(WriteHtmlPage(nullptr, doc), replace);
        EXPECT_EQ(question.seen(), 1);
        EXPECT_TRUE(asked.contains(QStringLiteral("page.html"))) << asked.toStdString();
        EXPECT_EQ(again.seen() == 1, !replace); // "No" goes back to the chooser
        const std::string page = composeHtmlPage(doc);
        EXPECT_EQ(fileBytes(path),
                  replace ? QByteArray(page.data(), qsizetype(page.size())) : QByteArray("old"));
    }
}

TEST(HtmlExport, ProposesTheStageFileAndAPageBesideIt) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString stage = dir.filePath(QStringLiteral("stage1.txt"));
    CRKeditDoc doc;
    QString proposedName;
    ModalAnswer<ChtmlDlg> dialog([&](ChtmlDlg* d) {
        waitForFirstPaint(d);
        proposedName = edit(*d, 1001)->text();
        d->accept();
    });
    QString folder;
    QString selected;
    FileAnswer chooser([&](const FileChoice& f) {
        folder = f.directory;
        selected = f.selection;
        return QString();
    });
    EXPECT_TRUE(runHtmlExport(nullptr, doc, stage));
    EXPECT_EQ(chooser.seen(), 1);
    EXPECT_EQ(proposedName, QStringLiteral("stage1.txt"));
    EXPECT_EQ(doc.configFileName, "stage1.txt"); // stored when accepted
    EXPECT_EQ(folder, QDir(dir.path()).absolutePath());
    EXPECT_EQ(selected, QStringLiteral("stage1.html"));

    // A name the user set stays; a stage never saved proposes nothing.
    doc.configFileName = "other.txt";
    dialog.rearm();
    chooser.rearm();
    runHtmlExport(nullptr, doc, stage);
    EXPECT_EQ(proposedName, QStringLiteral("other.txt"));
    CRKeditDoc fresh;
    dialog.rearm();
    chooser.rearm();
    runHtmlExport(nullptr, fresh);
    EXPECT_EQ(proposedName, QString());
    EXPECT_EQ(fresh.configFileName, "");
    EXPECT_EQ(proposedPagePath(QString()), QString());
}

TEST(HtmlExport, ATitleThatBreaksTheMarkupIsWrittenOnlyAfterAWarning) {
    for (const char* title : {"a<b", "x>y", "R&D", "say \"hi\""}) {
        SCOPED_TRACE(title);
        CRKeditDoc doc;
        int warnings = 0;
        bool stillOpen = false;
        QString warning;
        ModalAnswer<ChtmlDlg> dialog([&](ChtmlDlg* d) {
            waitForFirstPaint(d);
            edit(*d, 1000)->setText(QString::fromUtf8(title));
            // First "No": the dialog stays open for the title to be fixed; then "Yes".
            MessageBoxAnswer no(QMessageBox::No);
            d->accept();
            warnings += no.answer.seen();
            warning = no.text;
            stillOpen = d->isVisible();
            MessageBoxAnswer yes(QMessageBox::Yes);
            d->accept();
            warnings += yes.answer.seen();
        });
        FileAnswer chooser([](const FileChoice&) { return QString(); });
        EXPECT_TRUE(runHtmlExport(nullptr, doc));
        EXPECT_EQ(warnings, 2);
        EXPECT_TRUE(stillOpen);
        EXPECT_TRUE(warning.contains(QStringLiteral("\" < > &"))) << warning.toStdString();
        EXPECT_EQ(doc.title, title); // written unchanged
    }
    // A plain title asks nothing.
    CRKeditDoc doc;
    ModalAnswer<ChtmlDlg> dialog([&](ChtmlDlg* d) {
        waitForFirstPaint(d);
        edit(*d, 1000)->setText(QStringLiteral("ステージ1"));
        d->accept();
    });
    FileAnswer chooser([](const FileChoice&) { return QString(); });
    MessageBoxAnswer none(QMessageBox::Yes);
    runHtmlExport(nullptr, doc);
    EXPECT_EQ(none.answer.seen(), 0);
}
