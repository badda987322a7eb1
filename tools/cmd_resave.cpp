// rkstage resave IN OUT: open IN as the editor's Open does, then write it to OUT as Save
// does. OUT is replaced all at once or not at all.
#include <cstdio>

#include "command.h"
#include "fileio.h"
#include "openstage.h"
#include "stage/CRKeditDoc.h"
#include "stage/ignoredcontent.h"
#include "stage/stagerecord.h"
#include "terminalhost.h"
#include "text/terminaltext.h"

namespace {

// What of IN the output will not hold, one line each.
void warnAboutIgnored(const IgnoredContent& ignored) {
    if (ignored.cellsBeyondGrid > 0)
        std::fprintf(stderr,
                     "rkstage: warning: %lld block(s) with no cell on the 100 x 100 grid are "
                     "dropped\n",
                     static_cast<long long>(ignored.cellsBeyondGrid));
    for (const std::string& key : ignored.unknownKeys)
        std::fprintf(stderr, "rkstage: warning: unknown key \"%s\" is dropped\n",
                     terminalSafe(key).c_str());
    for (const std::string& key : ignored.unreadValues)
        std::fprintf(stderr,
                     "rkstage: warning: the value of \"%s\" is not of its form and is dropped\n",
                     terminalSafe(key).c_str());
    if (ignored.extraLines > 0)
        std::fprintf(stderr, "rkstage: warning: %lld line(s) after the first are dropped\n",
                     static_cast<long long>(ignored.extraLines));
}

int resave(const std::vector<std::string>& args) {
    if (args.size() != 2)
        return usageError("resave");
    if (const int refused = refuseOutputThatIsInput("resave", args[0], args[1]))
        return refused;
    CRKeditDoc doc;
    TerminalHost host;
    std::string error;
    IgnoredContent ignored;
    bool cutShort = false;
    if (!openStage(args[0], doc, host, error, &ignored, &cutShort))
        return fail(error);
    // Saved, the cut would become the stage: the rest of it lost for good.
    if (cutShort)
        return fail(terminalSafe(args[0]) + " is cut short; nothing written");
    warnAboutIgnored(ignored);
    const std::vector<std::string> lossy = keysThatWillNotReadBack(doc);
    if (!lossy.empty()) {
        std::string keys;
        for (const std::string& k : lossy)
            keys += (keys.empty() ? "" : ", ") + k;
        std::fprintf(stderr, "rkstage: warning: these values will not read back the same: %s\n",
                     terminalSafe(keys).c_str());
    }
    const std::string record = writeStageRecord(doc);
    if (!writeFileAtomically(args[1], record, error))
        return fail(error);
    return 0;
}

[[maybe_unused]] const bool registered = registerCommand({"resave", "IN OUT", resave});

} // namespace
