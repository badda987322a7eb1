// The interface's language: how the system's settings choose it, the 言語 submenu that
// stores a choice for the next start, and the English interface (run as the test
// gui.english_interface, with LANG=en_US.UTF-8 and RKEDIT_TEST_LANGUAGE=system; the other
// runs show Japanese and skip its case).
#include <algorithm>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDockWidget>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGlyphRun>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTextLayout>
#include <QToolBar>
#include <QUndoStack>

#include "document/coretexts.h"
#include "html/ChtmlDlg.h"
#include "panels/dataexchange.h"
#include "panels/newblockdlg.h"
#include "shell/aboutbox.h"
#include "shell/commandids.h"
#include "shell/language.h"
#include "shellfixture.h"
#include "text/cp932.h"
#include "view/CRKeditView.h"

TEST(LanguageChoice, TheEnvironmentAndTheSystemsLanguagesDecide) {
    const QStringList english{QStringLiteral("en-US"), QStringLiteral("en")};
    const QStringList japanese{QStringLiteral("ja-JP"), QStringLiteral("ja")};
    // C, POSIX and nothing set keep the editor's own Japanese, whatever Qt reads for them.
    EXPECT_EQ(uiLanguageFor({"", "", ""}, english), UiLanguage::Japanese);
    EXPECT_EQ(uiLanguageFor({"", "", "C"}, english), UiLanguage::Japanese);
    EXPECT_EQ(uiLanguageFor({"", "", "C.UTF-8"}, english), UiLanguage::Japanese);
    EXPECT_EQ(uiLanguageFor({"", "", "POSIX"}, english), UiLanguage::Japanese);
    // The first variable set decides: LC_ALL over LC_MESSAGES over LANG.
    EXPECT_EQ(uiLanguageFor({"C", "", "en_US.UTF-8"}, english), UiLanguage::Japanese);
    EXPECT_EQ(uiLanguageFor({"", "POSIX", "en_US.UTF-8"}, english), UiLanguage::Japanese);
    EXPECT_EQ(uiLanguageFor({"en_US.UTF-8", "C", "C"}, english), UiLanguage::English);
    // A language: Japanese for ja, English for any other.
    EXPECT_EQ(uiLanguageFor({"", "", "ja_JP.UTF-8"}, japanese), UiLanguage::Japanese);
    EXPECT_EQ(uiLanguageFor({"", "", "en_US.UTF-8"}, english), UiLanguage::English);
    EXPECT_EQ(uiLanguageFor({"", "", "de_DE.UTF-8"}, {QStringLiteral("de-DE")}),
              UiLanguage::English);
    EXPECT_EQ(uiLanguageFor({"", "", "de_DE.UTF-8"}, {}), UiLanguage::Japanese);
}

namespace {
QMenu* languageMenu(CMainFrame* frame) {
    for (QMenu* menu : frame->currentMenus())
        if (auto* languages = menu->findChild<QMenu*>(QStringLiteral("languageMenu")))
            return languages;
    return nullptr;
}
} // namespace

// The Japanese interface is drawn in a Japanese font of this system, which the panels share;
// the English one keeps the system's font (checked in the English run's case below).
TEST(InterfaceFont, TheJapaneseInterfaceIsDrawnInAJapaneseFontThePanelsShare) {
    if (installUiTranslations() != UiLanguage::Japanese)
        GTEST_SKIP() << "the interface is English here";
    const QStringList families = japaneseFontFamilies();
    if (families.isEmpty())
        GTEST_SKIP() << "this system has no Japanese font";
    EXPECT_EQ(QApplication::font().families(), families);
    EXPECT_EQ(panelFont().families(), families);
    EXPECT_EQ(panelFont().pointSize(), 9);
    // A family the database lists under its own name is the font alone; otherwise every
    // family is an alias the font configuration resolved.
    const QStringList installed = QFontDatabase::families();
    const auto listed = std::count_if(families.begin(), families.end(), [&](const QString& f) {
        return installed.contains(f, Qt::CaseInsensitive);
    });
    EXPECT_TRUE(listed == 0 || families.size() == 1) << families.join(u',').toStdString();
    // Text is drawn in that font itself, not in a fallback for the family.
    if (installed.contains(families.constLast(), Qt::CaseInsensitive)) {
        EXPECT_EQ(QFontInfo(QApplication::font()).family(), families.constLast());
    }
}

