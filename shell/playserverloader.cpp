#include "shell/playserverloader.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace {
using Create = PlayServer* (*)(const QString&);

// Found once; a module not found is looked for again at the next test play.
Create create = nullptr;

Create loadModule(QString& error) {
    if (create != nullptr)
        return create;
    const QDir programDir(QCoreApplication::applicationDirPath());
    QStringList candidates;
    if (const QString named = qEnvironmentVariable("RKEDIT_PLAY_SERVER"); !named.isEmpty())
        candidates << named;
    candidates << programDir.filePath(QStringLiteral(RKEDIT_PLAY_SERVER_NAME))
               << QDir::cleanPath(
                      programDir.filePath(QStringLiteral(RKEDIT_PLAY_SERVER_INSTALLED)));
    QString problem;
    for (const QString& path : candidates) {
        QLibrary module(path);
        if (!module.load()) {
            problem = module.errorString();
            continue;
        }
        // Never unloaded: the servers made from it live until the editor ends.
        create = reinterpret_cast<Create>(module.resolve("rkeditCreatePlayServer"));
        if (create != nullptr)
            return create;
        problem = module.errorString();
    }
    error =
        QCoreApplication::translate("TestPlay", "テストプレイのサーバー (%1) を読み込めません: %2")
            .arg(QDir::toNativeSeparators(candidates.last()), problem);
    return nullptr;
}
} // namespace

std::unique_ptr<PlayServer> loadPlayServer(const QString& folder, QString& error) {
    const Create make = loadModule(error);
    return std::unique_ptr<PlayServer>(make != nullptr ? make(folder) : nullptr);
}

bool playServerModuleLoaded() {
    return create != nullptr;
}
