#include "stage/foregroundpicture.h"

#include <sys/stat.h>

#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "file/regularfile.h"
#include "host/host.h"
#include "picture/pictureloader.h"
#include "stage/CRKeditDoc.h"
#include "stage/stagerecord.h"
#include "text/stagepath.h"

namespace {
// What tells one state of a file from another without reading it: a file replaced, rewritten
// or touched has another identity.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const FileIdentity& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec &&
               changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
    }
};

std::optional<FileIdentity> identityOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return FileIdentity{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

// One picture decoded ahead. The worker writes the results; they are read once it has been
// joined.
struct Prefetch {
    std::thread worker;
    std::string picturePath;
    std::optional<FileIdentity> identity; // the picture file's, the same before and after
    PictureHolder picture;
    PictureFailure outcome;
    bool decoded = false;

    void run(const std::string& stageFilePath) noexcept {
        try {
            std::string bytes;
            FileFailure failure;
            if (!readRegularFile(stageFilePath, maxStageFileBytes, bytes, failure))
                return;
            const std::string path = foregroundPicturePath(parseStageRecord(bytes), stageFilePath);
            if (path.find('\0') != std::string::npos)
                return;
            const std::optional<FileIdentity> before = identityOf(path);
            PictureHolder holder;
            PictureFailure result;
            if (!before || !readPictureFile(path, holder, result) || identityOf(path) != before)
                return;
            picturePath = path;
            identity = before;
            picture = std::move(holder);
            outcome = result;
            decoded = true;
        } catch (...) {
            // Out of memory or the like: opening decodes the picture itself and says so.
        }
    }
};

// The prefetch under way; its thread is joined before it is dropped, at the latest when the
// program ends.
struct PrefetchSlot {
    std::mutex mutex;
    std::unique_ptr<Prefetch> prefetch;

    std::unique_ptr<Prefetch> take() {
        const std::lock_guard lock(mutex);
        return std::move(prefetch);
    }
    ~PrefetchSlot() { finish(prefetch); }

    static void finish(const std::unique_ptr<Prefetch>& prefetch) {
        if (prefetch && prefetch->worker.joinable())
            prefetch->worker.join();
    }
};

PrefetchSlot& prefetchSlot() {
    static PrefetchSlot slot;
    return slot;
}

// The prefetched picture at `path`, when there is one and the file is as it was decoded.
bool takePrefetchedPicture(const std::string& path, PictureHolder& holder,
                           PictureFailure& outcome) {
    const std::unique_ptr<Prefetch> prefetch = prefetchSlot().take();
    if (!prefetch)
        return false;
    PrefetchSlot::finish(prefetch);
    if (!prefetch->decoded || prefetch->picturePath != path ||
        identityOf(path) != prefetch->identity)
        return false;
    holder = std::move(prefetch->picture);
    outcome = prefetch->outcome;
    return true;
}
} // namespace

void prefetchForegroundPicture(const std::string& stageFilePath) {
    auto prefetch = std::make_unique<Prefetch>();
    try {
        prefetch->worker =
            std::thread([job = prefetch.get(), stageFilePath] { job->run(stageFilePath); });
    } catch (const std::system_error&) {
        return; // no thread: opening decodes the picture itself
    }
    // The one before, if any, is dropped once the new one holds the slot.
    PrefetchSlot& slot = prefetchSlot();
    std::unique_ptr<Prefetch> before;
    {
        const std::lock_guard lock(slot.mutex);
        before = std::move(slot.prefetch);
        slot.prefetch = std::move(prefetch);
    }
    PrefetchSlot::finish(before);
}

void finishPrefetch() {
    PrefetchSlot& slot = prefetchSlot();
    const std::lock_guard lock(slot.mutex);
    PrefetchSlot::finish(slot.prefetch);
}

bool dropPrefetchedPicture() {
    const std::unique_ptr<Prefetch> prefetch = prefetchSlot().take();
    PrefetchSlot::finish(prefetch);
    return prefetch && prefetch->decoded;
}

std::string foregroundPicturePath(const CRKeditDoc& doc, const std::string& stageFilePath) {
    return folderOf(stageFilePath) + toFileSystemPath(doc.graphic1);
}

bool loadForegroundPicture(CRKeditDoc& doc, const std::string& stageFilePath, Host& host) {
    const std::string path = foregroundPicturePath(doc, stageFilePath);
    // No file name holds a NUL byte; handed to the file system it would cut the name short
    // and open another file. Such a name is a file that cannot be opened.
    if (path.find('\0') != std::string::npos) {
        host.messageBox({MessageId::cannotOpenFile, {}});
        return false;
    }
    PictureFailure outcome;
    if (takePrefetchedPicture(path, doc.picture, outcome))
        notePictureWarning(path, outcome, host);
    else if (!loadPicture(path, doc.picture, host))
        return false;
    doc.picturePending = true;
    return true;
}
