#pragma once

#include <string>
#include <string_view>

// Whole-file reads and all-or-nothing writes for rkstage's output files.

// Reads the whole file; false with `error` set when it cannot.
bool readWholeFile(const std::string& path, std::string& bytes, std::string& error);

// Writes `bytes` to a temporary file beside `path`, flushes it and renames it over `path`,
// so a failure leaves any old file intact and no partial file behind.
bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& error);
