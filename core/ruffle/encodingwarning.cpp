#include "ruffle/encodingwarning.h"

#include <string>

#include "stage/CRKeditDoc.h"
#include "stage/stagefields.h"
#include "text/stagepath.h"

bool swfReadsTextAsWindows1252(std::string_view swfStart) {
    if (swfStart.size() < 4)
        return false;
    const std::string_view signature = swfStart.substr(0, 3);
    if (signature != "FWS" && signature != "CWS" && signature != "ZWS")
        return false;
    return static_cast<unsigned char>(swfStart[3]) <= 5;
}

namespace {
bool hasNonAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    return false;
}
} // namespace

bool stageHasNonAsciiText(const CRKeditDoc& d) {
    // Every text the record holds; of the pictures, only their leaf names.
    for (const StageField& f : stageFields()) {
        if (f.text == nullptr)
            continue;
        const std::string& text = d.*f.text;
        if (f.kind == FieldKind::leafName ? hasNonAscii(leafName(text)) : hasNonAscii(text))
            return true;
    }
    return false;
}

bool rufflesTextWarns(std::string_view swfStart, const CRKeditDoc& doc) {
    return swfReadsTextAsWindows1252(swfStart) && stageHasNonAsciiText(doc);
}
