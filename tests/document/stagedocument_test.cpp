// StageDocument's signals and the undo commands, with no widget: what an edit, an undo, a
// redo and the panels' requests tell the views and panels that listen.
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "document/settingstransfercommand.h"
#include "document/stagedocument.h"
#include "document/stageedit.h"
#include "stage/CRKeditDoc.h"
#include "stage/stagechange.h"
#include "stage/stagefields.h"

namespace {

using Scope = StageDocument::Scope;
using Scopes = StageDocument::Scopes;

Scopes scopesAt(const QSignalSpy& spy, int i) {
    return spy.at(i).at(0).value<Scopes>();
}

// Makes one edit of `kind` with `change` and commits it.
template <typename Change> bool edit(StageDocument& document, StageEdit::Kind kind, Change change) {
    StageEdit recorded(document, kind);
    change(document.doc());
    return recorded.commit();
}

TEST(StageDocumentSignals, EachEditTellsWhatItChangedOnce) {
    const struct {
        const char* what;
        void (*change)(CRKeditDoc&);
        Scopes scopes;
    } rows[] = {
        {"a cell", [](CRKeditDoc& d) { d.cell(3, 4) = 1; }, Scope::Grid},
        {"the cell width", [](CRKeditDoc& d) { d.blockWidth = "8"; }, Scope::Layout},
        {"the paddle area", [](CRKeditDoc& d) { d.barSpace = "99"; }, Scope::Layout},
        {"the picture size", [](CRKeditDoc& d) { d.graphicWidth = "1"; }, Scope::Layout},
        {"the ball", [](CRKeditDoc& d) { d.ballSize = "7"; }, Scope::Settings},
        {"a flag", [](CRKeditDoc& d) { d.soundMode = 0; }, Scope::Settings},
        {"the script", [](CRKeditDoc& d) { d.command = "OnHit\r\n"; }, Scope::Script},
        {"the page title", [](CRKeditDoc& d) { d.title = "t"; }, Scope::Export},
        {"the game background", [](CRKeditDoc& d) { d.bgcolorGame = 0x123456; }, Scope::Export},
        {"a new cell size and the grid it clears",
         [](CRKeditDoc& d) {
             d.blockWidth = "9";
             d.cell(0, 0) = 0;
         },
         Scope::Layout | Scope::Grid},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        StageDocument document;
        document.doc().cell(0, 0) = 1;
        QSignalSpy changed(&document, &StageDocument::stageChanged);
        QSignalSpy updates(&document, &StageDocument::viewsUpdateRequested);
        EXPECT_TRUE(edit(document, StageEdit::Kind::SettingsTransfer, r.change));
        ASSERT_EQ(changed.count(), 1);
        EXPECT_EQ(scopesAt(changed, 0), r.scopes);
        // The panel the edit came from holds the values already: it is not refilled.
        EXPECT_EQ(updates.count(), 0);
        EXPECT_TRUE(document.isModified());
    }
}

// Every field of the table, changed alone, tells exactly one scope: the export dialog's for
// what that dialog edits, the script's for the script, the layout's or the settings' for
// what the properties panel edits; and a settings step changing it alone is named after its
// panel label.
TEST(StageDocumentSignals, EveryFieldAloneTellsOneScopeAndNamesItsStep) {
    for (const StageField& f : documentFields()) {
        if (f.kind == FieldKind::block)
            continue;
        SCOPED_TRACE(std::string(f.key));
        const CRKeditDoc before;
        CRKeditDoc after;
        if (f.text)
            after.*f.text = "37";
        else if (f.flag)
            after.*f.flag = 1 - after.*f.flag;
        else
            after.*f.colour = 0x123456;
        const StageChange change = StageChange::between(before, after);
        const Scopes scopes = StageDocument::scopesOf(change);
        if (f.exportText || f.exportColour)
            EXPECT_EQ(scopes, Scopes(Scope::Export));
        else if (f.kind == FieldKind::command)
            EXPECT_EQ(scopes, Scopes(Scope::Script));
        else
            EXPECT_TRUE(scopes == Scope::Layout || scopes == Scope::Settings) << int(scopes);
        const QString step = SettingsTransferCommand::textFor(change);
        if (f.label.empty())
            EXPECT_EQ(step, QStringLiteral("プロパティの変更"));
        else
            EXPECT_EQ(step, QString::fromUtf8(f.label.data(), qsizetype(f.label.size())) +
                                QStringLiteral("の変更"));
    }
}

TEST(StageDocumentSignals, AnEditThatChangesNothingTellsNothing) {
    StageDocument document;
    QSignalSpy changed(&document, &StageDocument::stageChanged);
    QSignalSpy modified(&document, &StageDocument::modifiedChanged);
    EXPECT_FALSE(edit(document, StageEdit::Kind::SettingsTransfer, [](CRKeditDoc&) {}));
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(modified.count(), 0);
    EXPECT_EQ(document.undoStack()->count(), 0);
}

TEST(StageDocumentSignals, UndoAndRedoRefreshTheViewsAndTellTheChange) {
    StageDocument document;
    edit(document, StageEdit::Kind::BlockToggle, [](CRKeditDoc& d) { d.cell(1, 2) = 1; });
    QSignalSpy changed(&document, &StageDocument::stageChanged);
    QSignalSpy updates(&document, &StageDocument::viewsUpdateRequested);
    QSignalSpy modified(&document, &StageDocument::modifiedChanged);

    document.undoStack()->undo();
    EXPECT_EQ(document.doc().cell(1, 2), 0);
    EXPECT_EQ(updates.count(), 1); // open panels show the document's values again
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(scopesAt(changed, 0), Scopes(Scope::Grid));
    ASSERT_EQ(modified.count(), 1);
    EXPECT_FALSE(modified.at(0).at(0).toBool()); // back at the saved state

    document.undoStack()->redo();
    EXPECT_EQ(document.doc().cell(1, 2), 1);
    EXPECT_EQ(updates.count(), 2);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_TRUE(document.isModified());
}

TEST(StageDocumentSignals, UndoingTheScriptTellsWhichScriptWasReplaced) {
    StageDocument document;
    document.doc().command = "old";
    edit(document, StageEdit::Kind::Script, [](CRKeditDoc& d) { d.command = "new"; });
    QSignalSpy replaced(&document, &StageDocument::scriptReplaced);
    document.undoStack()->undo();
    ASSERT_EQ(replaced.count(), 1);
    EXPECT_EQ(replaced.at(0).at(0).value<std::string>(), "new");
    document.undoStack()->redo();
    ASSERT_EQ(replaced.count(), 2);
    EXPECT_EQ(replaced.at(1).at(0).value<std::string>(), "old");

    // A reading of the file that replaced the script tells it the same way.
    edit(document, StageEdit::Kind::Reload, [](CRKeditDoc& d) { d.command = "from the file"; });
    document.undoStack()->undo();
    ASSERT_EQ(replaced.count(), 3);
    EXPECT_EQ(replaced.at(2).at(0).value<std::string>(), "from the file");
    // A step that leaves the script alone tells nothing of it.
    edit(document, StageEdit::Kind::BlockToggle, [](CRKeditDoc& d) { d.cell(0, 0) = 1; });
    document.undoStack()->undo();
    EXPECT_EQ(replaced.count(), 3);
}

namespace {
// A view's event tool as the document sees it: it answers with `script` when it has one.
struct ScriptSource : PendingScriptSource {
    std::optional<std::string> script;
    int asked = 0;
    bool quietAsked = false;
    std::optional<std::string> pendingScript(bool quiet) override {
        ++asked;
        quietAsked = quiet;
        return script;
    }
};
} // namespace

TEST(StageDocumentSignals, PendingEditsAndTheEventToolScriptAreAskedFor) {
    StageDocument document;
    // With no source registered there is nothing pending.
    EXPECT_EQ(document.pendingScript(), std::nullopt);

    // The sources are asked in the order they were added, and the first answer is taken:
    // a view without an open event tool lets a later one answer.
    ScriptSource closed, first, second;
    first.script = "typed";
    second.script = "not asked";
    document.addScriptSource(&closed);
    document.addScriptSource(&first);
    document.addScriptSource(&second);
    EXPECT_EQ(document.pendingScript(true), "typed");
    EXPECT_TRUE(first.quietAsked);
    EXPECT_EQ(closed.asked, 1);
    EXPECT_EQ(second.asked, 0);
    // Save asks aloud: a character the script cannot store is reported then.
    EXPECT_EQ(document.pendingScript(), "typed");
    EXPECT_FALSE(first.quietAsked);
    // A source that has gone is not asked again.
    document.removeScriptSource(&first);
    EXPECT_EQ(document.pendingScript(), "not asked");
    EXPECT_EQ(first.asked, 2);
    document.removeScriptSource(&second);
    document.removeScriptSource(&closed);
    EXPECT_EQ(document.pendingScript(), std::nullopt);
    EXPECT_EQ(closed.asked, 3);

    QSignalSpy handOver(&document, &StageDocument::pendingEditsRequested);
    document.takePendingEdits();
    EXPECT_EQ(handOver.count(), 1);
}

TEST(StageDocumentSignals, TheHostsRequestsBecomeSignals) {
    StageDocument document;
    QSignalSpy messages(&document, &StageDocument::messageRequested);
    QSignalSpy updates(&document, &StageDocument::viewsUpdateRequested);
    Host& host = document;
    host.messageBox({MessageId::cannotOpenNamed, {"100%2.jpg", MessageId::faultNotFound}});
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(
        messages.at(0).at(0).toString(),
        QStringLiteral("ファイルをオープンできません。\n100%2.jpg: ファイルが見つかりません。"));
    document.updateAllViews();
    EXPECT_EQ(updates.count(), 1);
}

TEST(StageDocumentViews, TheLastViewGoneClosesTheDocument) {
    StageDocument document;
    QSignalSpy closed(&document, &StageDocument::lastViewRemoved);
    QObject first, second;
    document.addView(&first);
    document.addView(&second);
    document.removeView(&first);
    EXPECT_EQ(closed.count(), 0);
    document.removeView(&first); // not a view any more: nothing
    document.removeView(&second);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(document.views().isEmpty());
}

} // namespace

