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
