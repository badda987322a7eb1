#include "document/readstagefile.h"

#include <QFile>

#include <string>

#include "document/filesystemname.h"
#include "file/regularfile.h"

std::optional<FileFault> readStageFile(const QString& path, QByteArray& bytes) {
    std::string read;
    FileFailure failure;
    if (!readRegularFile(fileSystemName(path).toStdString(), maxStageFileBytes, read, failure))
        return fileFaultOf(failure);
    bytes = QByteArray(read.data(), qsizetype(read.size()));
    return std::nullopt;
}
