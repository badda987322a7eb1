#pragma once

#include <string>
#include <string_view>
#include <vector>

class CRKeditDoc;
class Host;

// The stage record: one line of 36 "&"-closed key=value pairs beginning "version=RK&".

// Store mode: takes the open event tool's script into `doc.command` (through the host), then
// returns the record's bytes. Nothing else changes in the document. A stage wider or taller
// than the 100 x 100 grid gets 0 for the cells outside it, so the block list keeps its
// columns x rows items.
std::string writeStageRecord(CRKeditDoc& doc, Host& host);

// Load mode: reads the first line of `fileBytes` into `doc` (a freshly constructed document),
// then loads the foreground picture named by graphic1 from the folder of `filePath` (a path
// in the file system's encoding). A picture that cannot be loaded is reported through the
// host; everything read stays. Block list items that fall outside the grid are skipped.
void readStageRecord(CRKeditDoc& doc, std::string_view fileBytes, const std::string& filePath,
                     Host& host);

// Load mode's record step alone: reads the first line of `fileBytes` into `doc` (a freshly
// constructed document) and loads no picture.
void parseStageRecord(CRKeditDoc& doc, std::string_view fileBytes);

// The file load mode decodes as the foreground picture: graphic1 in the folder of
// `filePath` (a name holding a NUL byte names no file; load mode refuses it).
std::string foregroundPicturePath(const CRKeditDoc& doc, const std::string& filePath);

// The keys whose current values would not read back the same, in record order, so the
// editor can warn before saving. The record has no escape, so: a "&" anywhere, a CR or LF
// anywhere (the reader takes only the first line; in the script only CR LF pairs are line
// ends), a "," in a scalar value or inside a script line, a speed rate text that the rate
// table turns into another text, a cell kind the digit value cannot give back (negative or
// too large), and a block list cut short because the stage is absurdly large. The record is
// written in its usual form all the same: the movie reads exactly that form.
std::vector<std::string> keysThatWillNotReadBack(const CRKeditDoc& doc);
