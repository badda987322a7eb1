#pragma once

#include <string>
#include <string_view>

// Paths held in stage texts (CP932) and paths of the file system (UTF-8 here).
// In stage texts "/" and "\" are both separators, so stages written on Windows name their
// pictures the same way here; in paths of the file system only "/" is.

// The text after the last separator found at a position from the second to the
// second-to-last byte; the whole text when there is none. "C:\stage\pic.JPG" -> "pic.JPG".
// The second byte of a two-byte CP932 character is never taken for a separator.
std::string leafName(std::string_view cp932);

// A file-system path (UTF-8) cut back to its last "/", which stays; "" when there is none.
// Only "/" separates here: this is a path of the file system, not a text from the stage, and
// "\" is an ordinary character of a file name (a stage file may be called "a\b.stage").
std::string folderOf(std::string_view path);

// A stage text (CP932) converted to the file system's encoding for opening a file: every
// separator becomes "/", and bytes that are not valid CP932 are kept as they are.
std::string toFileSystemPath(std::string_view cp932);
