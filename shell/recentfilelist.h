#pragma once

#include <QObject>
#include <QStringList>

// The recent-file list: the last stage files opened or saved, newest first, at most
// `capacity` entries, kept in the per-user settings as "Recent File List/File1" ... so the
// list survives the program. Every change is written at once.
class RecentFileList : public QObject {
    Q_OBJECT
public:
    explicit RecentFileList(int capacity, QObject* parent = nullptr);

    // Reads the list from the per-user settings (entries that are empty are skipped).
    void load();
    // Writes the list to the per-user settings.
    void save() const;

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
};