// Every character a stage's texts can hold (CP932, less its user-defined area, which no font
// draws) is shown by the panels' font or one of the system's fallbacks for it: none is left
// as an empty box.
TEST(InterfaceFont, EveryCp932CharacterHasAGlyphInThePanelFontOrAFallback) {
    if (japaneseFontFamilies().isEmpty())
        GTEST_SKIP() << "this system has no Japanese font";
    QString text;
    const auto add = [&text](std::string_view bytes) {
        const std::optional<std::string> utf8 = cp932ToUtf8(bytes);
        if (!utf8)
            return;
        const QString one = QString::fromStdString(*utf8);
        if (one.size() == 1 && !(one[0].unicode() >= 0xE000 && one[0].unicode() <= 0xF8FF))
            text += one;
    };
    for (int single = 0x20; single <= 0xDF; ++single)
        if (single < 0x7F || single > 0xA0)
            add(std::string(1, char(single)));
    for (int lead = 0x81; lead <= 0xFC; ++lead)
        for (int trail = 0x40; trail <= 0xFC; ++trail)
            if ((lead <= 0x9F || lead >= 0xE0) && trail != 0x7F) {
                const char bytes[] = {char(lead), char(trail)};
                add(std::string_view(bytes, 2));
            }
    ASSERT_GT(text.size(), 7800);
    // The glyphs laid out for a text, and how many of them are the empty box.
    const auto laidOut = [](const QString& characters) {
        QTextLayout layout(characters, panelFont());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        std::pair<qsizetype, qsizetype> counts{0, 0};
        for (const QGlyphRun& run : layout.glyphRuns())
            for (const quint32 index : run.glyphIndexes()) {
                ++counts.first;
                counts.second += index == 0;
            }
        return counts;
    };
    // Laid out in runs of 32, as a field shows them; a run with a box is named.
    qsizetype glyphs = 0;
    for (qsizetype at = 0; at < text.size(); at += 32) {
        const QString part = text.mid(at, 32);
        const auto [count, boxes] = laidOut(part);
        glyphs += count;
        EXPECT_EQ(boxes, 0) << "empty boxes among " << part.toStdString();
    }
    EXPECT_EQ(glyphs, text.size());
}

TEST_F(Shell, TheLanguageSubmenuStoresTheChoiceForTheNextStart) {
    start();
    QMenu* languages = languageMenu(frame());
    ASSERT_NE(languages, nullptr);
    QList<QAction*> choices;
    for (QAction* action : languages->actions())
        if (action->isCheckable())
            choices << action;
    ASSERT_EQ(choices.size(), 3);
    EXPECT_TRUE(choices[0]->isChecked()); // nothing stored: follow the system
    // The last entry says when a choice takes effect, and is no command.
    QAction* note = languages->actions().constLast();
    EXPECT_FALSE(note->isEnabled());
    EXPECT_FALSE(note->text().isEmpty());

    const QString aboutBefore = frame()->action(ID_APP_ABOUT)->text();
    choices[2]->trigger();
    EXPECT_EQ(storedUiLanguage(), UiLanguage::English);
    EXPECT_EQ(effectiveUiLanguage(), UiLanguage::English);
    // Nothing shown changes before the next start.
    EXPECT_EQ(frame()->action(ID_APP_ABOUT)->text(), aboutBefore);

    // The other menu bar (no stage open) shows the stored choice when it opens.
    trigger(ID_FILE_CLOSE);
    QMenu* other = languageMenu(frame());
    ASSERT_NE(other, nullptr);
    ASSERT_NE(other, languages);
    emit other->aboutToShow();
    QList<QAction*> otherChoices;
    for (QAction* action : other->actions())
        if (action->isCheckable())
            otherChoices << action;
    ASSERT_EQ(otherChoices.size(), 3);
    EXPECT_TRUE(otherChoices[2]->isChecked());
    EXPECT_FALSE(otherChoices[0]->isChecked());

    otherChoices[1]->trigger();
    EXPECT_EQ(storedUiLanguage(), UiLanguage::Japanese);
    EXPECT_EQ(effectiveUiLanguage(), UiLanguage::Japanese);
    otherChoices[0]->trigger();
    EXPECT_EQ(storedUiLanguage(), UiLanguage::System);
    EXPECT_FALSE(QSettings().contains(QStringLiteral("language")));
}

