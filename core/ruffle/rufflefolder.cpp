#include "ruffle/rufflefolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A folder beside `target` with a unique name, for building or retiring a folder that is then
// renamed; "" when none can be made.
std::string uniqueFolderBeside(const fs::path& target, const char* tag) {
    std::string pattern =
        (target.parent_path() / ("." + target.filename().string() + tag)).string() + "XXXXXX";
    if (!mkdtemp(pattern.data()))
        return {};
    return pattern;
}

// Copies the file `from` to the new file `to` with the system's own reason on failure
// ("No space left on device"; the library's copy reports a full disk as an input/output error).
bool copyOneFile(const fs::path& from, const fs::path& to, std::string& error) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        error = from.string() + ": " + std::strerror(errno);
        return false;
    }
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (out < 0) {
        error = to.string() + ": " + std::strerror(errno);
        ::close(in);
        return false;
    }
    char buffer[65536];
    bool ok = true;
    while (ok) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = from.string() + ": " + std::strerror(errno);
            ok = false;
            break;
        }
        if (n == 0)
            break;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out, buffer + done, std::size_t(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0) {
                error = to.string() + ": " + std::strerror(w < 0 ? errno : ENOSPC);
                ok = false;
                break;
            }
            done += w;
        }
    }
    if (ok && (::fsync(out) != 0 || ::close(out) != 0)) {
        error = to.string() + ": " + std::strerror(errno);
        ok = false;
    } else if (!ok) {
        ::close(out);
    }
    ::close(in);
    return ok;
}

// Copies the regular files of `from` (source maps left out) into the existing folder `to`.
bool copyFiles(const fs::path& from, const fs::path& to, std::string& error) {
    std::error_code ec;
    for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& file = it->path();
        if (!it->is_regular_file(ec) || file.extension() == ".map")
            continue;
        if (!copyOneFile(file, to / file.filename(), error))
            return false;
    }
    if (ec) {
        error = from.string() + ": " + ec.message();
        return false;
    }
    return true;
}

} // namespace

std::optional<RuffleFolder> RuffleFolder::find(const std::string& programFolder,
                                               const char* envValue, std::string& error) {
    std::string path;
    if (envValue && *envValue)
        path = envValue;
    else
        path = (fs::path(programFolder) / ".." / "share" / "rkedit" / "ruffle")
                   .lexically_normal()
                   .string();
    if (versionIn(path).empty() || !fs::is_regular_file(fs::path(path) / "ruffle.js")) {
        error = "Ruffle is not installed: no Ruffle package in " + path +
                (envValue && *envValue ? std::string(" (named by ") + environmentVariable + ")"
                                       : std::string(" (scripts/deps.sh fetches it for the "
                                                     "build; ") +
                                             environmentVariable + " names another folder)");
        return std::nullopt;
    }
    return RuffleFolder(path);
}

std::string RuffleFolder::versionIn(const std::string& folder) {
    std::ifstream in(fs::path(folder) / "package.json", std::ios::binary);
    if (!in)
        return {};
    std::string json((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (json.size() > 65536 || json.find("\"@ruffle-rs/ruffle\"") == std::string::npos)
        return {};
    // package.json as npm publishes it: "version":"0.6.0" (spaces allowed around the colon).
    std::size_t at = json.find("\"version\"");
    if (at == std::string::npos)
        return {};
    at = json.find_first_not_of(" \t\r\n", at + 9);
    if (at == std::string::npos || json[at] != ':')
        return {};
    at = json.find_first_not_of(" \t\r\n", at + 1);
    if (at == std::string::npos || json[at] != '"')
        return {};
    const std::size_t end = json.find('"', at + 1);
    if (end == std::string::npos || end == at + 1)
        return {};
    return json.substr(at + 1, end - at - 1);
}

RuffleFolder::Outcome RuffleFolder::copyInto(const std::string& pageFolder,
                                             bool replaceOtherVersion, std::string& message) const {
    const fs::path target = fs::path(pageFolder.empty() ? "." : pageFolder) / "ruffle";
    const std::string mine = versionIn(path_);
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(target, ec);
    const bool exists = fs::exists(status);
    if (exists) {
        const std::string theirs = fs::is_directory(status) ? versionIn(target) : std::string();
        if (theirs.empty()) {
            message = target.string() +
                      " already exists and is not a Ruffle folder: it was left as it is";
            return Outcome::NotRuffle;
        }
        if (theirs == mine) {
            message = target.string() + " already holds Ruffle " + mine;
            return Outcome::AlreadyThere;
        }
        if (!replaceOtherVersion) {
            message = target.string() + " holds Ruffle " + theirs + ", not " + mine +
                      ": it was left as it is";
            return Outcome::OtherVersion;
        }
    }

    const std::string fresh = uniqueFolderBeside(target, "-new");
    if (fresh.empty()) {
        message = target.string() + ": cannot create a folder beside it: " + std::strerror(errno);
        return Outcome::Failed;
    }
    std::string error;
    if (!copyFiles(path_, fresh, error)) {
        fs::remove_all(fresh, ec);
        message = "copying Ruffle failed: " + error;
        return Outcome::Failed;
    }
    if (!exists) {
        fs::rename(fresh, target, ec);
        if (ec) {
            message = target.string() + ": " + ec.message();
            fs::remove_all(fresh, ec);
            return Outcome::Failed;
        }
        return Outcome::Copied;
    }
    // The old version steps aside first, so a failure leaves it where it was.
    const std::string old = uniqueFolderBeside(target, "-old");
    if (!old.empty()) {
        fs::remove(old, ec); // the name is ours; rename wants it free
        fs::rename(target, old, ec);
    }
    if (old.empty() || ec) {
        message = target.string() + ": cannot move the old version aside";
        fs::remove_all(fresh, ec);
        if (!old.empty())
            fs::remove_all(old, ec);
        return Outcome::Failed;
    }
    fs::rename(fresh, target, ec);
    if (ec) {
        message = target.string() + ": " + ec.message();
        std::error_code ignored;
        fs::rename(old, target, ignored);
        fs::remove_all(fresh, ignored);
        return Outcome::Failed;
    }
    fs::remove_all(old, ec);
    message = target.string() + ": Ruffle replaced by " + mine;
    return Outcome::Replaced;
}
