#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "host/filefault.h"
#include "picture/pictureblock.h"

class Host;

// Decodes the JPEG file at `path` (file system encoding) into a new picture block and makes
// `holder` refer to it. `beforeDecoding` runs once the file is open, before decoding starts
// (the panel's browse buttons show the chosen path there). On any failure the host shows
// "ファイルをオープンできません。" with a second line naming the file and the reason
// (cannotOpenMessage) once, false is returned and `holder` keeps the picture it had: a
// picture that fails halfway is never shown. A picture the library decodes with a warning
// (a file cut short: the rows past the cut come out grey) is shown, and the host is told so
// (pictureWarningMessage).
bool loadPicture(const std::string& path, PictureHolder& holder, Host& host,
                 const std::function<void()>& beforeDecoding = {});

// Why a picture could not be loaded: the reason as the user is told it, and one line with
// the details (the library's message, the sizes) for stderr and logs.
enum class PictureWarning {
    none,
    cutShort,   // the file ends before the picture does
    damagedData // another warning of the library (damaged data it skipped)
};

struct PictureFailure {
    FileFault fault = FileFault::readError;
    std::string detail;
    // On success: what the library warned of ("detail" holds its message), else none.
    PictureWarning warning = PictureWarning::none;
};

// The message for a picture shown despite `warning`: the file's name and what is wrong.
Message pictureWarningMessage(std::string_view fileName, PictureWarning warning);

// What loadPicture does once a picture at `path` has decoded with `result`: when the library
// warned, the detail line on stderr and the warning's message. Returns true.
bool notePictureWarning(const std::string& path, const PictureFailure& result, Host& host);

// The same decoding without any message: false with `failure` set (the file cannot be opened
// or is no regular file, it is not a JPEG, the picture is larger than allowed, it has more
// scans than any real picture needs, ...). loadPicture writes the detail line on stderr
// before its message.
bool readPictureFile(const std::string& path, PictureHolder& holder, PictureFailure& failure,
                     const std::function<void()>& beforeDecoding = {});

// Given a picture's size in the file, the scale to decode it at, in eighths (1..8; values
// outside are held to that range).
using PictureScaleChoice = std::function<unsigned(std::uint32_t width, std::uint32_t height)>;

// loadPicture for a reduced copy (thumbnails): once the file's header is read,
// `chooseEighths` gets the picture's size and picks the scale; the block then holds the
// picture decoded at that many eighths of its size (width and height rounded up) by
// libjpeg's DCT scaling, and frameWidth x frameHeight is the picture's own size. Failures and
// limits as loadPicture, which is unchanged (its pictures always have their own size).
bool loadPictureScaled(const std::string& path, PictureHolder& holder, Host& host,
                       const PictureScaleChoice& chooseEighths, std::uint32_t& frameWidth,
                       std::uint32_t& frameHeight);

// The largest picture the loader accepts, in pixels (8192 x 8192, a 256 MiB block; any shape
// of that many pixels, such as 65500 x 1024, is accepted). A JPEG frame may claim up to
// 65500 x 65500 pixels in a few header bytes; such a file is refused before the library or
// the loader allocates anything for its rows.
inline constexpr std::uint64_t maxPicturePixels = std::uint64_t(1) << 26;

// True when a picture of width x height pixels is within maxPicturePixels (and not empty).
bool pictureSizeAllowed(std::uint32_t width, std::uint32_t height);
