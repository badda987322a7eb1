#pragma once

#include <cstdint>

#include "picture/pictureblock.h"

class CRKeditDoc;
struct FrameBuffer;

// The size of a settled stage window and of the picture in it, at full scale.
struct StageExtent {
    std::int64_t width = 0;  // the client area: picture width ...
    std::int64_t height = 0; // ... by picture height + barSpace
    std::int64_t pictureWidth = 0;
    std::int64_t pictureHeight = 0;
};

// Paints a whole stage window reduced (or enlarged) to the frame's size, for thumbnails.
// Frame pixel (x, y) shows the full-size paint's pixel at the centre of the area it covers
// (nearest neighbour): the background with its black border, the picture over the
// background's top-left pictureWidth x pictureHeight, the grid by gridMode and the normal
// blocks by referenceDisplay, with the view's raster operations, at the stage's own
// positions. Only the stage rows and columns that frame pixels show are composed, so the
// cost follows the frame's height times the stage's width, never the stage's area.
//
// `picture` is a reduced decode of the pictureWidth x pictureHeight picture (any size: the
// picture's pixel under each stage pixel is taken at the same relative position). When it is
// empty the grid and blocks are painted over the background alone, so a stage whose picture
// cannot be read still shows its layout. The grid and blocks follow the document's settings
// as they are (the caller writes the picture size back first when the editor would); they
// are left out when the block width times the block height is 0.
void paintScaledStage(FrameBuffer& frame, const CRKeditDoc& doc, const PictureHolder& picture,
                      const StageExtent& extent, int gridMode, int referenceDisplay);
