#include "openstage.h"

#include "file/regularfile.h"
#include "stage/stagerecord.h"
#include "terminalhost.h"

bool openStage(const std::string& path, CRKeditDoc& doc, TerminalHost& host, std::string& error) {
    // Only a regular file of a sane size is read: a FIFO would wait for ever, a device or a
    // huge file would fill memory.
    std::string bytes;
    FileFailure failure;
    if (!readRegularFile(path, maxStageFileBytes, bytes, failure)) {
        error = path + ": " + describeFileFailure(failure);
        return false;
    }
    readStageRecord(doc, bytes, path, host);
    return true;
}