namespace {
// A 24-bit picture block of w x h pixels, all black.
PictureHolder pictureOf(std::int32_t w, std::int32_t h) {
    auto block =
        std::make_shared<PictureBlock>(PictureBlock::headerSize + PictureBlock::strideFor(w) * h);
    std::uint8_t* p = block->data();
    const std::int32_t header[] = {40, w, h};
    std::memcpy(p, header, sizeof header);
    p[12] = 1;  // planes
    p[14] = 24; // bits per pixel
    PictureHolder holder;
    holder.block = block;
    return holder;
}
} // namespace

TEST(StageDocumentPictureSize, TheShownPicturesSizeIsWrittenBackAsNoEdit) {
    StageDocument document;
    CRKeditDoc& doc = document.doc();
    // Nothing to fit without a picture.
    EXPECT_FALSE(document.fitPictureSize());
    EXPECT_EQ(doc.graphicWidth, "0");

    doc.picture = pictureOf(48, 36);
    QSignalSpy changed(&document, &StageDocument::stageChanged);
    QSignalSpy edited(&document, &StageDocument::edited);
    EXPECT_TRUE(document.fitPictureSize());
    EXPECT_EQ(doc.graphicWidth, "48");
    EXPECT_EQ(doc.graphicHeight, "36");
    EXPECT_FALSE(document.fitPictureSize()); // already fitted
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(document.undoStack()->count(), 0);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(edited.count(), 0);

    // A stage whose block size is 0 shows no picture: its size is kept until a block size
    // is set, and that edit's undo step holds only the block size.
    doc.graphicWidth = "1";
    ASSERT_TRUE(edit(document, StageEdit::Kind::SettingsTransfer,
                     [](CRKeditDoc& d) { d.blockWidth = "0"; }));
    EXPECT_EQ(doc.graphicWidth, "1");
    ASSERT_TRUE(edit(document, StageEdit::Kind::SettingsTransfer,
                     [](CRKeditDoc& d) { d.blockWidth = "16"; }));
    EXPECT_EQ(doc.graphicWidth, "48");
    // A width typed over the picture's goes back to it, as the stage window shows it.
    ASSERT_TRUE(edit(document, StageEdit::Kind::SettingsTransfer,
                     [](CRKeditDoc& d) { d.graphicWidth = "20"; }));
    EXPECT_EQ(doc.graphicWidth, "48");

    // A picture chosen in a panel is fitted with its step, and again on undo and redo.
    ASSERT_TRUE(document.changePicture(true, "other.JPG", pictureOf(64, 20)));
    EXPECT_EQ(doc.graphicWidth, "64");
    EXPECT_EQ(doc.graphicHeight, "20");
    document.undoStack()->undo();
    EXPECT_EQ(doc.graphicWidth, "48");
    EXPECT_EQ(doc.graphicHeight, "36");
    document.undoStack()->redo();
    EXPECT_EQ(doc.graphicWidth, "64");
}
