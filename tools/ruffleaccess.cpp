#include "ruffleaccess.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "host/message.h"
#include "ruffle/encodingwarning.h"
#include "text/terminaltext.h"

std::optional<RuffleFolder> findRuffle(std::string& error) {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return RuffleFolder::find(ec ? std::string(".") : self.parent_path().string(),
                              std::getenv(RuffleFolder::environmentVariable), error);
}

void warnAboutTextEncoding(const std::string& moviePath, const CRKeditDoc& doc) {
    std::ifstream in(moviePath, std::ios::binary);
    char start[4] = {};
    if (!in.read(start, sizeof start))
        return;
    if (rufflesTextWarns(std::string_view(start, sizeof start), doc))
        std::fprintf(stderr, "rkstage: warning: %s: %s\n", terminalSafe(moviePath).c_str(),
                     messageText({MessageId::rufflesText, {}}).c_str());
}
