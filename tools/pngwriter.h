#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

struct FrameBuffer;

// A PNG file's bytes. Held in a buffer that is never zero-filled first: a full-size stage's
// file is tens of megabytes, and clearing them would cost as much as compressing them.
struct PngFile {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size = 0;
    std::string_view view() const { return {reinterpret_cast<const char*>(bytes.get()), size}; }
};

// Encodes a frame as an 8-bit RGB PNG (no alpha) into `png`. False, with `error` set to one
// line, when the frame is empty or the encoder fails.
bool encodePng(const FrameBuffer& frame, PngFile& png, std::string& error);

// The same for a picture of width x height painted band by band, straight into the encoder's
// input: paintBand(band, top) paints rows top .. top + band.height - 1 into `band`, one frame
// of width x a few rows reused for every band (the last band's rows past the picture are
// ignored). Only the band is ever held as frame pixels, never the whole picture.
bool encodePngBands(int width, int height,
                    const std::function<void(FrameBuffer& band, int top)>& paintBand, PngFile& png,
                    std::string& error);
