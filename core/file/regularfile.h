#pragma once

#include <cstdint>
#include <string>

#include "host/filefault.h"

// Reading the files a stage is made of (the stage file, its pictures) without being held up
// or swamped by what the path really names: a FIFO opens and then blocks for ever, a device
// such as /dev/zero never ends, a folder is no file at all. Only regular files are read.

// The largest stage file that is read. A full 100 x 100 record with a long script is about
// 50 KB; anything near this size is not a stage, and reading it whole would only eat memory.
inline constexpr std::uint64_t maxStageFileBytes = std::uint64_t(64) << 20;

// The largest picture file copied whole (beside a stage on saving, into a test play's folder).
// The largest picture the loader accepts (8192 x 8192) is well under this as a JPEG.
inline constexpr std::uint64_t maxPictureFileBytes = std::uint64_t(256) << 20;

// The largest movie a test play copies and serves; the game's rk.swf is a few hundred KB.
inline constexpr std::uint64_t maxMovieFileBytes = std::uint64_t(64) << 20;

// Why a file could not be read.
struct FileFailure {
    enum class Kind {
        none,
        cannotOpen, // the open failed; `error` holds errno (no such file, no permission, ...)
        notRegular, // a folder, FIFO, device or socket; `fileType` names which
        tooLarge,   // more than the caller's limit; `size` is the file's size (0: unknown)
        readFailed  // a read failed; `error` holds errno
    };
    Kind kind = Kind::none;
    int error = 0;
    std::string fileType;
    std::uint64_t size = 0;
    std::uint64_t limit = 0;
};

// One line saying what went wrong, without the path ("a FIFO, not a regular file"), for
// stderr and logs.
std::string describeFileFailure(const FileFailure& failure);

// The reason as the editor tells the user (the second line of its message).
FileFault fileFaultOf(const FileFailure& failure);

// Opens `path` for reading when it names a regular file (following symbolic links). Never
// blocks on a FIFO: it is opened without waiting for a writer, seen to be a FIFO and closed.
// Returns the descriptor (close-on-exec), or -1 with `failure` set. A path holding a NUL byte
// names no file.
int openRegularFile(const std::string& path, FileFailure& failure);

// Reads the whole of the regular file at `path` into `bytes` when it holds at most `limit`
// bytes; false with `failure` set otherwise. A file that grows past the limit while it is
// read is refused too.
bool readRegularFile(const std::string& path, std::uint64_t limit, std::string& bytes,
                     FileFailure& failure);
