#pragma once

#include <string>

class CRKeditDoc;
class Host;

// Opening's second step, after the record is parsed: loads the foreground picture named by
// `doc.graphic1` from the folder of `stageFilePath` (a path in the file system's encoding)
// into `doc.picture` and sets `doc.picturePending`. graphic1 is appended to the folder as it
// stands, so a full path in it names no file there. True when the picture was loaded (the
// caller updates the document's views then); a picture that cannot be loaded is reported
// through the host and leaves the document as it was.
bool loadForegroundPicture(CRKeditDoc& doc, const std::string& stageFilePath, Host& host);
