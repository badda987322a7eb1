// The interface's language: how the system's settings choose it, the 言語 submenu that
// stores a choice for the next start, and the English interface (run as the test
// gui.english_interface, with LANG=en_US.UTF-8 and RKEDIT_TEST_LANGUAGE=system; the other
// runs show Japanese and skip its case).
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoStack>

#include "html/ChtmlDlg.h"
#include "panels/newblockdlg.h"
#include "shell/aboutbox.h"
#include "shell/commandids.h"
#include "shell/language.h"
#include "shellfixture.h"
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
        }
    }
};
} // namespace

// Covered so far: every action of both menu bars (menus, submenus, tips and status texts),
// the toolbar, the status bar, the docks' titles, the properties panel, the placement tool,
// the new block layout, HTML export and about dialogs. Not yet translated, so not looked at:
// the event tool, the document manager's and test play's file choosers and messages, the
// view's status messages and undo names, and the messages core reports.
TEST_F(Shell, EnglishInterfaceHasNoJapaneseLeftInMenusAndPanels) {
    if (installUiTranslations() != UiLanguage::English)
        GTEST_SKIP() << "the interface is Japanese here (run as gui.english_interface)";
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
        if (dock->objectName() == QLatin1String("eventDock"))
            continue; // not translated yet
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
    EXPECT_TRUE(left.found.isEmpty()) << left.found.join(QLatin1Char('\n')).toStdString();
    // The English texts are there, not only the Japanese ones gone.
    EXPECT_EQ(frame()->action(ID_FILE_SAVE)->text(), QStringLiteral("&Save\tCtrl+S"));
}
