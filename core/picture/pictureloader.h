#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "picture/pictureblock.h"

class Host;

// Decodes the JPEG file at `path` (file system encoding) into a new picture block and makes
// `holder` refer to it. `beforeDecoding` runs once the file is open, before decoding starts
// (the panel's browse buttons show the chosen path there). On any failure the host shows
// "ファイルをオープンできません。" once, false is returned and `holder` keeps the picture it
// had: a picture that fails halfway is never shown.
bool loadPicture(const std::string& path, PictureHolder& holder, Host& host,
                 const std::function<void()>& beforeDecoding = {});

// Given a picture's size in the file, the scale to decode it at, in eighths (1..8; values
// outside are held to that range).
using PictureScaleChoice = std::function<unsigned(std::uint32_t width, std::uint32_t height)>;

// loadPicture for a reduced copy (thumbnails): once the file's header is read,
// `chooseEighths` gets the picture's size and picks the scale; the block then holds the
// picture decoded at that many eighths of its size (width and height rounded up) by
// libjpeg's DCT scaling, and frameWidth x frameHeight is the picture's own size. Failures as
// loadPicture, which is unchanged (its pictures always have their own size).
bool loadPictureScaled(const std::string& path, PictureHolder& holder, Host& host,
                       const PictureScaleChoice& chooseEighths, std::uint32_t& frameWidth,
                       std::uint32_t& frameHeight);

// The largest picture the loader accepts, in pixels (8192 x 8192, a 256 MiB block). A JPEG
// frame may claim up to 65500 x 65500 pixels in a few header bytes; such a file is refused
// before the library or the loader allocates anything for its rows.
inline constexpr std::uint64_t maxPicturePixels = std::uint64_t(1) << 26;

// True when a picture of width x height pixels is within maxPicturePixels (and not empty).
bool pictureSizeAllowed(std::uint32_t width, std::uint32_t height);
