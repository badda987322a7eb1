#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// Opens a web page in the user's default browser: xdg-open where there is one (its exit
// tells whether a browser took the page), QDesktopServices elsewhere. Tests put an opener of
// their own in place, so that no test ever starts a browser.
using UrlOpener = std::function<bool(const QUrl&)>;

// Opens `url` with the opener in place; false when no browser could be started, with the
// reason in browserFailure(). A browser that starts and then fails is told later, to the
// handler of onBrowserFailed().
bool openInBrowser(const QUrl& url);
// Why the last openInBrowser() failed (empty when no reason is known).
QString browserFailure();
// Called when a started browser exits with an error: the page and the reason.
using BrowserFailureHandler = std::function<void(const QUrl&, const QString&)>;
void onBrowserFailed(BrowserFailureHandler handler);
// Tells the handler that opening `url` failed later, for `reason` (what the real opener does
// when xdg-open exits with an error; tests call it as their opener's failure).
void reportBrowserFailure(const QUrl& url, const QString& reason);

// Puts `opener` in place (empty: the real one again); returns what was in place before
// (empty for the real one).
UrlOpener replaceUrlOpener(UrlOpener opener);
