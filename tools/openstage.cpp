#include "openstage.h"

#include <cstdio>

#include "file/regularfile.h"
#include "stage/CRKeditDoc.h"
#include "stage/foregroundpicture.h"
#include "stage/recordcheck.h"
#include "stage/stagedetect.h"
#include "stage/stagerecord.h"
#include "terminalhost.h"
#include "text/terminaltext.h"

namespace {

// Only a regular file of a sane size is read: a FIFO would wait for ever, a device or a huge
// file would fill memory.
bool readStageFile(const std::string& path, std::string& bytes, std::string& error) {
    FileFailure failure;
    if (readRegularFile(path, maxStageFileBytes, bytes, failure))
        return true;
    error = path + ": " + describeFileFailure(failure);
    return false;
}

// The editor refuses such a file; here it is read as ever (scripts may rely on that), with a
// warning, since no setting of it reaches the document.
void warnIfNotStage(const std::string& path, const std::string& bytes) {
    if (classifyStageBytes(bytes) == StageBytes::notStage)
        std::fprintf(stderr, "rkstage: warning: %s is not a stage file; it reads as a new stage\n",
                     terminalSafe(path).c_str());
}

// A record cut short (its last pair not closed by "&") is most likely a file still being
// written or damaged: what follows the cut is not in it.
bool warnIfCutShort(const std::string& path, const std::string& bytes) {
    if (bytes.empty() || classifyStageBytes(bytes) == StageBytes::notStage ||
        checkRecord(bytes) != RecordCheck::unfinished)
        return false;
    std::fprintf(stderr,
                 "rkstage: warning: %s is cut short: its last pair is not closed by \"&\" "
                 "(a write still going on, or a damaged file)\n",
                 terminalSafe(path).c_str());
    return true;
}

} // namespace

bool openStage(const std::string& path, CRKeditDoc& doc, TerminalHost& host, std::string& error,
               IgnoredContent* ignored, bool* cutShort) {
    std::string bytes;
    if (!readStageFile(path, bytes, error))
        return false;
    warnIfNotStage(path, bytes);
    const bool cut = warnIfCutShort(path, bytes);
    if (cutShort != nullptr)
        *cutShort = cut;
    doc = ignored != nullptr ? parseStageRecord(bytes, *ignored) : parseStageRecord(bytes);
    loadForegroundPicture(doc, path, host);
    return true;
}

bool openStageRecord(const std::string& path, CRKeditDoc& doc, std::string& error) {
    std::string bytes;
    if (!readStageFile(path, bytes, error))
        return false;
    warnIfNotStage(path, bytes);
    warnIfCutShort(path, bytes);
    doc = parseStageRecord(bytes);
    return true;
}
