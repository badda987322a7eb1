// rkstage render IN OUT.png [--grid 2|1|0] [--reference 2|1|0] [--size N]: the stage window's
// picture
// once settled. The stage is opened like the editor's Open; the first paint hands the
// document's newly loaded picture over to the view (through the properties panel it opens);
// the view is painted on a client area of picture width x (picture height + barSpace), and
// painted again while the size write-back changes the document, as the editor's repaints
// after fitting the window do. With --size, a thumbnail of that window (thumbnail.cpp).
#include <cstdint>
#include <string>
#include <vector>

#include "command.h"
#include "fileio.h"
#include "openstage.h"
#include "pngwriter.h"
#include "render/framebuffer.h"
#include "render/stagepainter.h"
#include "stage/CRKeditDoc.h"
#include "stage/settingtext.h"
#include "terminalhost.h"
#include "thumbnail.h"

namespace {

// Larger client areas are refused rather than allocated (4 bytes a pixel).
constexpr std::int64_t maxPixels = std::int64_t(1) << 27;

// "2", "1" or "0" -> the mode; anything else -> -1.
int parseMode(const std::string& text) {
    return text.size() == 1 && text[0] >= '0' && text[0] <= '2' ? text[0] - '0' : -1;
}

// "1" .. maxThumbnailSize in decimal digits -> the size; anything else -> 0.
int parseSize(const std::string& text) {
    if (text.empty() || text.size() > 4 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    const int n = std::stoi(text);
    return n <= maxThumbnailSize ? n : 0;
}

int runRender(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    int gridMode = 2; // the view's initial display choices
    int referenceDisplay = 1;
    int size = 0; // a full-size render
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--size") {
            size = i + 1 < args.size() ? parseSize(args[++i]) : 0;
            if (size <= 0)
                return usageError("render");
        } else if (a == "--grid" || a == "--reference") {
            const int mode = i + 1 < args.size() ? parseMode(args[++i]) : -1;
            if (mode < 0)
                return usageError("render");
            (a == "--grid" ? gridMode : referenceDisplay) = mode;
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            return usageError("render");
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2)
        return usageError("render");
    if (const int refused = refuseOutputThatIsInput("render", files[0], files[1]))
        return refused;
    if (size > 0)
        return renderThumbnail(files[0], files[1], size, gridMode, referenceDisplay);

    TerminalHost host; // the picture loader's message goes to stderr
    CRKeditDoc doc;
    std::string error;
    if (!openStage(files[0], doc, host, error))
        return fail(error);

    // The first paint's hand-over: a pending picture goes to the panel, the view takes it.
    PictureHolder shown;
    if (doc.picturePending) {
        shown = doc.picture;
        doc.picturePending = false;
    }
    if (shown.empty())
        return fail("the stage has no picture to render: " + files[0]);

    const std::int64_t width = shown.block->width();
    const std::int32_t barSpace = digitValue(doc.barSpace);
    std::int64_t height = std::int64_t(shown.block->height()) + barSpace;
    // The paints until the size write-back changes nothing. A paint's outcome and the size it
    // asks for depend on the document and the picture alone, not on the frame, so the rounds
    // are decided without pixels; only the last round's paint is made, band by band, straight
    // into the PNG encoder (the whole frame is never held).
    StagePainter painter;
    CRKeditDoc painted = doc; // the document and height the last round painted
    std::int64_t paintedHeight = height;
    for (int paints = 0; paints < 4; ++paints) {
        if (width <= 0 || height <= 0)
            return fail("the stage window would be empty: picture " + std::to_string(width) +
                        " x " + std::to_string(shown.block->height()) + ", barSpace " +
                        std::to_string(barSpace));
        if (width * height > maxPixels)
            return fail("the stage window is too large to render: " + std::to_string(width) +
                        " x " + std::to_string(height) + " pixels");
        FrameBuffer none; // 0 x 0: the outcome only
        painted = doc;
        paintedHeight = height;
        const PaintResult r = painter.paint(none, doc, shown, gridMode, referenceDisplay);
        if (r.outcome == PaintOutcome::noPicture)
            return fail("the stage's picture cannot be shown: " + files[0]);
        const bool resized = r.fitAndWriteBack && (r.fitWidth != width || r.fitHeight != height);
        const bool changed = writeBackPictureSize(doc, r);
        if (!resized && !changed)
            break;
        if (r.fitAndWriteBack)
            height = r.fitHeight;
    }

    PngFile png;
    const PaintArea whole = PaintArea::whole(width, paintedHeight);
    auto paintBand = [&](FrameBuffer& band, int top) {
        PaintArea at = whole;
        at.top = top;
        painter.paintRegion(band, painted, shown, gridMode, referenceDisplay, at);
    };
    if (!encodePngBands(int(width), int(paintedHeight), paintBand, png, error) ||
        !writeFileAtomically(files[1], png.view(), error))
        return fail(error);
    return 0;
}

const bool registered = registerCommand(
    {"render", "IN OUT.png [--grid 2|1|0] [--reference 2|1|0] [--size N]", runRender});

} // namespace
