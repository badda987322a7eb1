#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Writes `bytes` to the file `path` all or nothing, by the rule every file the programs write
// follows (file/outputfile.h): into a temporary file "<name>.XXXXXX" beside it, which replaces
// the file only once every byte has reached it; only a regular file is replaced, never one
// without a write bit (root included) nor any of `protectedPaths` (the open stage, the source
// of a copy), and the file keeps its mode and owner. Returns an empty text on success;
// otherwise why it could not, in the user's words or the system's (the file as it was is
// left alone, no temporary stays behind). Every file the editor writes goes through here:
// stage files, HTML pages, pictures copied beside a stage, recovery copies.
QString saveFileWhole(const QString& path, QByteArrayView bytes,
                      const QStringList& protectedPaths = {});

// Why saveFileWhole would refuse `path` before writing a byte (a folder, a FIFO, a file without
// a write bit, one of `protectedPaths`), empty when it may go ahead.
QString saveObstacle(const QString& path, const QStringList& protectedPaths = {});

// The start of the name of a temporary saveFileWhole makes for the file named `fileName`
// (six random letters and digits follow): what a save cut short by a crash leaves behind.
QString saveTemporaryPrefix(const QString& fileName);
