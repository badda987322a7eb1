#pragma once

#include <QUrl>

#include <functional>

// Opens a web page in the user's default browser (QDesktopServices). Tests put an opener of
// their own in place, so that no test ever starts a browser.
using UrlOpener = std::function<bool(const QUrl&)>;

// Opens `url` with the opener in place; false when no browser could be started.
bool openInBrowser(const QUrl& url);

// Puts `opener` in place (empty: the real one again); returns what was in place before
// (empty for the real one).
UrlOpener replaceUrlOpener(UrlOpener opener);
