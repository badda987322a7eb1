// Thumbnails for file managers. The stage window is the one `rkstage render` paints at full
// size (picture width x (picture height + barSpace), the picture size written back), painted
// straight at the thumbnail's size from a picture decoded at a fraction of its size.
//
// File managers may run thumbnailers in a sandbox that shows them the stage file alone, so a
// picture that cannot be read still gives a thumbnail: the grid and the blocks over the
// game's background, at the picture size the stage records. A stage that names no picture, or
// whose recorded size leaves nothing to show, is an error like a full-size render.
#include "thumbnail.h"

#include <algorithm>
#include <cstdint>

#include "command.h"
#include "fileio.h"
#include "openstage.h"
#include "picture/pictureloader.h"
#include "pngwriter.h"
#include "render/framebuffer.h"
#include "render/scaledstagepainter.h"
#include "stage/CRKeditDoc.h"
#include "stage/foregroundpicture.h"
#include "stage/settingtext.h"
#include "stage/stagerecord.h"
#include "terminalhost.h"

namespace {
using i64 = std::int64_t;

// The same limit as a full-size render: a stage window it would refuse is refused here too.
constexpr i64 maxStagePixels = i64(1) << 27;

// Eighths of the picture to decode so that the reduced picture has at least as many pixels
// across and down as the thumbnail shows of it.
unsigned eighthsFor(i64 size, i64 longer) {
    return unsigned(std::clamp<i64>((8 * size + longer - 1) / longer, 1, 8));
}

// The stage window at full size from the picture's size; false (with `why`) when it is empty
// or too large.
bool stageExtent(i64 pictureWidth, i64 pictureHeight, i64 barSpace, StageExtent& e,
                 std::string& why) {
    e = {pictureWidth, pictureHeight + barSpace, pictureWidth, pictureHeight};
    if (e.width <= 0 || e.height <= 0) {
        why = "the stage window would be empty: picture " + std::to_string(pictureWidth) + " x " +
              std::to_string(pictureHeight) + ", barSpace " + std::to_string(barSpace);
        return false;
    }
    if (e.width * e.height > maxStagePixels) {
        why = "the stage window is too large to render: " + std::to_string(e.width) + " x " +
              std::to_string(e.height) + " pixels";
        return false;
    }
    return true;
}
} // namespace

int renderThumbnail(const std::string& in, const std::string& out, int size, int gridMode,
                    int referenceDisplay) {
    CRKeditDoc doc;
    std::string error;
    if (!openStageRecord(in, doc, error))
        return fail(error);
    if (doc.graphic1.empty())
        return fail("the stage has no picture to render: " + in);

    const i64 barSpace = digitValue(doc.barSpace);
    TerminalHost host; // the picture loader's message goes to stderr
    PictureHolder picture;
    std::uint32_t pictureWidth = 0, pictureHeight = 0;
    const std::string path = foregroundPicturePath(doc, in);
    const PictureScaleChoice choose = [&](std::uint32_t w, std::uint32_t h) {
        return eighthsFor(size, std::max<i64>({i64(w), i64(h) + barSpace, 1}));
    };
    // A name holding a NUL byte names no file (the editor's Open refuses it the same way).
    const bool loaded =
        path.find('\0') == std::string::npos
            ? loadPictureScaled(path, picture, host, choose, pictureWidth, pictureHeight)
            : (host.messageBox({MessageId::cannotOpenFile, {}}), false);

    StageExtent extent;
    if (loaded) {
        // The settled window: a paint that gets past the block size test writes the picture
        // size back before the last paint.
        if (std::uint32_t(digitValue(doc.blockWidth)) *
                std::uint32_t(digitValue(doc.blockHeight)) !=
            0) {
            doc.graphicWidth = decimalText(std::int32_t(pictureWidth));
            doc.graphicHeight = decimalText(std::int32_t(pictureHeight));
        }
        if (!stageExtent(pictureWidth, pictureHeight, barSpace, extent, error))
            return fail(error);
    } else {
        const i64 w = digitValue(doc.graphicWidth), h = digitValue(doc.graphicHeight);
        if (w <= 0 || h <= 0)
            return fail("the stage's picture cannot be read and its recorded size (" +
                        std::to_string(w) + " x " + std::to_string(h) +
                        ") leaves nothing to show: " + in);
        if (!stageExtent(w, h, barSpace, extent, error))
            return fail(error);
    }

    // Longer side exactly `size`, the other in proportion (at least one pixel).
    const i64 longer = std::max(extent.width, extent.height);
    auto side = [&](i64 full) {
        return full == longer ? i64(size) : std::max<i64>(1, (full * size + longer / 2) / longer);
    };
    FrameBuffer frame;
    frame.resize(int(side(extent.width)), int(side(extent.height)));
    paintScaledStage(frame, doc, picture, extent, gridMode, referenceDisplay);

    PngFile png;
    if (!encodePng(frame, png, error) || !writeFileAtomically(out, png.view(), error))
        return fail(error);
    return 0;
}
