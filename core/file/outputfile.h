#pragma once

#include <string>
#include <string_view>
#include <vector>

// Writing the files the programs make (stage files, HTML pages, pictures copied beside a
// stage, recovery copies, rkstage's outputs), one rule for all of them:
// - all or nothing: the bytes go to a temporary file beside the file they replace, flushed
//   to disk, then renamed over it, so a failure (a full disk, a signal) leaves any old file
//   intact and no partial file behind;
// - only a regular file is replaced: a folder, FIFO, device or socket is refused;
// - a file without a write bit in its mode is refused, for root too (root's access() would
//   allow it, and the rename would quietly replace a file the user protected);
// - a file the caller names as protected (the open stage, the input) is never replaced,
//   under whatever name (links followed, device and inode compared);
// - the new file keeps the old one's mode and owner (where the process may set them); a new
//   file gets 0666 less the umask;
// - a symbolic link is written through: its target is replaced, the link stays;
// - the temporary's name fits the folder's name limit, however long the file's name is.

// Why a file was not written.
struct OutputFailure {
    enum class Kind {
        none,
        notRegular,    // the name is a folder, FIFO, device or socket; `fileType` says which
        readOnly,      // the file has no write bit
        protectedFile, // the file is one the caller protects (`protectedPath` names it)
        system         // the system refused; `error` holds errno
    };
    Kind kind = Kind::none;
    int error = 0;
    std::string fileType;
    std::string protectedPath;
};

// The reason in one line, without the path ("No space left on device").
std::string describeOutputFailure(const OutputFailure& failure);

// Told about the temporary file while it exists, for a program that removes it when a signal
// ends the program. begin() is called before the temporary is made and end() after it is gone
// or renamed; made() in between, once its name is known (`name` stays valid until end()).
class TemporaryObserver {
public:
    virtual ~TemporaryObserver() = default;
    virtual void begin() {}
    virtual void made(const char* name) = 0;
    virtual void end() = 0;
};

struct OutputOptions {
    // Between the file's name and the six random characters of its temporary: "<name><tag>XXXXXX".
    std::string_view temporaryTag = ".";
    // Files that must never be replaced (existing ones are compared by device and inode).
    std::vector<std::string> protectedPaths;
    TemporaryObserver* observer = nullptr;
};

// Writes `bytes` in place of the file `path` by the rule above. False with `failure` set.
bool writeOutputFile(const std::string& path, std::string_view bytes, const OutputOptions& options,
                     OutputFailure& failure);

// The checks writeOutputFile makes before it writes anything, alone: whether `path` may be
// written (a caller with other files to write first asks before it starts).
bool checkOutputFile(const std::string& path, const OutputOptions& options, OutputFailure& failure);

// The name a temporary for the file named `leaf` starts with: "<leaf><tag>", with the leaf cut
// short (not inside a UTF-8 character) where the whole temporary name would pass `nameMax`
// bytes. Six random characters follow it.
std::string temporaryPrefix(std::string_view leaf, std::string_view tag, std::size_t nameMax = 255);

// Whether `a` and `b` name the same existing file: symbolic and hard links followed, the
// device and inode compared.
bool sameFile(const std::string& a, const std::string& b);
