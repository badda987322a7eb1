#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <tuple>

#include "picture/pictureblock.h"
#include "render/paintarea.h"
#include "stage/CRKeditDoc.h"
#include "stage/stagefields.h"

// Everything the stage painter reads for one paint of a view. Two paints with equal inputs
// give the same frame, so a paint that only moves the drag rectangle reuses the last frame
// instead of painting a large picture again.
struct PaintInputs {
    int width = 0;
    int height = 0;
    // The layout fields (layoutFields()): the picture size, the cell size, the paddle area.
    std::array<std::string, layoutFieldCount> layout;
    std::uint32_t bgcolorGame = 0;
    std::array<std::int32_t, CRKeditDoc::gridSize * CRKeditDoc::gridSize> block{};
    const PictureBlock* picture = nullptr; // blocks never change once decoded
    int gridMode = 0;
    int referenceDisplay = 0;
    PaintArea area; // where the frame lies on the canvas, at which zoom

    static PaintInputs of(const CRKeditDoc& doc, const PictureHolder& picture, int gridMode,
                          int referenceDisplay, int width, int height) {
        PaintInputs inputs{width,           height,           {},
                           doc.bgcolorGame, doc.block,        picture.block.get(),
                           gridMode,        referenceDisplay, PaintArea::whole(width, height)};
        for (std::size_t i = 0; i < layoutFieldCount; ++i)
            inputs.layout[i] = doc.*layoutFields()[i]->text;
        return inputs;
    }
    bool operator==(const PaintInputs&) const = default;
    // Equal in everything but the block grid (only cells changed since).
    bool sameButCells(const PaintInputs& o) const {
        const auto rest = [](const PaintInputs& p) {
            return std::tie(p.width, p.height, p.layout, p.bgcolorGame, p.picture, p.gridMode,
                            p.referenceDisplay, p.area);
        };
        return rest(*this) == rest(o);
    }
};
