#pragma once

#include "host/message.h"

#include <string>
#include <string_view>

// Why a file could not be opened, read or written, as the user is told it.
enum class FileFault {
    notFound,        // no file of that name
    noPermission,    // the file (or its folder) may not be read or written
    isFolder,        // the name is a folder
    notRegularFile,  // a device, a FIFO, a socket: not a file that holds a stage or picture
    fileTooLarge,    // larger than a stage file or picture file can be
    notJpeg,         // the picture file is no JPEG (no start-of-image marker)
    damagedPicture,  // a JPEG the library cannot decode
    pictureTooLarge, // a JPEG frame of more pixels than the loader accepts
    notStage,        // a non-empty file whose first line holds no stage pair
    readError,       // the system refused the read for another reason
};

// The reason in the user's words, one sentence ending in "。": its message and its Japanese.
MessageId faultMessage(FileFault fault);
std::string_view fileFaultText(FileFault fault);

// The two-line message for a file that cannot be opened: the first line as the program
// always showed it ("ファイルをオープンできません。"), the second the file's name (UTF-8, as
// the user sees it) and the reason.
Message cannotOpenMessage(std::string_view fileName, FileFault fault);

// The reason for an errno value from opening or reading a file.
FileFault fileFaultFromErrno(int error);
