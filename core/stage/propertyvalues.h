#pragma once

#include <cstdint>
#include <string>

class CRKeditDoc;

// The settings as the properties panel holds them: numbers, check states (0 or 1) and texts
// (CP932), one member per panel field. The document holds every setting as text; the two
// transfers below are where the two meet, key by key.
struct PropertyValues {
    std::int32_t keyboardMode = 0;
    std::int32_t soundMode = 1;
    std::int32_t blockMode = 0;
    std::int32_t effectMode = 1;
    std::int32_t liteMode = 1;
    std::int32_t graphicHeight = 0;
    std::int32_t graphicWidth = 0;
    std::int32_t barSpace = 150;
    std::int32_t minRadian = 2;
    std::int32_t maxRadian = 8;
    std::int32_t ballSize = 10;
    std::int32_t baseSpeed = 16;
    std::int32_t precision = 4;
    std::int32_t barWidth = 100;
    std::int32_t barHeight = 20;
    std::int32_t edgeWidth = 5;
    std::int32_t xSpeed = 10;
    std::int32_t life = 5;
    std::int32_t blockWidth = 0;
    std::int32_t blockHeight = 0;
    std::int32_t runtimeWidth = 0;  // the picture width, shown only
    std::int32_t runtimeHeight = 0; // picture height + paddle area height, shown only
    std::string graphic1 = "graphic1.JPG";
    std::string graphic2 = "graphic2.JPG";
    std::int32_t criticalWidth = 0;
    std::string ballSpeedRate;
    std::string barSpeedRate;
    std::int32_t edgeBack = 0;
    std::int32_t timerVisible = 0;
    std::int32_t rankingEnable = 0;
    std::int32_t blockMask = 0;

    // graphicHeight + barSpace, wrapping in 32 bits like every setting sum.
    std::int32_t computedRuntimeHeight() const;
};

// Document -> panel: texts copied, numeric settings by their digit value, flags copied; the
// runtime size is derived (width of the picture, picture height + paddle area height).
void documentToPanel(const CRKeditDoc& doc, PropertyValues& panel);

struct PanelTransferResult {
    bool gridCleared = false; // the block size differed, so the picture area was cleared
    bool repaint = false;     // block width, block height or paddle area height changed
    bool changed = false;     // some document member (or grid cell) changed
};

// Panel -> document. When the panel's block size (as decimal text) differs from the
// document's texts, the cells over the panel's picture area are cleared first; then every
// setting is stored (numbers as decimal text). The runtime size never reaches the document.
PanelTransferResult panelToDocument(const PropertyValues& panel, CRKeditDoc& doc);
