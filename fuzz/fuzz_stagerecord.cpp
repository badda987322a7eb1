// Parses arbitrary bytes as a stage record, writes the document back and checks that a record
// the read-back check passes is parsed and written again to the very same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "stage/CRKeditDoc.h"
#include "stage/ignoredcontent.h"
#include "stage/stagerecord.h"

namespace {

constexpr std::int64_t maxFuzzedCells = 200'000;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const CRKeditDoc doc = parseStageRecord(bytes);
    // Saying what was left out changes nothing of what is read.
    IgnoredContent ignored;
    const CRKeditDoc reported = parseStageRecord(bytes, ignored);
    if (reported.block != doc.block || reported.command != doc.command ||
        reported.title != doc.title)
        std::abort();
    // A few bytes can ask for a stage of millions of cells; writing those is correct but
    // slow (the read-back check writes the record too), and spending the run on them would
    // leave the parser little time.
    if (std::int64_t(doc.columns()) * doc.rows() > maxFuzzedCells)
        return 0;
    const bool readsBack = keysThatWillNotReadBack(doc).empty();
    const std::string first = writeStageRecord(doc);
    if (!readsBack)
        return 0;
    // A record that reads back leaves nothing out when read again.
    if (writeStageRecord(parseStageRecord(first, ignored)) != first || !ignored.empty())
        std::abort();
    return 0;
}
