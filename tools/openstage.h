#pragma once

#include <string>

class CRKeditDoc;
struct IgnoredContent;
class TerminalHost;

// Opens the stage file at `path` into `doc` (a freshly constructed document) the way the
// editor's Open does: its first line is parsed into the document and the foreground picture
// beside it is loaded. A picture that cannot be loaded is reported
// through `host` (on stderr) and the document is still opened. False, with `error` set to
// one line, only when the stage file itself cannot be read (it is missing, not a regular
// file, or larger than maxStageFileBytes). A non-empty file that holds no stage record is
// read all the same (as a new stage) after a warning line on stderr.
// `ignored`, when given, says what of the file the document does not hold. A record cut short
// (its last pair not closed by "&") is read after a warning on stderr; `cutShort`, when
// given, says so.
bool openStage(const std::string& path, CRKeditDoc& doc, TerminalHost& host, std::string& error,
               IgnoredContent* ignored = nullptr, bool* cutShort = nullptr);

// The record step of openStage alone: reads the stage file at `path` into `doc` and loads no
// picture. False, with `error` set, when the file cannot be read.
bool openStageRecord(const std::string& path, CRKeditDoc& doc, std::string& error);
