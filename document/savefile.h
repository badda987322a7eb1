#pragma once

#include <QByteArrayView>
#include <QString>

// Writes `bytes` to the file `path` all or nothing: into a temporary file beside it, which
// replaces the file only once every byte has reached it. Returns an empty text on success;
// otherwise why it could not (the file as it was is left alone, no temporary stays behind).
// Every file the editor writes goes through here: stage files, HTML pages, recovery copies.
QString saveFileWhole(const QString& path, QByteArrayView bytes);
