#pragma once

#include <QObject>
#include <QStringList>

#include <future>

// The recent-file list: the last stage files opened or saved, newest first, at most
// `capacity` entries, kept in the per-user settings as "Recent File List/File1" ... so the
// list survives the program. Every change is written at once, on another thread: the settings
// file is flushed to disk as it is written, and a slow disk would hold up the open of a stage.
class RecentFileList : public QObject {
    Q_OBJECT
public:
    explicit RecentFileList(int capacity, QObject* parent = nullptr);
    ~RecentFileList() override; // waits for the list to be written

    // Reads the list from the per-user settings (entries that are empty are skipped).
    void load();
    // Writes the list to the per-user settings (the writes land in the order they were made).
    void save() const;
    // Waits until the list as last saved is in the settings.
    void finishWriting() const;

    // Puts `path` (made absolute) at the top, dropping an older entry of the same file and
    // the entries beyond the capacity.
    void add(const QString& path);
    void remove(const QString& path);

    const QStringList& files() const { return files_; }
    int capacity() const { return capacity_; }

signals:
    void changed();

private:
    int capacity_;
    QStringList files_;
    mutable std::future<void> writing_;
};
