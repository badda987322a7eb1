#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

#include "host/filefault.h"

// Reads the stage file at `path` whole into `bytes`, when it is a regular file of at most
// maxStageFileBytes: a FIFO would hold the editor up for ever, a device such as /dev/zero or
// a huge file would fill its memory. Returns why it could not be read, or nothing.
std::optional<FileFault> readStageFile(const QString& path, QByteArray& bytes);
