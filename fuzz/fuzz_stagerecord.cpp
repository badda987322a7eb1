// Reads arbitrary bytes as a stage file, writes the document back and checks that a record
// the read-back check passes is read and written again to the very same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/host.h"
#include "stage/CRKeditDoc.h"
#include "stage/stagerecord.h"

namespace {

class SilentHost : public Host {
public:
    void messageBox(const std::string&) override {}
    void updateAllViews(CRKeditDoc&) override {}
    std::optional<std::string> takeEventToolScript(const CRKeditDoc&) override {
        return std::nullopt;
    }
};

// A folder that does not exist, so the picture loader never opens a real file.
const std::string stagePath = "/nonexistent-rkedit-fuzz-folder/stage.txt";

constexpr std::int64_t maxFuzzedCells = 200'000;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SilentHost host;
    CRKeditDoc doc;
    readStageRecord(doc, std::string_view(reinterpret_cast<const char*>(data), size), stagePath,
                    host);
    const bool readsBack = keysThatWillNotReadBack(doc).empty();
    // A few bytes can ask for a stage of millions of cells; writing those is correct but
    // slow, and spending the run on them would leave the parser little time.
    if (std::int64_t(doc.columns()) * doc.rows() > maxFuzzedCells)
        return 0;
    const std::string first = writeStageRecord(doc, host);
    if (!readsBack)
        return 0;
    CRKeditDoc again;
    readStageRecord(again, first, stagePath, host);
    if (writeStageRecord(again, host) != first)
        std::abort();
    return 0;
}
