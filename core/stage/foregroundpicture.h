#pragma once

#include <string>

class CRKeditDoc;
class Host;

// The file Opening decodes as the foreground picture: graphic1 appended to the folder of
// `stageFilePath` as it stands, so a full path in it names no file there. A name holding a
// NUL byte names no file; loading refuses it.
std::string foregroundPicturePath(const CRKeditDoc& doc, const std::string& stageFilePath);

// Opening's second step, after the record is parsed: loads the foreground picture named by
// `doc.graphic1` from the folder of `stageFilePath` (a path in the file system's encoding)
// into `doc.picture` and sets `doc.picturePending`. True when the picture was loaded (the
// caller updates the document's views then); a picture that cannot be loaded is reported
// through the host and leaves the document as it was.
bool loadForegroundPicture(CRKeditDoc& doc, const std::string& stageFilePath, Host& host);

// Decoding ahead, while the editor builds its windows: reads the stage file at
// `stageFilePath` (the path opening will use, in the file system's encoding) and decodes the
// picture it names, on a thread of its own. loadForegroundPicture for that picture then takes
// the result instead of decoding the file again, when the file is still the one decoded (the
// same file, size and modification and change times) and it decoded; in every other case
// (nothing decoded, another picture, the file changed) it decodes the file itself, with the
// messages it always gives. One prefetch at a time: a new one drops the one before.
void prefetchForegroundPicture(const std::string& stageFilePath);
// Waits for the prefetch under way to end; what it decoded stays to be taken.
void finishPrefetch();
// Drops a prefetched picture nobody took, once its thread has ended, so that it holds no
// memory. True when it had decoded a picture that was not taken.
bool dropPrefetchedPicture();
