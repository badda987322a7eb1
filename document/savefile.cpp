#include "document/savefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <string>
#include <vector>

#include "document/filesystemname.h"
#include "file/outputfile.h"

namespace {
constexpr std::string_view temporaryTag = ".";

QString reasonOf(const OutputFailure& failure) {
    switch (failure.kind) {
    case OutputFailure::Kind::none:
        break;
    case OutputFailure::Kind::notRegular:
        return failure.fileType == "a folder"
                   ? QCoreApplication::translate("Document", "フォルダーです。")
                   : QCoreApplication::translate("Document", "通常のファイルではありません。");
    case OutputFailure::Kind::readOnly:
        return QCoreApplication::translate("Document", "ファイルは書き込み禁止になっています。");
    case OutputFailure::Kind::protectedFile:
        return QCoreApplication::translate(
                   "Document", "開いているファイル %1 そのものです。書き出しませんでした。")
            .arg(QDir::toNativeSeparators(
                fromFileSystemName(QByteArray::fromStdString(failure.protectedPath))));
    case OutputFailure::Kind::system:
        // The system's reason as Qt words it elsewhere ("No space left on device").
        return qt_error_string(failure.error);
    }
    return QCoreApplication::translate("Document", "書き込めませんでした。");
}

OutputOptions optionsFor(const QStringList& protectedPaths) {
    OutputOptions options;
    options.temporaryTag = temporaryTag;
    for (const QString& kept : protectedPaths)
        if (!kept.isEmpty())
            options.protectedPaths.push_back(fileSystemName(kept).toStdString());
    return options;
}
} // namespace

QString saveObstacle(const QString& path, const QStringList& protectedPaths) {
    OutputFailure failure;
    if (checkOutputFile(fileSystemName(path).toStdString(), optionsFor(protectedPaths), failure))
        return {};
    return reasonOf(failure);
}

QString saveFileWhole(const QString& path, QByteArrayView bytes,
                      const QStringList& protectedPaths) {
    const OutputOptions options = optionsFor(protectedPaths);
    OutputFailure failure;
    if (writeOutputFile(fileSystemName(path).toStdString(),
                        std::string_view(bytes.data(), std::size_t(bytes.size())), options,
                        failure))
        return {};
    return reasonOf(failure);
}

QString saveTemporaryPrefix(const QString& fileName) {
    return fromFileSystemName(QByteArray::fromStdString(
        temporaryPrefix(fileSystemName(fileName).toStdString(), temporaryTag)));
}
