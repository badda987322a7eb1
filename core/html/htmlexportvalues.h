#pragma once

#include <cstdint>
#include <string>

class CRKeditDoc;

// The six document values the HTML export dialog edits: a working copy taken from the
// document before the dialog runs and stored back when the user confirms it. The field table
// (stage/stagefields.h) names which member holds which.
struct HtmlExportValues {
    std::uint32_t bgcolorGame = 0; // 0x00BBGGRR
    std::uint32_t bgcolorHtml = 0; // 0x00BBGGRR
    std::string title;
    std::string configFileName;
    std::string quality;
    std::string annotationPosition;

    static HtmlExportValues from(const CRKeditDoc& doc);

    // Stores the values in the document. True when any document value changed.
    bool storeInto(CRKeditDoc& doc) const;

    bool operator==(const HtmlExportValues&) const = default;
};
