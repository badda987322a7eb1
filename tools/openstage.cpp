#include "openstage.h"

#include <cstdio>

#include "file/regularfile.h"
#include "stage/stagedetect.h"
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
    // The editor refuses such a file; here it is read as ever (scripts may rely on that),
    // with a warning, since no setting of it reaches the document.
    if (classifyStageBytes(bytes) == StageBytes::notStage)
        std::fprintf(stderr, "rkstage: warning: %s is not a stage file; it reads as a new stage\n",
                     path.c_str());
    readStageRecord(doc, bytes, path, host);
    return true;
}
