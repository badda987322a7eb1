#pragma once

#include <optional>
#include <string>

// A folder of Ruffle files, the Flash Player emulator an exported page can load: its
// ruffle.js, the scripts and WebAssembly modules it loads, its package.json (which names the
// version) and its licence files. The build and an installation keep one at
// <prefix>/share/rkedit/ruffle; a page expects one named "ruffle" beside it.
class RuffleFolder {
public:
    // The environment variable that names a Ruffle folder instead of the usual place.
    static constexpr const char* environmentVariable = "RKEDIT_RUFFLE_DIR";

    // The folder the programs use: `envValue` when it is set and not empty, else
    // `programFolder`/../share/rkedit/ruffle. Nothing when that folder holds no Ruffle, with
    // `error` saying where it looked.
    static std::optional<RuffleFolder> find(const std::string& programFolder, const char* envValue,
                                            std::string& error);

    explicit RuffleFolder(std::string path) : path_(std::move(path)) {}
    const std::string& path() const { return path_; }

    // The version package.json names when `folder` holds a Ruffle package ("0.6.0"), else "".
    static std::string versionIn(const std::string& folder);

    enum class Outcome {
        Copied,       // the folder is new
        AlreadyThere, // the same version was there and was left as it is
        Replaced,     // another version was there and was replaced, as asked
        OtherVersion, // another version is there: left as it is
        NotRuffle,    // something else named "ruffle" is there: left as it is
        Failed,       // the copy failed; nothing was left behind
    };
    // Puts these files into a folder named "ruffle" inside `pageFolder`, all at once: the
    // files are copied into a temporary folder there that is renamed into place. Another
    // version already there is replaced only when `replaceOtherVersion`; anything else named
    // "ruffle" is never touched. `message` says what happened when the outcome is not Copied.
    Outcome copyInto(const std::string& pageFolder, bool replaceOtherVersion,
                     std::string& message) const;

private:
    std::string path_;
};
