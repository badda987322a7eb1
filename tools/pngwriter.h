#pragma once

#include <string>

struct FrameBuffer;

// Encodes a frame as an 8-bit RGB PNG (no alpha) into `png`. False, with `error` set to one
// line, when the frame is empty or the encoder fails.
bool encodePng(const FrameBuffer& frame, std::string& png, std::string& error);
