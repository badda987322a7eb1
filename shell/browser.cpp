#include "shell/browser.h"

#include <QDesktopServices>

namespace {
UrlOpener& replacement() {
    static UrlOpener opener;
    return opener;
}
} // namespace

bool openInBrowser(const QUrl& url) {
    if (const UrlOpener& opener = replacement())
        return opener(url);
    return QDesktopServices::openUrl(url);
}

UrlOpener replaceUrlOpener(UrlOpener opener) {
    return std::exchange(replacement(), std::move(opener));
}
