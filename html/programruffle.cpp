#include "html/programruffle.h"

#include <QCoreApplication>

std::optional<RuffleFolder> programRuffle(QString& error) {
    const QByteArray env = qgetenv(RuffleFolder::environmentVariable);
    std::string why;
    auto ruffle = RuffleFolder::find(QCoreApplication::applicationDirPath().toStdString(),
                                     env.isNull() ? nullptr : env.constData(), why);
    if (!ruffle)
        error = QString::fromStdString(why);
    return ruffle;
}
