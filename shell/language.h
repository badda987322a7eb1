#pragma once

#include <QString>
#include <QStringList>

class QMenu;

// The language of the user interface. The Japanese texts are the source texts; English comes
// from the translation built into the program. The choice is stored in the settings and read
// once at the start: texts already shown do not change.
enum class UiLanguage { System, Japanese, English };

// The stored choice (System when none is stored or the stored one is unknown).
UiLanguage storedUiLanguage();
void storeUiLanguage(UiLanguage language);

// The language the system asks for: Japanese where the first of LC_ALL, LC_MESSAGES and LANG
// that is set names ja, C or POSIX, or where none is set (the editor's own texts are Japanese);
// otherwise Japanese when the system's first UI language is ja, English for any other.
UiLanguage systemUiLanguage();
// The same from the values of LC_ALL, LC_MESSAGES and LANG (in that order, empty when unset)
// and the system's UI languages, most preferred first.
UiLanguage uiLanguageFor(const QStringList& environment, const QStringList& uiLanguages);

// The language the interface is shown in: the stored choice, the system's for System.
UiLanguage effectiveUiLanguage();

// Installs the editor's and Qt's own texts (dialog buttons, file choosers) for `language`
// (System resolves to the system's). Once per process; later calls change nothing. Returns
// the language installed.
UiLanguage installUiTranslations(UiLanguage language = effectiveUiLanguage());

// Adds the language submenu (follow the system, Japanese, English) to `menu`; a choice is
// stored and takes effect at the next start, which the submenu says.
QMenu* addLanguageMenu(QMenu* menu);
