// The event tool helps to write the script: its keyword menus insert at the cursor as one
// step of the edit's undo, the start of a keyword offers the rest, and what is stored is
// exactly the text as typed, with CR LF between its lines.
#include <QAbstractItemView>
#include <QCompleter>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSyntaxHighlighter>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

#include "guitesthelpers.h"
#include "panels/eventtool.h"

namespace {

QAction* keywordAction(CEventTool& tool, const QString& keyword) {
    for (QAction* menu : tool.menu()->actions())
        if (menu->menu())
            for (QAction* action : menu->menu()->actions())
                if (action->text() == keyword)
                    return action;
    return nullptr;
}

TEST(EventTool, KeywordMenusInsertAtTheCursorAsOneUndoStep) {
    CEventTool tool(nullptr);
    QPlainTextEdit* edit = tool.edit();
    edit->setPlainText(QStringLiteral("a\nb"));
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(1); // after "a"
    edit->setTextCursor(cursor);

    QAction* onHit = keywordAction(tool, QStringLiteral("OnHit"));
    ASSERT_NE(onHit, nullptr);
    onHit->trigger();
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("aOnHit\nb"));
    QAction* play = keywordAction(tool, QStringLiteral("playSound"));
    ASSERT_NE(play, nullptr);
    play->trigger();
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("aOnHitplaySound\nb"));
    edit->undo();
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("aOnHit\nb"));
    edit->undo();
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("a\nb"));

    // Stored with CR LF, the keywords exactly as inserted.
    onHit->trigger();
    EXPECT_EQ(tool.takeScript(), "aOnHit\r\nb");
}

TEST(EventTool, TheStartOfAKeywordOffersTheRestAndKeywordsAreHighlighted) {
    CEventTool tool(nullptr);
    tool.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tool));
    auto* edit = qobject_cast<ScriptEdit*>(tool.edit());
    ASSERT_NE(edit, nullptr);
    edit->setPlainText(QString());
    edit->setFocus();
    QTest::keyClicks(edit, "onhi");
    ASSERT_NE(edit->completer(), nullptr);
    EXPECT_TRUE(edit->completer()->popup()->isVisible());
    EXPECT_EQ(edit->completer()->currentCompletion(), QStringLiteral("OnHit"));
    QTest::keyClick(edit->completer()->popup(), Qt::Key_Return);
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("OnHit"));
    EXPECT_FALSE(edit->completer()->popup()->isVisible());

    // A word that no keyword begins with offers nothing, and the text is what was typed.
    QTest::keyClicks(edit, " zz");
    EXPECT_FALSE(edit->completer()->popup()->isVisible());
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("OnHit zz"));

    // The keyword is drawn in a format of its own; the other word is not.
    const QTextBlock block = edit->document()->firstBlock();
    const QList<QTextLayout::FormatRange> formats = block.layout()->formats();
    ASSERT_FALSE(formats.isEmpty());
    EXPECT_EQ(formats.constFirst().start, 0);
    EXPECT_EQ(formats.constFirst().length, 5);
    for (const QTextLayout::FormatRange& range : formats)
        EXPECT_LT(range.start, 5) << "only the keyword is highlighted";
}

} // namespace
