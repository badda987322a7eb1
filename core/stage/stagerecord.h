#pragma once

#include <string>
#include <string_view>
#include <vector>

class CRKeditDoc;
class Host;

// The stage record: one line of 36 "&"-closed key=value pairs beginning "version=RK&".

// Store mode: takes the open event tool's script into `doc.command` (through the host), then
// returns the record's bytes. Nothing else changes in the document.
std::string writeStageRecord(CRKeditDoc& doc, Host& host);

// Load mode: reads the first line of `fileBytes` into `doc` (a freshly constructed document),
// then loads the foreground picture named by graphic1 from the folder of `filePath` (a path
// in the file system's encoding). A picture that cannot be loaded is reported through the
// host; everything read stays.
void readStageRecord(CRKeditDoc& doc, std::string_view fileBytes, const std::string& filePath,
                     Host& host);

// The keys whose current values would not read back the same (a "&" anywhere, a "," in a
// scalar value or inside a script line), in record order, so the editor can warn before
// saving. The record is written in its usual form all the same.
std::vector<std::string> keysThatWillNotReadBack(const CRKeditDoc& doc);
