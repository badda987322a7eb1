#include "openstage.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "stage/stagedetect.h"
#include "stage/stagerecord.h"
#include "terminalhost.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The record is the file's first line; whatever follows it is never looked at, so reading
// stops at the first line end instead of taking a file of any size into memory.
bool readFirstLine(const std::string& path, std::string& bytes, std::string& error) {
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
    if (!f) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    bytes.clear();
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f.get())) > 0) {
        bytes.append(buffer, n);
        if (std::memchr(buffer, '\r', n) || std::memchr(buffer, '\n', n))
            return true;
    }
    if (std::ferror(f.get())) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

// The editor refuses such a file; here it is read as ever (scripts may rely on that), with a
// warning, since no setting of it reaches the document.
void warnIfNotStage(const std::string& path, const std::string& bytes) {
    if (classifyStageBytes(bytes) == StageBytes::notStage)
        std::fprintf(stderr, "rkstage: warning: %s is not a stage file; it reads as a new stage\n",
                     path.c_str());
}

} // namespace

bool openStage(const std::string& path, CRKeditDoc& doc, TerminalHost& host, std::string& error) {
    std::string bytes;
    if (!readFirstLine(path, bytes, error))
        return false;
    warnIfNotStage(path, bytes);
    readStageRecord(doc, bytes, path, host);
    return true;
}

bool openStageRecord(const std::string& path, CRKeditDoc& doc, std::string& error) {
    std::string bytes;
    if (!readFirstLine(path, bytes, error))
        return false;
    warnIfNotStage(path, bytes);
    parseStageRecord(doc, bytes);
    return true;
}
