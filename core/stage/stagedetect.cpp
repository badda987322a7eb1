#include "stage/stagedetect.h"

#include <algorithm>

#include "stage/stagefields.h"

StageBytes classifyStageBytes(std::string_view bytes) {
    if (bytes.empty())
        return StageBytes::empty;
    const std::string_view line = bytes.substr(0, std::min(bytes.find('\r'), bytes.find('\n')));
    std::size_t start = 0;
    while (start <= line.size()) {
        const std::size_t amp = std::min(line.find('&', start), line.size());
        const std::string_view pair = line.substr(start, amp - start);
        const std::size_t eq = pair.find('=');
        if (eq != std::string_view::npos && eq > 0 && findStageField(pair.substr(0, eq)))
            return StageBytes::stage;
        start = amp + 1;
    }
    return StageBytes::notStage;
}
