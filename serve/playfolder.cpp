#include "playfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <limits>
#include <unistd.h>

#include "html/htmlpage.h"
#include "ruffle/encodingwarning.h"
#include "stage/CRKeditDoc.h"
#include "stage/stagerecord.h"
#include "text/cp932.h"
#include "text/stagepath.h"

namespace {

bool writeFile(const QString& path, const std::string& bytes, QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !file.flush() ||
        !file.commit()) {
        error = path + QStringLiteral(": ") + file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

// Copies `from` over `to` (replacing an older copy).
bool copyFile(const QString& from, const QString& to, QString& error) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        error = from + QStringLiteral(": ") + source.errorString();
        return false;
    }
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) {
        error = from + QStringLiteral(": ") + source.errorString();
        return false;
    }
    return writeFile(to, bytes.toStdString(), error);
}

// Test play folders are named after the process that made them, so that one left behind by a
// process that was killed can be told from one still in use.
QString folderPrefix(qint64 pid) {
    return QStringLiteral("rkedit-play-%1-").arg(pid);
}

// Makes a fresh folder's name template, after removing the folders of this user's processes
// that are gone (a program killed before it could remove its own): Ruffle alone is some 28 MB.
QString freshFolderTemplate() {
    const QDir temp(QDir::tempPath());
    static const QRegularExpression named(QStringLiteral("^rkedit-play-([0-9]+)-[^/]+$"));
    for (const QFileInfo& entry :
         temp.entryInfoList({QStringLiteral("rkedit-play-*")},
                            QDir::Dirs | QDir::NoSymLinks | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QRegularExpressionMatch match = named.match(entry.fileName());
        if (!match.hasMatch() || entry.ownerId() != ::getuid())
            continue;
        bool ok = false;
        const qint64 pid = match.captured(1).toLongLong(&ok);
        // A process that still exists (or that is not ours to ask about) keeps its folder.
        if (!ok || pid <= 0 || pid > std::numeric_limits<pid_t>::max() ||
            pid == QCoreApplication::applicationPid() || ::kill(pid_t(pid), 0) == 0 ||
            errno != ESRCH)
            continue;
        QDir(entry.filePath()).removeRecursively();
    }
    return temp.filePath(folderPrefix(QCoreApplication::applicationPid()) +
                         QStringLiteral("XXXXXX"));
}

} // namespace

PlayFolder::PlayFolder(RuffleFolder ruffle)
    : ruffle_(std::move(ruffle)), dir_(freshFolderTemplate()) {}

bool PlayFolder::refresh(CRKeditDoc doc, const QString& stagePath, const QString& moviePath,
                         QString& error) {
    if (!dir_.isValid()) {
        error = QStringLiteral("cannot create a temporary folder: ") + dir_.errorString();
        return false;
    }
    const QDir folder(dir_.path());

    // The record's name: the stage file's, unless it would stand for another file here.
    stageName_ = stagePath.isEmpty() ? QString() : QFileInfo(stagePath).fileName();
    const QString reserved[] = {QString::fromLatin1(pageName), QStringLiteral("rk.swf"),
                                QStringLiteral("ruffle")};
    const auto cp932Name = utf8ToCp932(stageName_.toStdString());
    if (stageName_.isEmpty() || !cp932Name ||
        std::find(std::begin(reserved), std::end(reserved), stageName_) != std::end(reserved))
        stageName_ = QStringLiteral("stage.txt");
    doc.configFileName = utf8ToCp932(stageName_.toStdString()).value_or("stage.txt");

    // The pictures the record names, by leaf name, from where the editor would load them: a
    // full path as it stands, a name from the stage file's folder. One that is missing is
    // left out, as on a site without it.
    const QString stageFolder = stagePath.isEmpty() ? QString() : QFileInfo(stagePath).path();
    for (const std::string* picture : {&doc.graphic1, &doc.graphic2}) {
        const QString leaf = QString::fromStdString(toFileSystemPath(leafName(*picture)));
        const QString named = QString::fromStdString(toFileSystemPath(*picture));
        if (leaf.isEmpty() || leaf == stageName_ ||
            std::find(std::begin(reserved), std::end(reserved), leaf) != std::end(reserved))
            continue;
        const QString source = QDir::isAbsolutePath(named) ? named
                               : stageFolder.isEmpty()     ? QString()
                                                           : stageFolder + QLatin1Char('/') + named;
        if (source.isEmpty() || !QFileInfo(source).isFile())
            continue;
        if (!copyFile(source, folder.filePath(leaf), error))
            return false;
    }

    if (!copyFile(moviePath, folder.filePath(QStringLiteral("rk.swf")), error))
        return false;
    if (!ruffleCopied_) {
        std::string message;
        const auto outcome = ruffle_.copyInto(dir_.path().toStdString(), false, message);
        if (outcome != RuffleFolder::Outcome::Copied &&
            outcome != RuffleFolder::Outcome::AlreadyThere) {
            error = QString::fromStdString(message);
            return false;
        }
        ruffleCopied_ = true;
    }

    const std::string record = writeStageRecord(doc);
    if (!writeFile(folder.filePath(stageName_), record, error) ||
        !writeFile(folder.filePath(QString::fromLatin1(pageName)), composeHtmlPage(doc, true),
                   error))
        return false;

    QFile movie(moviePath);
    QByteArray start;
    if (movie.open(QIODevice::ReadOnly))
        start = movie.read(4);
    textWarning_ = QString::fromUtf8(
        rufflesTextWarning(std::string_view(start.constData(), std::size_t(start.size())), doc));
    return true;
}
