#pragma once

#include <string>
#include <string_view>
#include <vector>

class CRKeditDoc;
struct IgnoredContent;

// The stage record: one line of 36 "&"-closed key=value pairs beginning "version=RK&".
// Parsing and writing are pure: bytes in, bytes out. Loading the foreground picture the
// record names is a step of its own (foregroundpicture.h).

// Load mode: the document that the first line of `fileBytes` describes, starting from a
// freshly constructed one (absent keys keep their defaults). Block list items that fall
// outside the grid are skipped. No picture is loaded: the result has none.
CRKeditDoc parseStageRecord(std::string_view fileBytes);
// The same, saying in `ignored` what of the file the document does not hold.
CRKeditDoc parseStageRecord(std::string_view fileBytes, IgnoredContent& ignored);

// Store mode: the record's bytes for `doc`, with `script` (CP932, lines ended by CR LF) as
// the event script in place of `doc.command`: the editor passes the open event tool's
// script, which holds the newest text. A stage wider or taller than the 100 x 100 grid gets
// 0 for the cells outside it, so the block list keeps its columns x rows items.
std::string writeStageRecord(const CRKeditDoc& doc, std::string_view script);
// The same with the document's own script.
std::string writeStageRecord(const CRKeditDoc& doc);

// The keys whose values would not read back the same when `doc` is written with `script`
// (or its own script) and the record parsed again, in record order, so the editor can warn
// before saving. The record has no escape: a value holding "&", CR or LF breaks the record
// itself (the pair ends there, or the line does) and is reported without being parsed; every
// other pair is written, parsed back and compared with the document. Values the writer
// changes on purpose are compared in their written form (a picture's leaf name; a script
// whose last line gains its line end). A block list cut short because the stage is absurdly
// large is reported too: the movie would miss its cells. The record is written in its usual
// form all the same: the movie reads exactly that form.
std::vector<std::string> keysThatWillNotReadBack(const CRKeditDoc& doc, std::string_view script);
std::vector<std::string> keysThatWillNotReadBack(const CRKeditDoc& doc);
