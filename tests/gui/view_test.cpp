// The stage view in its window: painting, frame fitting and the size write-back, the current
// view, posted commands, and the HTML export command's effect on the modified mark.
#include <QImage>
#include <QLineEdit>

#include "document/stagedocument.h"
#include "html/ChtmlDlg.h"
#include "shell/childframe.h"
#include "shell/commandids.h"
#include "shellfixture.h"
#include "stage/CRKeditDoc.h"
#include "view/CRKeditView.h"
#include "view/paintinputs.h"

namespace {

QRgb rgbOf(std::uint32_t bbggrr) {
    return qRgb(int(bbggrr & 0xFF), int((bbggrr >> 8) & 0xFF), int((bbggrr >> 16) & 0xFF));
}

// Paints the view the way the screen would, until its size stops changing.
QImage paintSettled(CRKeditView* view) {
    QImage image;
    for (int i = 0; i < 4; ++i) {
        image = view->grab().toImage();
        settle();
    }
    return image;
}

TEST_F(Shell, StageWindowShowsTheGameBackground) {
    start({path("sample.stage")});
    CRKeditView* view = documents()->activeView();
    ASSERT_NE(view, nullptr);
    int paints = 0;
    QObject::connect(view, &CRKeditView::painted, [&paints] { ++paints; });
    const QImage image = paintSettled(view);
    EXPECT_FALSE(view->firstDraw);
    EXPECT_GE(paints, 1);
    const CRKeditDoc& doc = *view->GetDocument();
    ASSERT_NE(doc.bgcolorGame, 0u) << "the sample should have a visible game background";
    // The background rectangle has the default black pen as its border. Just inside its
    // bottom-left corner is background in every state: the paddle area once the window is
    // fitted to a picture, the whole view before.
    EXPECT_EQ(image.pixel(0, image.height() - 1), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(1, image.height() - 2), rgbOf(doc.bgcolorGame));
    EXPECT_FALSE(view->stageDocument()->isModified());
}

TEST_F(Shell, FittingToThePictureWritesTheSizeBackWithoutMarkingModified) {
    // The file claims 600 pixels; the picture has 640.
    QByteArray bytes = fileBytes(path("sample.stage"));
    bytes.replace("graphicWidth=640&", "graphicWidth=600&");
    {
        QFile file(path("narrow.stage"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    start({path("narrow.stage")});
    CRKeditView* view = documents()->activeView();
    ASSERT_NE(view, nullptr);
    CRKeditDoc& doc = *view->GetDocument();
    // The first paint opened the properties panel, which handed the view the picture.
    paintSettled(view);
    EXPECT_EQ(view->picture, doc.picture);
    EXPECT_EQ(doc.graphicWidth, "640");
    EXPECT_EQ(doc.graphicHeight, "480");
    EXPECT_EQ(view->size(), QSize(640, 480 + 150));
    EXPECT_FALSE(view->stageDocument()->isModified());
    // The write-back is a step of its own after the loading: a paint leaves the document as
    // it is.
    doc.graphicWidth = "600";
    view->repaint();
    EXPECT_EQ(doc.graphicWidth, "600");
}

TEST_F(Shell, CurrentViewIsNeverADestroyedOne) {
    start();
    CRKeditView* first = documents()->activeView();
    trigger(ID_FILE_NEW);
    CRKeditView* second = documents()->activeView();
    ASSERT_EQ(CRKeditView::current(), second);

    // A command posted to a view that goes before it runs is dropped with it.
    second->postCommand(ID_DOC_TO_PANEL);
    trigger(ID_FILE_CLOSE);
    EXPECT_EQ(CRKeditView::current(), first);
    trigger(ID_FILE_CLOSE);
    EXPECT_EQ(CRKeditView::current(), nullptr);
    EXPECT_TRUE(documents()->documents().isEmpty());
}

TEST_F(Shell, HtmlExportValuesMarkTheStageModifiedOnlyWhenChanged) {
    start({path("sample.stage")});
    StageDocument* document = documents()->activeDocument();
    // A stage file name the page loads is set, so the dialog proposes none.
    document->doc().configFileName = "sample.stage";
    for (const bool change : {false, true}) {
        SCOPED_TRACE(change);
        ModalAnswer<ChtmlDlg> dialog([change](ChtmlDlg* html) {
            if (change)
                qobject_cast<QLineEdit*>(html->control(ChtmlDlg::IDC_TITLE))
                    ->setText(QStringLiteral("夕焼けステージ"));
            html->accept();
        });
        FileAnswer noPage([](const FileChoice&) { return QString(); });
        trigger(ID_HTML_EXPORT);
        EXPECT_EQ(dialog.seen(), 1);
        EXPECT_EQ(document->isModified(), change);
    }
    EXPECT_EQ(document->doc().title, "\x97\x5B\x8F\xC4\x82\xAF\x83\x58\x83\x65\x81\x5B\x83\x57");
    EXPECT_EQ(frame()->windowTitle(), "rkedit - sample.stage[*]");
    EXPECT_TRUE(frame()->isWindowModified());
}

// A paint is skipped when its inputs equal the last paint's: every field the painter reads
// must be among them, or a changed stage would keep showing the old frame.
TEST(PaintInputs, EveryLayoutFieldTheBackgroundAndTheCellsAreCompared) {
    CRKeditDoc doc;
    const PictureHolder picture;
    const PaintInputs before = PaintInputs::of(doc, picture, 2, 1, 64, 48);
    for (const StageField* f : layoutFields()) {
        CRKeditDoc changed = doc;
        changed.*f->text += "1";
        const PaintInputs after = PaintInputs::of(changed, picture, 2, 1, 64, 48);
        EXPECT_FALSE(after == before) << f->key;
        EXPECT_FALSE(after.sameButCells(before)) << f->key;
    }
    CRKeditDoc background = doc;
    background.bgcolorGame ^= 1;
    EXPECT_FALSE(PaintInputs::of(background, picture, 2, 1, 64, 48).sameButCells(before));
    CRKeditDoc cell = doc;
    cell.cell(1, 1) = 3;
    const PaintInputs cells = PaintInputs::of(cell, picture, 2, 1, 64, 48);
    EXPECT_FALSE(cells == before);
    EXPECT_TRUE(cells.sameButCells(before));
}

} // namespace
