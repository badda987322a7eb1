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
    if (!file.open(QIODevice::WriteOnly))
        return reasonOf(file);
    // write() only fills QSaveFile's buffer; what it could not put on disk shows in flush()
    // and error(). commit() alone would rename a short temporary over the file after a
    // failed buffered write (a full disk), so it runs only once every byte is out.
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        const QString reason = reasonOf(file);
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return reasonOf(file);
    return {};
}
