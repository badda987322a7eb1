#include "playfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

#include "file/outputfile.h"
#include "file/regularfile.h"
#include "host/message.h"
#include "html/htmlpage.h"
#include "ruffle/encodingwarning.h"
#include "stage/CRKeditDoc.h"
#include "stage/stagerecord.h"
#include "text/cp932.h"
#include "text/stagepath.h"

namespace {

bool writeFile(const QString& path, std::string_view bytes, QString& error) {
    OutputFailure failure;
    if (writeOutputFile(QFile::encodeName(path).toStdString(), bytes, {}, failure))
        return true;
    error = path + QStringLiteral(": ") + QString::fromStdString(describeOutputFailure(failure));
    return false;
}

// Copies `from` (a regular file of at most `limit` bytes) over `to` (replacing an older copy).
bool copyFile(const QString& from, const QString& to, std::uint64_t limit, QString& error) {
    std::string bytes;
    FileFailure failure;
    if (!readRegularFile(QFile::encodeName(from).toStdString(), limit, bytes, failure)) {
        error = from + QStringLiteral(": ") + QString::fromStdString(describeFileFailure(failure));
        return false;
    }
    return writeFile(to, bytes, error);
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

QString PlayFolder::checkMovie(const QString& moviePath) {
    FileFailure failure;
    const int fd = openRegularFile(QFile::encodeName(moviePath).toStdString(), failure);
    if (fd >= 0) {
        struct stat info;
        if (::fstat(fd, &info) == 0 && std::uint64_t(info.st_size) > maxMovieFileBytes) {
            failure.kind = FileFailure::Kind::tooLarge;
            failure.size = std::uint64_t(info.st_size);
            failure.limit = maxMovieFileBytes;
        }
        ::close(fd);
    }
    if (failure.kind == FileFailure::Kind::none)
        return {};
    return moviePath + QStringLiteral(": ") + QString::fromStdString(describeFileFailure(failure));
}

PlayFolder::PlayFolder(RuffleFolder ruffle)
    : ruffle_(std::move(ruffle)), dir_(freshFolderTemplate()) {}

bool PlayFolder::refresh(CRKeditDoc doc, const QString& stagePath, const QString& moviePath,
                         QString& error) {
    if (!dir_.isValid()) {
        error = QStringLiteral("cannot create a temporary folder: ") + dir_.errorString();
        return false;
    }
    const QDir folder(dir_.path());
    // The movie is checked before anything is copied.
    if (const QString refused = checkMovie(moviePath); !refused.isEmpty()) {
        error = refused;
        return false;
    }

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
        if (!copyFile(source, folder.filePath(leaf), maxPictureFileBytes, error))
            return false;
    }

    if (!copyFile(moviePath, folder.filePath(QStringLiteral("rk.swf")), maxMovieFileBytes, error))
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
    // In the interface's language where the program has one (rkstage keeps core's Japanese).
    textWarning_ =
        rufflesTextWarns(std::string_view(start.constData(), std::size_t(start.size())), doc)
            ? QCoreApplication::translate(
                  "Core", std::string(messageTemplate(MessageId::rufflesText)).c_str())
            : QString();
    return true;
}
