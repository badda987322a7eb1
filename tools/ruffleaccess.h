#pragma once

#include <optional>
#include <string>

#include "ruffle/rufflefolder.h"

class CRKeditDoc;

// rkstage's Ruffle: the folder RKEDIT_RUFFLE_DIR names, else the one at
// <rkstage's folder>/../share/rkedit/ruffle (the build tree and an installed prefix alike).
std::optional<RuffleFolder> findRuffle(std::string& error);

// Prints on stderr the warning about Japanese text under the emulator when the movie at
// `moviePath` (if it can be read) is SWF 5 or lower and the stage holds non-ASCII text.
void warnAboutTextEncoding(const std::string& moviePath, const CRKeditDoc& doc);
