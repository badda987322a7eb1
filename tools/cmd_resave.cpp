// rkstage resave IN OUT: open IN as the editor's Open does, then write it to OUT as Save
// does. OUT is replaced all at once or not at all.
#include <cstdio>

#include "command.h"
#include "fileio.h"
#include "openstage.h"
#include "stage/CRKeditDoc.h"
#include "stage/stagerecord.h"
#include "terminalhost.h"

namespace {

int resave(const std::vector<std::string>& args) {
    if (args.size() != 2)
        return usageError("resave");
    if (const int refused = refuseOutputThatIsInput("resave", args[0], args[1]))
        return refused;
    CRKeditDoc doc;
    TerminalHost host;
    std::string error;
    if (!openStage(args[0], doc, host, error))
        return fail(error);
    const std::vector<std::string> lossy = keysThatWillNotReadBack(doc);
    if (!lossy.empty()) {
        std::string keys;
        for (const std::string& k : lossy)
            keys += (keys.empty() ? "" : ", ") + k;
        std::fprintf(stderr, "rkstage: warning: these values will not read back the same: %s\n",
                     keys.c_str());
    }
    const std::string record = writeStageRecord(doc);
    if (!writeFileAtomically(args[1], record, error))
        return fail(error);
    return 0;
}

[[maybe_unused]] const bool registered = registerCommand({"resave", "IN OUT", resave});

} // namespace
