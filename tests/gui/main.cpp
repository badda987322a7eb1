// The GUI tests' entry point: one QApplication for every test, on Qt's offscreen platform
// unless a platform is chosen (the test discovery runs this binary without the tests'
// environment). The per-user settings and state (recovery copies) go to a fresh temporary
// folder, so the tests neither read nor change the user's own files. Copies a test leaves
// behind are discarded by the next start instead of being offered.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "guitesthelpers.h"
#include "shell/browser.h"
#include "shell/crkeditapp.h"
#include "shell/language.h"

int main(int argc, char** argv) {
    // A 1366 x 768 screen, the smallest a stage author works on with the docks beside the
    // stage (the offscreen platform's own is 800 x 600).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM",
                "offscreen:configfile=" RK_SOURCE_DIR "/tests/gui/screen1366.json");
    QTemporaryDir settingsDir;
    qputenv("XDG_CONFIG_HOME", settingsDir.path().toLocal8Bit());
    // In test mode the state folder lies under the home folder.
    qputenv("HOME", settingsDir.path().toLocal8Bit());
    qputenv("RKEDIT_RECOVERY", "discard");
    // The test play's server module is built beside the editor, not beside the tests.
    if (qEnvironmentVariableIsEmpty("RKEDIT_PLAY_SERVER"))
        qputenv("RKEDIT_PLAY_SERVER", RK_PLAY_SERVER_PATH);
    // The locks of open stage files go to a runtime folder of the tests' own.
    const QString runtime = settingsDir.path() + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("rkedit"));
    // The tests read the Japanese texts, whatever the locale they are run in; the English
    // interface test (RKEDIT_TEST_LANGUAGE=system) lets the environment choose.
    installUiTranslations(qEnvironmentVariable("RKEDIT_TEST_LANGUAGE") == QLatin1String("system")
                              ? effectiveUiLanguage()
                              : UiLanguage::Japanese);
    // File choosers and message boxes are answered by the tests' scripts, never shown.
    Dialogs::replace(&ScriptedDialogs::instance());
    // No test starts a browser: a page opened without a test's own stand-in fails the test.
    replaceUrlOpener([](const QUrl& url) {
        ADD_FAILURE() << "a browser would open " << url.toString().toStdString();
        return false;
    });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
