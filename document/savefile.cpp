#include "document/savefile.h"

#include <QSaveFile>

namespace {
QString reasonOf(const QFileDevice& file) {
    const QString reason = file.errorString();
    return reason.isEmpty() ? QStringLiteral("書き込めませんでした。") : reason;
}
} // namespace

QString saveFileWhole(const QString& path, QByteArrayView bytes) {
    QSaveFile file(path);
    // Unbuffered: each write() reaches the system at once, so a failure is seen where it
    // happens, with the system's reason. (A buffered write seems to succeed; its flush then
    // fails, and commit() alone would rename a short temporary over the file.)
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return reasonOf(file);
    // A write cut short (the disk filled up part-way) reports no reason of its own: writing
    // the rest fails at once and says why.
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = file.write(bytes.data() + written, bytes.size() - written);
        if (n <= 0)
            break;
        written += n;
    }
    if (written != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        const QString reason = reasonOf(file);
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return reasonOf(file);
    return {};
}
