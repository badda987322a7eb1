#include "fileio.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The temporary file being written, for the signal handler: a fixed buffer, set only while
// the signals are blocked, read by the handler with async-signal-safe calls only.
char pendingTemporary[PATH_MAX + 64];
volatile std::sig_atomic_t havePendingTemporary = 0;

const int cleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void removeTemporaryAndDie(int signal) {
    if (havePendingTemporary)
        ::unlink(pendingTemporary);
    // Die of the same signal, so the parent sees how the process ended.
    std::signal(signal, SIG_DFL);
    ::raise(signal);
}

void installCleanupHandlers() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    struct sigaction action {};
    action.sa_handler = removeTemporaryAndDie;
    sigemptyset(&action.sa_mask);
    for (int s : cleanupSignals)
        sigaddset(&action.sa_mask, s);
    for (int s : cleanupSignals) {
        struct sigaction old {};
        // A signal the caller chose to ignore (nohup) stays ignored.
        if (::sigaction(s, nullptr, &old) == 0 && old.sa_handler == SIG_IGN)
            continue;
        ::sigaction(s, &action, nullptr);
    }
}

class SignalsBlocked {
public:
    SignalsBlocked() {
        sigset_t set;
        sigemptyset(&set);
        for (int s : cleanupSignals)
            sigaddset(&set, s);
        ::sigprocmask(SIG_BLOCK, &set, &old_);
    }
    ~SignalsBlocked() { ::sigprocmask(SIG_SETMASK, &old_, nullptr); }
    SignalsBlocked(const SignalsBlocked&) = delete;
    SignalsBlocked& operator=(const SignalsBlocked&) = delete;

private:
    sigset_t old_;
};

std::string folderPart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The path that writing to `path` replaces: symbolic links followed, as far as they go (the
// last target need not exist yet). False for a loop of links.
bool followLinks(const std::string& path, std::string& target, std::string& error) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info;
        if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return true;
        char buffer[PATH_MAX];
        const ssize_t n = ::readlink(target.c_str(), buffer, sizeof buffer);
        if (n < 0 || std::size_t(n) >= sizeof buffer) {
            error = path + ": " + std::strerror(n < 0 ? errno : ENAMETOOLONG);
            return false;
        }
        const std::string link(buffer, std::size_t(n));
        target = link.starts_with('/') ? link : folderPart(target) + link;
    }
    error = path + ": " + std::strerror(ELOOP);
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

} // namespace

bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& error) {
    std::string target;
    if (!followLinks(path, target, error))
        return false;

    struct stat old;
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        if (!S_ISREG(old.st_mode)) {
            error = path + ": " + fileKind(old.st_mode) + ", not a regular file; nothing written";
            return false;
        }
        if ((old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) {
            error = path + ": the file is read-only; nothing written";
            return false;
        }
    }

    installCleanupHandlers();
    std::string temp = target + std::string(temporarySuffix) + "XXXXXX";
    int fd;
    {
        const SignalsBlocked blocked;
        fd = ::mkstemp(temp.data());
        if (fd >= 0 && temp.size() < sizeof pendingTemporary) {
            std::memcpy(pendingTemporary, temp.c_str(), temp.size() + 1);
            havePendingTemporary = 1;
        }
    }
    if (fd < 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    auto abandon = [&](int savedErrno) {
        error = path + ": " + std::strerror(savedErrno);
        ::unlink(temp.c_str());
        havePendingTemporary = 0;
        return false;
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
    havePendingTemporary = 0;
    // The rename itself reaches the disk with the folder.
    const int folder = ::open(folderPart(target).empty() ? "." : folderPart(target).c_str(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}
