// Parses arbitrary bytes as a stage record, writes the document back and checks that a record
// the read-back check passes is parsed and written again to the very same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "stage/CRKeditDoc.h"
#include "stage/stagerecord.h"

namespace {

constexpr std::int64_t maxFuzzedCells = 200'000;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const CRKeditDoc doc =
        parseStageRecord(std::string_view(reinterpret_cast<const char*>(data), size));
    // A few bytes can ask for a stage of millions of cells; writing those is correct but
    // slow (the read-back check writes the record too), and spending the run on them would
    // leave the parser little time.
    if (std::int64_t(doc.columns()) * doc.rows() > maxFuzzedCells)
        return 0;
    const bool readsBack = keysThatWillNotReadBack(doc).empty();
    const std::string first = writeStageRecord(doc);
    if (!readsBack)
        return 0;
    if (writeStageRecord(parseStageRecord(first)) != first)
        std::abort();
    return 0;
}
