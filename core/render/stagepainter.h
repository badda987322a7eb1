#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "picture/pictureblock.h"

class CRKeditDoc;
struct FrameBuffer;

// What the view must do after a paint.
struct PaintResult {
    // True when the paint got past the picture and block-size tests: the view fits its
    // window so that the client area is fitWidth x fitHeight (picture width x (picture
    // height + barSpace)) and writes the picture size back into the document (and panel).
    bool fitAndWriteBack = false;
    int fitWidth = 0;
    int fitHeight = 0;
    int pictureWidth = 0;
    int pictureHeight = 0;
};

// Paints the stage into `frame` (already sized to the client area): background in
// bgcolorGame, the picture at (0, 0), the grid by gridMode (2 lines, 1 dots, 0 none) and the
// normal blocks by referenceDisplay (2 copy, 1 merge-pen-not, 0 none). Reads the document's
// settings only; the write-back is the caller's. Keeps the converted picture in `cache`
// between paints while the block is unchanged.
class StagePainter {
public:
    PaintResult paint(FrameBuffer& frame, const CRKeditDoc& doc, const PictureHolder& picture,
                      int gridMode, int referenceDisplay);

    // XOR drag rectangle over the cells (x0, y0)..(x1, y1) (any order) with cell size bw x bh.
    static void drawDragRectangle(FrameBuffer& frame, int x0, int y0, int x1, int y1, int bw,
                                  int bh);

private:
    // Converted picture cache, filled by the implementation.
    std::shared_ptr<const PictureBlock> cachedBlock_;
    std::vector<std::uint32_t> cachedPixels_;
};
