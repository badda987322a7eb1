#pragma once

#include <QString>
#include <optional>

#include "ruffle/rufflefolder.h"

// The editor's Ruffle: the folder RKEDIT_RUFFLE_DIR names, else the one at
// <the program's folder>/../share/rkedit/ruffle (the build tree and an installed prefix alike).
// Nothing when it is missing, with `error` saying where it was looked for.
std::optional<RuffleFolder> programRuffle(QString& error);
