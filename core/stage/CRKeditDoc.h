#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "picture/pictureblock.h"

// The core layer (core/, the rkcore library): the stage data, the stage record, pictures, the
// HTML page, painting and text conversion. It uses the standard library, libjpeg and iconv,
// never Qt, and calls the program around it only through Host (host/host.h).
//
// One open stage: everything a stage file stores, the two HTML export values the file does
// not store, and the foreground picture decoded when a stage file is read. Texts are the
// CP932 bytes exactly as typed or read; nothing here validates a setting.
//
// Reading and writing the stage record live in stagerecord.h; the text rules (digit value,
// decimal text, ceiling division) in settingtext.h.
class CRKeditDoc {
public:
    static constexpr int gridSize = 100;

    CRKeditDoc();

    // Block grid cell (x, y): column x, row y, both 0..99. Each column's 100 rows are
    // contiguous (element x * 100 + y). Callers must stay inside the grid; inGrid() tells.
    static bool inGrid(int x, int y) { return x >= 0 && x < gridSize && y >= 0 && y < gridSize; }
    std::int32_t& cell(int x, int y) { return block[std::size_t(x) * gridSize + std::size_t(y)]; }
    std::int32_t cell(int x, int y) const {
        return block[std::size_t(x) * gridSize + std::size_t(y)];
    }

    // The stage's size in cells: ceiling division of the picture size by the block size.
    // 0 when the block size has digit value 0 (no cell can be computed) or the result is
    // not positive. Not clamped to the grid: callers clamp where they touch cells.
    int columns() const;
    int rows() const;

    // Members in declared order.
    std::string quality;
    std::string title;
    std::uint32_t bgcolorHtml = 0; // 0x00BBGGRR
    std::uint32_t bgcolorGame = 0; // 0x00BBGGRR
    std::string version;
    std::array<std::int32_t, gridSize * gridSize> block{};

    std::string graphicWidth;
    std::string graphicHeight;
    std::string graphic1;
    std::string graphic2;
    std::string minRadian;
    std::string maxRadian;
    std::string baseSpeed;
    std::string ballSize;
    std::string precision;
    std::string xSpeed;
    std::string barWidth;
    std::string barHeight;
    std::string criticalWidth;
    std::string edgeWidth;
    std::string blockWidth;
    std::string blockHeight;
    std::string barSpace;
    std::string life;
    std::string blockMask;

    std::int32_t keyboardMode = 0;
    std::int32_t blockMode = 0;
    std::int32_t soundMode = 1;
    std::int32_t effectMode = 1;
    std::int32_t liteMode = 1;
    std::int32_t edgeBack = 1;
    std::int32_t timerVisible = 1;
    std::int32_t rankingEnable = 0;

    std::string ballSpeedRate;
    std::string barSpeedRate;

    // The foreground picture (picture header and picture bits), shared with the panels and
    // views that show it.
    PictureHolder picture;

    std::string annotationPosition;
    std::string configFileName;
    std::string command; // the event script, lines separated by CR LF
    bool picturePending = false;
};
