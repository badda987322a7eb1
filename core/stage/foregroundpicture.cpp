#include "stage/foregroundpicture.h"

#include "host/host.h"
#include "picture/pictureloader.h"
#include "stage/CRKeditDoc.h"
#include "text/stagepath.h"

std::string foregroundPicturePath(const CRKeditDoc& doc, const std::string& stageFilePath) {
    return folderOf(stageFilePath) + toFileSystemPath(doc.graphic1);
}

bool loadForegroundPicture(CRKeditDoc& doc, const std::string& stageFilePath, Host& host) {
    const std::string path = foregroundPicturePath(doc, stageFilePath);
    // No file name holds a NUL byte; handed to the file system it would cut the name short
    // and open another file. Such a name is a file that cannot be opened.
    if (path.find('\0') != std::string::npos) {
        host.messageBox({MessageId::cannotOpenFile, {}});
        return false;
    }
    if (!loadPicture(path, doc.picture, host))
        return false;
    doc.picturePending = true;
    return true;
}
