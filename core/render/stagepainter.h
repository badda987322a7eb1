#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "picture/pictureblock.h"
#include "render/framebuffer.h"
#include "render/paintarea.h"

class CRKeditDoc;
class PictureLevels;

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

// Paints the stage: background in bgcolorGame, the picture at (0, 0), the grid by gridMode
// (2 lines, 1 dots, 0 none) and the blocks of every code by referenceDisplay (2 copy, 1
// merge-pen-not, 0 none). Reads the document's settings only; the write-back is the
// caller's (writeBackPictureSize).
//
// paint() is the stage window's paint on a client area of the frame's size; paintRegion()
// paints any part of the stage at any zoom (PaintArea), straight from the picture block:
// the picture is scaled nearest-neighbour (each device pixel shows the stage pixel its
// top-left corner lies in), grid lines, dots and block borders stay one device pixel wide
// at the cell boundaries, and the work and memory are those of the frame, whatever the
// picture's size. At zoom 1 both give the same pixels. At 1/2 and below the picture's pixels
// come from its reduced copies (PictureLevels, made on the first such paint of a picture,
// shared by its painters and kept by them): each device pixel then shows one of the picture
// pixels it covers, which is the nearest-neighbour one at zooms that are powers of two.
// Nothing else is kept between paints but scratch rows.
//
// A picture block whose header does not describe a bottom-up 24-bit picture that fits in
// the block (for instance a block whose decoding failed half-way), or one wider than 2^28
// pixels (no JPEG is), is shown as no picture.
class StagePainter {
public:
    PaintResult paint(FrameBuffer& frame, const CRKeditDoc& doc, const PictureHolder& picture,
                      int gridMode, int referenceDisplay);
    PaintResult paintRegion(FrameBuffer& frame, const CRKeditDoc& doc, const PictureHolder& picture,
                            int gridMode, int referenceDisplay, const PaintArea& area);

    // The drag rectangle over the cells (x0, y0)..(x1, y1) (any order) with cell size
    // bw x bh, in stage pixels: from the top-left corner of the first cell to one pixel short
    // of the bottom-right corner of the last (right and bottom edges excluded). Empty unless
    // bw and bh are positive.
    static PixelRect dragRectangle(int x0, int y0, int x1, int y1, int bw, int bh);
    // A stage rectangle's device pixels at `zoom`: those showing its stage pixels.
    static PixelRect toDevice(const PixelRect& stage, const StageZoom& zoom);

    // XOR drag rectangle (dragRectangle) drawn on a frame painted at zoom 1 from (0, 0).
    // Drawing it a second time erases it.
    static void drawDragRectangle(FrameBuffer& frame, int x0, int y0, int x1, int y1, int bw,
                                  int bh);
    // Moves an XOR rectangle drawn on the frame of `area` from device rectangle `from` to
    // `to` (canvas device pixels; an empty one stands for no rectangle): the pixels in
    // exactly one of them are XOR-ed, so the cost is that of the change, not of the
    // rectangles. Returns the frame pixels changed (their bounding rectangle, in frame
    // coordinates), for the caller to show.
    static PixelRect moveDragRectangle(FrameBuffer& frame, const PaintArea& area,
                                       const PixelRect& from, const PixelRect& to);

    // Paints again the part `rect` (canvas device pixels) of a frame painted of `area`, as
    // the whole paint would paint it, with the XOR rectangle `drag` (canvas device pixels;
    // empty for none) that was drawn over the frame drawn over it again: after cells
    // changed, the cost is that of their pixels, not of the frame. Returns the frame pixels
    // painted (frame coordinates; empty when `rect` lies outside the frame).
    PixelRect repaintPart(FrameBuffer& frame, const CRKeditDoc& doc, const PictureHolder& picture,
                          int gridMode, int referenceDisplay, const PaintArea& area,
                          const PixelRect& rect, const PixelRect& drag);

    // The parts a paint's rows are split into (see PaintWorkers); 0, the default, lets the
    // frame's size decide. The frame painted is the same for every choice.
    void setParts(int parts) { parts_ = parts; }
    // Whether paints at 1/2 and below read the picture's reduced copies (PictureLevels), as
    // they do by default, or the picture itself (exact nearest-neighbour sampling at every
    // zoom, at the cost of reading every sampled picture row: the benchmarks' baseline).
    void setUseLevels(bool use) { useLevels_ = use; }

private:
    std::vector<std::vector<std::uint32_t>> pictureRows_; // a scaled picture row per part
    std::vector<std::uint32_t> sourceColumn_; // byte offset in a block row of each column
    FrameBuffer part_;                        // scratch frame of repaintPart
    int parts_ = 0;
    bool useLevels_ = true;
    // The reduced copies of the picture last painted below 1/2 (shared with every other
    // painter of that picture), held until a paint below 1/2 shows another picture.
    std::shared_ptr<PictureLevels> levels_;
    std::weak_ptr<const PictureBlock> levelsOf_;
};

// The size write-back that follows a complete paint: graphicWidth and graphicHeight become
// the decimal texts of the picture's size. Returns true when either text changed; does
// nothing (and returns false) unless result.fitAndWriteBack.
bool writeBackPictureSize(CRKeditDoc& doc, const PaintResult& result);
// The same write-back for the stage's own picture (doc.picture), as a paint of the stage
// would tell it; nothing while the stage shows no picture with a usable block size.
bool writeBackPictureSize(CRKeditDoc& doc);
