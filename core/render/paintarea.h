#pragma once

#include <cstdint>

#include "render/stagezoom.h"

// Where a paint lands. The stage is drawn at `zoom` from the top-left corner of a canvas of
// canvasWidth x canvasHeight device pixels: the background rectangle covers the canvas (its
// black border on the canvas's edges) and the picture, grid and blocks are scaled from the
// stage's origin. The frame painted holds the part of the canvas whose top-left corner is
// (left, top), as large as the frame: a view paints only what it shows, and the canvas may
// be far larger than any frame. Frame pixels outside the canvas get the game background.
//
// At zoom 1 with the canvas equal to the frame this is the stage window's paint on a client
// area of the frame's size.
struct PaintArea {
    StageZoom zoom;
    std::int64_t canvasWidth = 0;
    std::int64_t canvasHeight = 0;
    std::int64_t left = 0; // not negative
    std::int64_t top = 0;  // not negative
    // The size the picture has on the stage, in stage pixels, when the block holds it at
    // another size (a picture decoded at a reduced size for a thumbnail): the block is then
    // stretched over that size. 0 means the block's own width or height.
    std::int32_t pictureWidth = 0;
    std::int32_t pictureHeight = 0;

    bool operator==(const PaintArea&) const = default;

    // The whole canvas of `width` x `height` stage pixels at zoom 1.
    static PaintArea whole(std::int64_t width, std::int64_t height) {
        return {StageZoom(), width, height, 0, 0, 0, 0};
    }
    // The whole of a stage of stageWidth x stageHeight stage pixels at `zoom`: the canvas
    // is the stage's size at that zoom (a frame of canvasWidth x canvasHeight holds it all).
    static PaintArea scaledStage(const StageZoom& zoom, std::int64_t stageWidth,
                                 std::int64_t stageHeight) {
        return {zoom, zoom.toDevice(stageWidth), zoom.toDevice(stageHeight), 0, 0, 0, 0};
    }
};

// A rectangle of device pixels, right and bottom edges excluded.
struct PixelRect {
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
    bool operator==(const PixelRect&) const = default;
};
