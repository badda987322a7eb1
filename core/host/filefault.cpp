#include "host/filefault.h"

#include <cerrno>

std::string_view fileFaultText(FileFault fault) {
    switch (fault) {
    case FileFault::notFound:
        return "ファイルが見つかりません。";
    case FileFault::noPermission:
        return "ファイルを読み書きする権限がありません。";
    case FileFault::isFolder:
        return "フォルダーです。";
    case FileFault::notRegularFile:
        return "通常のファイルではありません。";
    case FileFault::fileTooLarge:
        return "ファイルが大きすぎます。";
    case FileFault::notJpeg:
        return "JPEG ファイルではありません。";
    case FileFault::damagedPicture:
        return "JPEG ファイルが壊れているか、読み込めない形式です。";
    case FileFault::pictureTooLarge:
        return "画像が大きすぎます（67,108,864 画素まで）。";
    case FileFault::notStage:
        return "ステージファイルではありません。";
    case FileFault::readError:
        break;
    }
    return "ファイルを読み込めません。";
}

std::string cannotOpenMessage(std::string_view fileName, FileFault fault) {
    std::string text(cannotOpenFileText);
    text += '\n';
    text += fileName;
    text += ": ";
    text += fileFaultText(fault);
    return text;
}

FileFault fileFaultFromErrno(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return FileFault::notFound;
    case EACCES:
    case EPERM:
        return FileFault::noPermission;
    case EISDIR:
        return FileFault::isFolder;
    case EFBIG:
        return FileFault::fileTooLarge;
    default:
        return FileFault::readError;
    }
}
