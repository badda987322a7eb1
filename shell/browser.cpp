#include "shell/browser.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

namespace {
UrlOpener& replacement() {
    static UrlOpener opener;
    return opener;
}
QString& failure() {
    static QString reason;
    return reason;
}
BrowserFailureHandler& failureHandler() {
    static BrowserFailureHandler handler;
    return handler;
}

// xdg-open, watched: it exits with an error when no browser took the page.
bool openWithXdgOpen(const QString& program, const QUrl& url) {
    auto* process = new QProcess;
    process->setProgram(program);
    process->setArguments({url.toString()});
    process->setProcessChannelMode(QProcess::SeparateChannels);
    process->setStandardOutputFile(QProcess::nullDevice());
    QObject::connect(
        process, &QProcess::errorOccurred, process, [process, url](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart) {
                reportBrowserFailure(
                    url, QCoreApplication::translate("Browser", "xdg-open を起動できません: %1")
                             .arg(process->errorString()));
                process->deleteLater();
            }
        });
    QObject::connect(process, &QProcess::finished, process,
                     [process, url](int code, QProcess::ExitStatus status) {
                         const QString said =
                             QString::fromLocal8Bit(process->readAllStandardError()).trimmed();
                         if (status != QProcess::NormalExit || code != 0) {
                             QString reason =
                                 QCoreApplication::translate(
                                     "Browser", "xdg-open が終了コード %1 で終わりました")
                                     .arg(code);
                             if (!said.isEmpty())
                                 reason += QStringLiteral(": ") + said.left(300);
                             reportBrowserFailure(url, reason);
                         }
                         process->deleteLater();
                     });
    process->start();
    return true;
}
} // namespace

bool openInBrowser(const QUrl& url) {
    failure().clear();
    if (const UrlOpener& opener = replacement())
        return opener(url);
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (xdgOpen.isEmpty()) {
        failure() = QCoreApplication::translate("Browser", "xdg-open が見つかりません");
        return false;
    }
    return openWithXdgOpen(xdgOpen, url);
#else
    if (!QDesktopServices::openUrl(url)) {
        failure() = QCoreApplication::translate("Browser", "既定のブラウザがありません");
        return false;
    }
    return true;
#endif
}

QString browserFailure() {
    return failure();
}

void onBrowserFailed(BrowserFailureHandler handler) {
    failureHandler() = std::move(handler);
}

void reportBrowserFailure(const QUrl& url, const QString& reason) {
    if (const BrowserFailureHandler& handler = failureHandler())
        handler(url, reason);
}

UrlOpener replaceUrlOpener(UrlOpener opener) {
    return std::exchange(replacement(), std::move(opener));
}
