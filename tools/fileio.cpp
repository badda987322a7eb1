#include "fileio.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool readWholeFile(const std::string& path, std::string& bytes, std::string& error) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    bytes.clear();
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.append(buffer, n);
    const bool ok = !std::ferror(f);
    if (!ok)
        error = path + ": " + std::strerror(errno);
    std::fclose(f);
    return ok;
}

bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& error) {
    std::string temp = path + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            break;
        done += std::size_t(w);
    }
    const int writeErrno = errno;
    const bool written = done == bytes.size() && ::fsync(fd) == 0;
    ::close(fd);
    if (!written) {
        error = path + ": " + std::strerror(done == bytes.size() ? errno : writeErrno);
        ::unlink(temp.c_str());
        return false;
    }
    // mkstemp creates the file with mode 0600; give it the usual permissions.
    ::chmod(temp.c_str(), 0644);
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        error = path + ": " + std::strerror(errno);
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}
