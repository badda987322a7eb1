#include "file/outputfile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string folderPart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string leafPart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The path that writing to `path` replaces: symbolic links followed, as far as they go (the
// last target need not exist yet). False (errno set) for a loop of links.
bool followLinks(const std::string& path, std::string& target) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info;
        if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return true;
        char buffer[PATH_MAX];
        const ssize_t n = ::readlink(target.c_str(), buffer, sizeof buffer);
        if (n < 0)
            return false;
        if (std::size_t(n) >= sizeof buffer) {
            errno = ENAMETOOLONG;
            return false;
        }
        const std::string link(buffer, std::size_t(n));
        target = link.starts_with('/') ? link : folderPart(target) + link;
    }
    errno = ELOOP;
    return false;
}

const char* fileKind(mode_t mode) {
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "a special file";
}

mode_t currentUmask() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

bool writeAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (w < 0 && errno == EINTR)
            continue;
        if (w < 0)
            return false;
        if (w == 0) {
            errno = ENOSPC;
            return false;
        }
        done += std::size_t(w);
    }
    return true;
}

std::size_t nameMaxOf(const std::string& folder) {
    errno = 0;
    const long max = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return max > 0 ? std::size_t(max) : std::size_t(NAME_MAX);
}

bool systemFailure(OutputFailure& failure, int error) {
    failure.kind = OutputFailure::Kind::system;
    failure.error = error;
    return false;
}

} // namespace

std::string describeOutputFailure(const OutputFailure& failure) {
    switch (failure.kind) {
    case OutputFailure::Kind::none:
        return {};
    case OutputFailure::Kind::notRegular:
        return failure.fileType + ", not a regular file; nothing written";
    case OutputFailure::Kind::readOnly:
        return "the file is read-only; nothing written";
    case OutputFailure::Kind::protectedFile:
        return "this is " + failure.protectedPath + " itself; nothing written";
    case OutputFailure::Kind::system:
        return std::strerror(failure.error);
    }
    return {};
}

std::string temporaryPrefix(std::string_view leaf, std::string_view tag, std::size_t nameMax) {
    const std::size_t room = nameMax > tag.size() + 6 ? nameMax - tag.size() - 6 : 0;
    std::size_t keep = std::min(leaf.size(), room);
    // Not inside a UTF-8 character: a continuation byte (10xxxxxx) never starts the cut-off.
    while (keep > 0 && keep < leaf.size() &&
           (static_cast<unsigned char>(leaf[keep]) & 0xC0) == 0x80)
        --keep;
    return std::string(leaf.substr(0, keep)) + std::string(tag);
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

namespace {

// The checks before anything is written; `target` is the file replaced, `old` its status
// when `exists`.
bool checkTarget(const std::string& path, const OutputOptions& options, OutputFailure& failure,
                 std::string& target, struct stat& old, bool& exists) {
    failure = {};
    if (path.empty() || path.find('\0') != std::string::npos)
        return systemFailure(failure, ENOENT);
    if (!followLinks(path, target))
        return systemFailure(failure, errno);
    exists = ::stat(target.c_str(), &old) == 0;
    if (!exists)
        return true;
    if (!S_ISREG(old.st_mode)) {
        failure.kind = OutputFailure::Kind::notRegular;
        failure.fileType = fileKind(old.st_mode);
        return false;
    }
    for (const std::string& kept : options.protectedPaths) {
        struct stat info;
        if (::stat(kept.c_str(), &info) == 0 && info.st_dev == old.st_dev &&
            info.st_ino == old.st_ino) {
            failure.kind = OutputFailure::Kind::protectedFile;
            failure.protectedPath = kept;
            return false;
        }
    }
    if ((old.st_mode & 0222) == 0) {
        failure.kind = OutputFailure::Kind::readOnly;
        return false;
    }
    if (::access(target.c_str(), W_OK) != 0)
        return systemFailure(failure, errno);
    return true;
}

} // namespace

bool checkOutputFile(const std::string& path, const OutputOptions& options,
                     OutputFailure& failure) {
    std::string target;
    struct stat old;
    bool exists = false;
    return checkTarget(path, options, failure, target, old, exists);
}

bool writeOutputFile(const std::string& path, std::string_view bytes, const OutputOptions& options,
                     OutputFailure& failure) {
    std::string target;
    struct stat old;
    bool exists = false;
    if (!checkTarget(path, options, failure, target, old, exists))
        return false;

    const std::string folder = folderPart(target);
    std::string temp = folder +
                       temporaryPrefix(leafPart(target), options.temporaryTag, nameMaxOf(folder)) +
                       "XXXXXX";
    TemporaryObserver* observer = options.observer;
    if (observer)
        observer->begin();
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        const int saved = errno;
        if (observer)
            observer->end();
        return systemFailure(failure, saved);
    }
    if (observer)
        observer->made(temp.c_str());
    auto abandon = [&](int savedErrno) {
        ::unlink(temp.c_str());
        if (observer)
            observer->end();
        return systemFailure(failure, savedErrno);
    };

    // mkstemp creates the file with mode 0600.
    const mode_t mode = exists ? (old.st_mode & 07777) : (0666 & ~currentUmask());
    if (exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
        // Keeps the owner where this process may (root, or a group it belongs to).
        [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
    }
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0 || ::fchmod(fd, mode) != 0) {
        const int saved = errno;
        ::close(fd);
        return abandon(saved);
    }
    if (::close(fd) != 0)
        return abandon(errno);
    if (std::rename(temp.c_str(), target.c_str()) != 0)
        return abandon(errno);
    if (observer)
        observer->end();
    // The rename itself reaches the disk with the folder.
    const int dir =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}
