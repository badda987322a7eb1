#include "render/framebuffer.h"

void FrameBuffer::resize(int w, int h) {
    width = w > 0 ? w : 0;
    height = h > 0 ? h : 0;
    pixels.resize(std::size_t(width) * std::size_t(height));
}
