#pragma once

#include <QObject>
#include <QStringList>

#include <future>

// The recent-file list: the last stage files opened or saved, newest first, at most
// `capacity` entries, kept in the per-user settings as "Recent File List/File1" ... so the
// list survives the program. A change is written on another thread once the event loop
// comes round (with the changes made until then): the settings file is flushed to disk as it
// is written, and a slow disk would hold up the open of a stage.
class RecentFileList : public QObject {
    Q_OBJECT
public:
    explicit RecentFileList(int capacity, QObject* parent = nullptr);
    ~RecentFileList() override; // waits for the list to be written

    // Reads the list from the per-user settings (entries that are empty are skipped).
    void load();
    // Writes the list to the per-user settings (the writes land in the order they were made).
    void save() const;
    // Waits until the list as last saved is in the settings (a write still to start starts).
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
    void startWriting() const;

    int capacity_;
    QStringList files_;
    mutable std::future<void> writing_;
    mutable bool pending_ = false; // a save waits for the event loop to start its write
};
