#include "host/filefault.h"

#include <cerrno>

MessageId faultMessage(FileFault fault) {
    switch (fault) {
    case FileFault::notFound:
        return MessageId::faultNotFound;
    case FileFault::noPermission:
        return MessageId::faultNoPermission;
    case FileFault::isFolder:
        return MessageId::faultIsFolder;
    case FileFault::notRegularFile:
        return MessageId::faultNotRegularFile;
    case FileFault::fileTooLarge:
        return MessageId::faultFileTooLarge;
    case FileFault::notJpeg:
        return MessageId::faultNotJpeg;
    case FileFault::damagedPicture:
        return MessageId::faultDamagedPicture;
    case FileFault::pictureTooLarge:
        return MessageId::faultPictureTooLarge;
    case FileFault::notStage:
        return MessageId::faultNotStage;
    case FileFault::readError:
        break;
    }
    return MessageId::faultReadError;
}

std::string_view fileFaultText(FileFault fault) {
    return messageTemplate(faultMessage(fault));
}

Message cannotOpenMessage(std::string_view fileName, FileFault fault) {
    return {MessageId::cannotOpenNamed, {std::string(fileName), faultMessage(fault)}};
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