namespace {
// What is still Japanese among `texts`, each with where it was found.
struct JapaneseLeft {
    QStringList found;
    void check(const QString& where, const QString& text) {
        static const QRegularExpression japanese(
            QStringLiteral("[\\x{3000}-\\x{303f}\\x{3040}-\\x{30ff}\\x{4e00}-\\x{9fff}"
                           "\\x{ff01}-\\x{ff9f}]"));
        if (text.contains(japanese))
            found << where + QStringLiteral(": ") + text;
    }
    void checkAction(const QString& where, QAction* action) {
        check(where + QStringLiteral(" text"), action->text());
        check(where + QStringLiteral(" tip"), action->toolTip());
        check(where + QStringLiteral(" status"), action->statusTip());
        if (QMenu* menu = action->menu())
            checkMenu(where + QStringLiteral(" > ") + menu->title(), menu);
    }
    void checkMessage(const QString& where, const MessageBoxAnswer& box) {
        check(where, box.text);
        for (const QString& button : box.buttonTexts)
            check(where + QStringLiteral(" button"), button);
    }
    void checkMenu(const QString& where, QMenu* menu) {
        check(where, menu->title());
        for (QAction* action : menu->actions())
            if (!action->isSeparator())
                checkAction(where, action);
    }
    // Every text a panel's widgets show: captions, labels, buttons, tips and choices.
    void checkWidgets(const QString& where, QWidget* top) {
        check(where + QStringLiteral(" title"), top->windowTitle());
        QList<QWidget*> widgets = top->findChildren<QWidget*>();
        widgets.prepend(top);
        for (QWidget* w : widgets) {
            const QString name = where + QStringLiteral(" ") + w->objectName();
            check(name + QStringLiteral(" tip"), w->toolTip());
            if (auto* label = qobject_cast<QLabel*>(w))
                check(name, label->text());
            else if (auto* button = qobject_cast<QAbstractButton*>(w))
                check(name, button->text());
            else if (auto* group = qobject_cast<QGroupBox*>(w))
                check(name, group->title());
            else if (auto* combo = qobject_cast<QComboBox*>(w))
                for (int i = 0; i < combo->count(); ++i)
                    check(name, combo->itemText(i));
            else if (auto* bar = qobject_cast<QMenuBar*>(w))
                for (QAction* action : bar->actions())
                    checkAction(name, action);
        }
    }
};
} // namespace

