#pragma once

#include <string>
#include <string_view>

// rkstage's output files: all-or-nothing writes that replace only regular files.

// The suffix of the temporary file an output is written to before it takes the output's
// place: "OUT.rkstage-XXXXXX" beside the output. A file of that name left in a folder is
// a write that never finished (the process was killed) and holds nothing of value.
inline constexpr std::string_view temporarySuffix = ".rkstage-";

// Whether `a` and `b` name the same existing file (symbolic and hard links followed).
bool sameFile(const std::string& a, const std::string& b);

// Writes `bytes` in place of the file `path`, all at once or not at all: to a temporary
// file beside the file it replaces, flushed to disk, then renamed over it. So a failure
// (a full disk, a signal) leaves any old file intact and no partial file behind; the
// temporary file is removed on SIGINT, SIGTERM and SIGHUP too.
// - A symbolic link is written through: its target is replaced, the link stays.
// - Only a regular file is replaced: a folder, FIFO, device or socket is refused.
// - A file without write permission is refused, also for root: read-only means no write
//   bit in its mode.
// - The new file keeps the old one's mode (and owner, where allowed); a new file gets the
//   usual 0666 less the umask.
// False with `error` set (one line naming the file) on failure.
bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& error);
