#include "file/regularfile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* fileTypeName(mode_t mode) {
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISCHR(mode))
        return "a character device";
    if (S_ISBLK(mode))
        return "a block device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "a special file";
}

std::string sizeText(std::uint64_t bytes) {
    if (bytes >= (std::uint64_t(1) << 20) && bytes % (std::uint64_t(1) << 20) == 0)
        return std::to_string(bytes >> 20) + " MiB";
    return std::to_string(bytes) + " bytes";
}

} // namespace

std::string describeFileFailure(const FileFailure& failure) {
    switch (failure.kind) {
    case FileFailure::Kind::none:
        return {};
    case FileFailure::Kind::cannotOpen:
    case FileFailure::Kind::readFailed:
        return std::strerror(failure.error);
    case FileFailure::Kind::notRegular:
        return failure.fileType + ", not a regular file";
    case FileFailure::Kind::tooLarge:
        return "the file is larger than the " + sizeText(failure.limit) + " allowed" +
               (failure.size ? " (" + std::to_string(failure.size) + " bytes)" : std::string());
    }
    return {};
}

FileFault fileFaultOf(const FileFailure& failure) {
    switch (failure.kind) {
    case FileFailure::Kind::cannotOpen:
    case FileFailure::Kind::readFailed:
        return fileFaultFromErrno(failure.error);
    case FileFailure::Kind::notRegular:
        return failure.fileType == "a folder" ? FileFault::isFolder : FileFault::notRegularFile;
    case FileFailure::Kind::tooLarge:
        return FileFault::fileTooLarge;
    case FileFailure::Kind::none:
        break;
    }
    return FileFault::readError;
}

int openRegularFile(const std::string& path, FileFailure& failure) {
    failure = {};
    if (path.find('\0') != std::string::npos) {
        failure.kind = FileFailure::Kind::cannotOpen;
        failure.error = ENOENT;
        return -1;
    }
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    int fd;
    do
        fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        failure.kind = FileFailure::Kind::cannotOpen;
        failure.error = errno;
        return -1;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        failure.kind = FileFailure::Kind::cannotOpen;
        failure.error = errno;
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        failure.kind = FileFailure::Kind::notRegular;
        failure.fileType = fileTypeName(info.st_mode);
        ::close(fd);
        return -1;
    }
    // Reads of a regular file never wait anyway; clear the flag so that later readers (the
    // picture library through stdio) see an ordinary descriptor.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

bool readRegularFile(const std::string& path, std::uint64_t limit, std::string& bytes,
                     FileFailure& failure) {
    bytes.clear();
    const int fd = openRegularFile(path, failure);
    if (fd < 0)
        return false;
    struct stat info;
    if (::fstat(fd, &info) == 0 && std::uint64_t(info.st_size) > limit) {
        failure.kind = FileFailure::Kind::tooLarge;
        failure.size = std::uint64_t(info.st_size);
        failure.limit = limit;
        ::close(fd);
        return false;
    }
    bytes.reserve(std::size_t(info.st_size));
    char buffer[65536];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            failure.kind = FileFailure::Kind::readFailed;
            failure.error = errno;
            break;
        }
        if (n == 0)
            break;
        if (bytes.size() + std::size_t(n) > limit) {
            // Grew while being read: its size is not known, only that it passed the limit.
            failure.kind = FileFailure::Kind::tooLarge;
            failure.size = 0;
            failure.limit = limit;
            break;
        }
        bytes.append(buffer, std::size_t(n));
    }
    ::close(fd);
    if (failure.kind != FileFailure::Kind::none) {
        bytes.clear();
        return false;
    }
    return true;
}
