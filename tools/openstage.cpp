#include "openstage.h"

#include "fileio.h"
#include "stage/stagerecord.h"
#include "terminalhost.h"

bool openStage(const std::string& path, CRKeditDoc& doc, TerminalHost& host, std::string& error) {
    std::string bytes;
    if (!readWholeFile(path, bytes, error))
        return false;
    readStageRecord(doc, bytes, path, host);
    return true;
}
