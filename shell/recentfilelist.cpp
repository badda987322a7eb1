#include "shell/recentfilelist.h"

#include <QFileInfo>
#include <QSettings>

namespace {
const QString group = QStringLiteral("Recent File List");
QString entryKey(int i) {
    return QStringLiteral("File%1").arg(i + 1);
}
QString normalised(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}
} // namespace

RecentFileList::RecentFileList(int capacity, QObject* parent)
    : QObject(parent), capacity_(capacity) {}

RecentFileList::~RecentFileList() {
    finishWriting();
}

void RecentFileList::load() {
    finishWriting();
    QSettings settings;
    settings.beginGroup(group);
    files_.clear();
    for (int i = 0; i < capacity_; ++i) {
        const QString file = settings.value(entryKey(i)).toString();
        if (!file.isEmpty() && !files_.contains(file))
            files_.append(file);
    }
    emit changed();
}

void RecentFileList::save() const {
    // Started from the event loop: the start of the program reads its own settings after
    // it opens a stage, and a read waits while another thread writes the settings file,
    // flushes included. The changes made until then are written together.
    if (pending_)
        return;
    pending_ = true;
    QMetaObject::invokeMethod(
        const_cast<RecentFileList*>(this), [this] { startWriting(); }, Qt::QueuedConnection);
}

void RecentFileList::startWriting() const {
    if (!pending_)
        return;
    pending_ = false;
    if (writing_.valid())
        writing_.get();
    // QSettings objects of different threads may use the same file at once.
    writing_ = std::async(std::launch::async, [files = files_, capacity = capacity_] {
        QSettings settings;
        settings.beginGroup(group);
        for (int i = 0; i < capacity; ++i) {
            if (i < files.size())
                settings.setValue(entryKey(i), files[i]);
            else
                settings.remove(entryKey(i));
        }
    });
}

void RecentFileList::finishWriting() const {
    startWriting();
    if (writing_.valid())
        writing_.get();
}

void RecentFileList::add(const QString& path) {
    const QString file = normalised(path);
    // Opened again as the latest: the list stays as it is stored, and is not written again.
    if (!files_.isEmpty() && files_.constFirst() == file)
        return;
    files_.removeAll(file);
    files_.prepend(file);
    while (files_.size() > capacity_)
        files_.removeLast();
    save();
    emit changed();
}

void RecentFileList::remove(const QString& path) {
    if (files_.removeAll(normalised(path)) == 0)
        return;
    save();
    emit changed();
}
