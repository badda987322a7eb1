#include "stage/recordcheck.h"

#include <algorithm>
#include <bitset>

#include "stage/stagefields.h"

RecordCheck checkRecord(std::string_view bytes) {
    if (bytes.empty())
        return RecordCheck::empty;
    const std::string_view line = bytes.substr(0, std::min(bytes.find('\r'), bytes.find('\n')));
    if (!line.ends_with('&'))
        return RecordCheck::unfinished;
    std::bitset<stageFieldCount> seen;
    std::size_t start = 0;
    while (start < line.size()) {
        const std::size_t amp = line.find('&', start);
        const std::string_view pair = line.substr(start, amp - start);
        const std::size_t eq = pair.find('=');
        if (eq != std::string_view::npos)
            if (const StageField* f = findStageField(pair.substr(0, eq)))
                seen.set(std::size_t(f - stageFields().data()));
        start = amp + 1;
    }
    return seen.all() ? RecordCheck::complete : RecordCheck::keysMissing;
}
