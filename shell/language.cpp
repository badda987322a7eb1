#include "shell/language.h"

#include <QActionGroup>
#include <QApplication>
#include <QCoreApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QSettings>
#include <QTranslator>

#include "panels/dataexchange.h"

namespace {
const char* const settingsKey = "language";

QString settingsValue(UiLanguage language) {
    switch (language) {
    case UiLanguage::Japanese:
        return QStringLiteral("ja");
    case UiLanguage::English:
        return QStringLiteral("en");
    case UiLanguage::System:
        break;
    }
    return QStringLiteral("system");
}

// A locale name from the environment ("ja_JP.UTF-8", "C", "en_US@euro") without its
// territory, code set and modifier.
QString languagePart(const QString& name) {
    qsizetype end = name.size();
    for (QChar c : {QLatin1Char('_'), QLatin1Char('.'), QLatin1Char('@'), QLatin1Char('-')}) {
        const qsizetype at = name.indexOf(c);
        if (at >= 0 && at < end)
            end = at;
    }
    return name.left(end);
}
} // namespace

UiLanguage storedUiLanguage() {
    const QString value = QSettings().value(QLatin1String(settingsKey)).toString();
    if (value == QLatin1String("ja"))
        return UiLanguage::Japanese;
    if (value == QLatin1String("en"))
        return UiLanguage::English;
    return UiLanguage::System;
}

void storeUiLanguage(UiLanguage language) {
    QSettings settings;
    if (language == UiLanguage::System)
        settings.remove(QLatin1String(settingsKey));
    else
        settings.setValue(QLatin1String(settingsKey), settingsValue(language));
}

UiLanguage uiLanguageFor(const QStringList& environment, const QStringList& uiLanguages) {
    // The C locale's UI languages read as English on some Qt versions; C and POSIX are the
    // absence of a language, and the editor's own texts are Japanese.
    bool anySet = false;
    for (const QString& value : environment) {
        if (value.isEmpty())
            continue;
        anySet = true;
        const QString language = languagePart(value);
        if (language == QLatin1String("C") || language == QLatin1String("POSIX") ||
            language.isEmpty())
            return UiLanguage::Japanese;
        break;
    }
    if (!anySet)
        return UiLanguage::Japanese;
    if (uiLanguages.isEmpty() || languagePart(uiLanguages.constFirst()) == QLatin1String("ja"))
        return UiLanguage::Japanese;
    return UiLanguage::English;
}

UiLanguage systemUiLanguage() {
    return uiLanguageFor({qEnvironmentVariable("LC_ALL"), qEnvironmentVariable("LC_MESSAGES"),
                          qEnvironmentVariable("LANG")},
                         QLocale().uiLanguages());
}

UiLanguage effectiveUiLanguage() {
    const UiLanguage stored = storedUiLanguage();
    return stored == UiLanguage::System ? systemUiLanguage() : stored;
}

UiLanguage installUiTranslations(UiLanguage language) {
    static bool installed = false;
    static UiLanguage shown = UiLanguage::Japanese;
    if (installed)
        return shown;
    installed = true;
    shown = language == UiLanguage::System ? systemUiLanguage() : language;
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (shown == UiLanguage::Japanese) {
        // The Japanese interface is drawn in a Japanese font at the system's size, as a
        // Japanese desktop draws its own: with a Latin default font every Japanese text
        // would be shaped through a search of the fallback fonts for each of its scripts.
        if (const QStringList families = japaneseFontFamilies(); !families.isEmpty()) {
            QFont font = QApplication::font();
            font.setFamilies(families);
            QApplication::setFont(font);
        }
        // Qt's own texts in Japanese (standard buttons read "キャンセル"); the editor's are
        // Japanese already.
        auto* qt = new QTranslator(qApp);
        if (qt->load(QStringLiteral("qtbase_ja"), qtFolder))
            QCoreApplication::installTranslator(qt);
        else
            delete qt;
    } else {
        // Qt's own texts are English already.
        auto* editor = new QTranslator(qApp);
        if (editor->load(QStringLiteral(":/i18n/rkedit_en.qm")))
            QCoreApplication::installTranslator(editor);
        else
            delete editor;
    }
    return shown;
}

QMenu* addLanguageMenu(QMenu* menu) {
    QMenu* languages = menu->addMenu(QCoreApplication::translate("Language", "言語(&L)"));
    languages->setObjectName(QStringLiteral("languageMenu"));
    auto* group = new QActionGroup(languages);
    const UiLanguage stored = storedUiLanguage();
    const struct {
        UiLanguage language;
        QString text;
    } choices[] = {
        {UiLanguage::System, QCoreApplication::translate("Language", "システムに合わせる(&S)")},
        {UiLanguage::Japanese, QCoreApplication::translate("Language", "日本語(&J)")},
        {UiLanguage::English, QStringLiteral("&English")},
    };
    for (const auto& choice : choices) {
        QAction* action = languages->addAction(choice.text);
        action->setCheckable(true);
        action->setChecked(choice.language == stored);
        action->setData(settingsValue(choice.language));
        group->addAction(action);
        const UiLanguage language = choice.language;
        QObject::connect(action, &QAction::triggered, languages,
                         [language] { storeUiLanguage(language); });
    }
    // Both menus (no stage open, a stage open) have the submenu: each shows the stored choice.
    QObject::connect(languages, &QMenu::aboutToShow, languages, [group] {
        const QString current = settingsValue(storedUiLanguage());
        for (QAction* action : group->actions())
            action->setChecked(action->data().toString() == current);
    });
    languages->addSeparator();
    QAction* note = languages->addAction(
        QCoreApplication::translate("Language", "次回の起動から有効になります"));
    note->setEnabled(false);
    return languages;
}
