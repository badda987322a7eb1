#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

// An allocator whose value-less construction leaves the element uninitialised: a buffer that
// is about to be painted whole is not first filled with zeros (a pass over every byte of a
// window-sized buffer, on the thread that is waiting for the paint).
template <class T> struct UninitialisedAllocator : std::allocator<T> {
    template <class U> struct rebind { using other = UninitialisedAllocator<U>; };
    UninitialisedAllocator() = default;
    template <class U> UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
    template <class U> void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
    template <class U, class... Args> void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

// The client image of a stage window, painted in software. Pixels are 32-bit 0xFFRRGGBB,
// top-down, so the view can wrap the buffer as a QImage::Format_RGB32 without conversion.
// Colours given to drawing calls are the stage's 0x00BBGGRR values; raster operations keep
// the top byte 0xFF.
struct FrameBuffer {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t, UninitialisedAllocator<std::uint32_t>> pixels; // width * height

    // Sets the size (a negative size counts as 0). The contents are unspecified afterwards:
    // every paint covers the whole buffer.
    void resize(int w, int h);
    std::uint32_t* row(int y) { return pixels.data() + std::size_t(y) * std::size_t(width); }
    const std::uint32_t* row(int y) const {
        return pixels.data() + std::size_t(y) * std::size_t(width);
    }
    std::uint32_t at(int x, int y) const { return row(y)[x]; }
};
