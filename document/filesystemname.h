#pragma once

#include <QByteArray>
#include <QString>

// File names as the file system holds them: bytes, usually UTF-8 but not always (a name made
// by another program, a folder copied from an old disk). Qt's own conversion turns every
// byte that is not UTF-8 into U+FFFD, so such a file could be neither opened nor saved under
// its name. These two keep every byte: a byte that is not part of valid UTF-8 becomes the
// lone surrogate U+DC80..U+DCFF in the text (shown as a replacement mark) and that byte again
// on the way back. Every path the editor hands to the system goes through fileSystemName.
QString fromFileSystemName(const QByteArray& bytes);
QByteArray fileSystemName(const QString& path);
