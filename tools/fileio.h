#pragma once

#include <string>
#include <string_view>

#include "file/outputfile.h"

// rkstage's output files, written by the rule every output of the programs follows
// (file/outputfile.h), with the temporary removed when a signal ends rkstage.

// The tag of the temporary file an output is written to before it takes the output's place:
// "OUT.rkstage-XXXXXX" beside the output. A file of that name left in a folder is a write
// that never finished (the process was killed) and holds nothing of value.
inline constexpr std::string_view temporarySuffix = ".rkstage-";

// Writes `bytes` in place of the file `path` all at once or not at all (writeOutputFile); the
// temporary file is removed on SIGINT, SIGTERM and SIGHUP too. False with `error` set (one
// line naming the file) on failure. (The commands refuse an output that is their input
// before they start: refuseOutputThatIsInput.)
bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& error);
