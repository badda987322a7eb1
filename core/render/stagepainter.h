#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "picture/pictureblock.h"

class CRKeditDoc;
struct FrameBuffer;

// The view's colours as 0x00BBGGRR values.
namespace StageColours {
constexpr std::uint32_t backgroundPen = 0x00000000;
constexpr std::uint32_t grid = 0x009B9B00;       // RGB(0, 155, 155), lines and dots
constexpr std::uint32_t blockPen = 0x003232C8;   // RGB(200, 50, 50)
constexpr std::uint32_t blockBrush = 0x0000009B; // RGB(155, 0, 0)
constexpr std::uint32_t drag = 0x00CD3700;       // RGB(0, 55, 205), pen and brush
} // namespace StageColours

// How far a paint got.
enum class PaintOutcome {
    noPicture,     // only the background was painted
    zeroBlockSize, // background and picture only: the block width or height is 0
    complete,      // everything: background, picture, grid and blocks
};

// What the view must do after a paint.
struct PaintResult {
    PaintOutcome outcome = PaintOutcome::noPicture;
    // True when the paint got past the picture and block-size tests: the view fits its
    // window so that the client area is fitWidth x fitHeight (picture width x (picture
    // height + barSpace)) and writes the picture size back into the document (and panel).
    bool fitAndWriteBack = false;
    int fitWidth = 0;  // picture width
    int fitHeight = 0; // picture height + barSpace, held within 0..INT32_MAX
    int pictureWidth = 0;
    int pictureHeight = 0;
};

// Paints the stage into `frame` (already sized to the client area): background in
// bgcolorGame, the picture at (0, 0), the grid by gridMode (2 lines, 1 dots, 0 none) and the
// normal blocks by referenceDisplay (2 copy, 1 merge-pen-not, 0 none). Reads the document's
// settings only; the write-back is the caller's (writeBackPictureSize). Keeps the converted
// picture between paints while the block is unchanged.
//
// A picture block whose header does not describe a bottom-up 24-bit picture that fits in
// the block (for instance a block whose decoding failed half-way) is shown as no picture.
class StagePainter {
public:
    PaintResult paint(FrameBuffer& frame, const CRKeditDoc& doc, const PictureHolder& picture,
                      int gridMode, int referenceDisplay);

    // XOR drag rectangle over the cells (x0, y0)..(x1, y1) (any order) with cell size bw x bh:
    // from the top-left corner of the first cell to one pixel short of the bottom-right
    // corner of the last. Drawing it a second time erases it. Draws nothing unless bw and bh
    // are positive.
    static void drawDragRectangle(FrameBuffer& frame, int x0, int y0, int x1, int y1, int bw,
                                  int bh);

private:
    // Converts `picture` into cachedPixels_ unless it is the block already converted.
    // False when there is no picture to show.
    bool preparePicture(const PictureHolder& picture);

    std::shared_ptr<const PictureBlock> cachedBlock_;
    std::vector<std::uint32_t> cachedPixels_; // top-down frame pixels
    int cachedWidth_ = 0;
    int cachedHeight_ = 0;
};

// The size write-back that follows a complete paint: graphicWidth and graphicHeight become
// the decimal texts of the picture's size. Returns true when either text changed; does
// nothing (and returns false) unless result.fitAndWriteBack.
bool writeBackPictureSize(CRKeditDoc& doc, const PaintResult& result);
