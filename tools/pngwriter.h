#pragma once

#include <cstddef>
#include <cstdint>
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