// Looked at: every action of both menu bars (menus, submenus, tips and status texts), the
// toolbar, the status bar, the docks and every panel in them (the event tool's menus too),
// the new block layout, HTML export and about dialogs, the file choosers, the messages of
// opening a file that is missing, no stage or whose picture is missing, of closing a changed
// stage and of pasting text that is no cells, a view's status message, an undo step's name,
// and every message core can report.
TEST_F(Shell, EnglishInterfaceHasNoJapaneseLeftInMenusAndPanels) {
    if (installUiTranslations() != UiLanguage::English)
        GTEST_SKIP() << "the interface is Japanese here (run as gui.english_interface)";
    // The system's font stays: a Japanese one is for the Japanese interface.
    if (!japaneseFontFamilies().isEmpty()) {
        EXPECT_NE(QApplication::font().families(), japaneseFontFamilies());
    }
    start();
    JapaneseLeft left;
    trigger(ID_FILE_CLOSE); // the menus without a stage
    for (QMenu* menu : frame()->currentMenus())
        left.checkMenu(menu->title(), menu);
    trigger(ID_FILE_NEW);
    trigger(ID_PLACEMENT_TOOL);
    for (QMenu* menu : frame()->currentMenus())
        left.checkMenu(menu->title(), menu);
    for (QToolBar* bar : frame()->findChildren<QToolBar*>())
        for (QAction* action : bar->actions())
            if (!action->isSeparator())
                left.checkAction(QStringLiteral("toolbar"), action);
    left.checkWidgets(QStringLiteral("status bar"), frame()->statusBar());
    int panels = 0;
    for (QDockWidget* dock : frame()->findChildren<QDockWidget*>()) {
        left.check(dock->objectName(), dock->windowTitle());
        if (QWidget* panel = dock->widget()) {
            left.checkWidgets(dock->objectName(), panel);
            ++panels;
        }
    }
    EXPECT_GE(panels, 2) << "the properties panel and the placement tool are open";
    // The dialogs, made as their commands make them.
    left.checkWidgets(QStringLiteral("new block layout"), std::make_unique<CNewBlockDlg>().get());
    left.checkWidgets(QStringLiteral("html export"), std::make_unique<ChtmlDlg>().get());
    left.checkWidgets(QStringLiteral("about"), std::make_unique<CAboutDlg>().get());
    left.check(QStringLiteral("empty stage hint"), CRKeditView::startHintText());
    // A view's status message and an undo step's name (the 編集 menu's undo shows it), on a
    // stage with blocks.
    app.reset();
    start({path("sample.stage")});
    CRKeditView* view = documents()->activeView();
    ASSERT_NE(view, nullptr);
    trigger(ID_EDIT_SELECT_ALL);
    left.check(QStringLiteral("status message"), frame()->statusBar()->currentMessage());
    EXPECT_FALSE(frame()->statusBar()->currentMessage().isEmpty());
    view->transform(CRKeditView::Transform::Rotate180);
    settle();
    EXPECT_EQ(view->stageDocument()->undoStack()->undoText(), QStringLiteral("Rotate 180°"));
    { // Pasting text that is no block of cells says why, with core's reason.
        QGuiApplication::clipboard()->setText(QStringLiteral("1,2\n3\n"));
        trigger(ID_EDIT_PASTE);
        const QString said = frame()->statusBar()->currentMessage();
        left.check(QStringLiteral("paste"), said);
        EXPECT_TRUE(said.contains(QStringLiteral("Line 2"))) << said.toStdString();
    }
    { // A changed stage asks before it closes; the Save As chooser.
        view->stageDocument()->setModified();
        FileDialogAnswer saveAs(QString{}); // cancels
        trigger(ID_FILE_SAVE_AS);
        left.check(QStringLiteral("save as chooser"), saveAs.title);
        for (const QString& filter : saveAs.filters)
            left.check(QStringLiteral("save as filter"), filter);
        EXPECT_FALSE(saveAs.title.isEmpty());
        MessageBoxAnswer cancel(QMessageBox::Cancel);
        documents()->activeFrame()->close();
        settle();
        EXPECT_EQ(cancel.answer.seen(), 1);
        left.checkMessage(QStringLiteral("save question"), cancel);
        EXPECT_EQ(cancel.text, QStringLiteral("Save changes to sample.stage?"));
    }
    app.reset();
    settle();
    { // Files that cannot be opened, through the Open chooser.
        writeFile(path("notes.txt"), "hello=world&");
        start();
        for (const QString& file : {path("missing.stage"), path("notes.txt")}) {
            FileDialogAnswer open(file);
            MessageBoxAnswer cannot(QMessageBox::Ok);
            trigger(ID_FILE_OPEN);
            EXPECT_EQ(cannot.answer.seen(), 1) << file.toStdString();
            left.check(QStringLiteral("open chooser"), open.title);
            for (const QString& filter : open.filters)
                left.check(QStringLiteral("open filter"), filter);
            left.checkMessage(QStringLiteral("cannot open"), cannot);
        }
        // A stage whose picture is missing opens after saying so.
        QFile::remove(path("sample.JPG"));
        FileDialogAnswer open(path("sample.stage"));
        MessageBoxAnswer missing(QMessageBox::Ok);
        trigger(ID_FILE_OPEN);
        EXPECT_EQ(missing.answer.seen(), 1);
        left.checkMessage(QStringLiteral("missing picture"), missing);
        EXPECT_EQ(missing.text, QStringLiteral("Cannot open the file.\n%1: The file was not found.")
                                    .arg(QDir::toNativeSeparators(path("sample.JPG"))));
    }
    // Every message core can report, with arguments standing in for names and numbers and
    // every reason as the argument a reason takes.
    for (std::size_t i = 0; i < messageIdCount; ++i) {
        const Message message{MessageId(i), {std::string("name"), MessageId::faultNotFound}};
        const QString shown = coreMessage(message);
        left.check(QStringLiteral("core message %1").arg(i), shown);
        EXPECT_NE(shown, QString::fromStdString(messageText(message))) << i;
    }
    EXPECT_TRUE(left.found.isEmpty()) << left.found.join(QLatin1Char('\n')).toStdString();
    // The English texts are there, not only the Japanese ones gone.
    EXPECT_EQ(frame()->action(ID_FILE_SAVE)->text(), QStringLiteral("&Save\tCtrl+S"));
}
