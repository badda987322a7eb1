#pragma once

#include <string>
#include <string_view>

// Paths held in stage texts (CP932) and paths of the file system (UTF-8 here).
// "/" and "\" are both separators; the second byte of a two-byte CP932 character is never
// taken for one.

// The text after the last separator found at a position from the second to the
// second-to-last byte; the whole text when there is none. "C:\stage\pic.JPG" -> "pic.JPG".
std::string leafName(std::string_view cp932);

// The path cut back to its last separator, which stays; "" when there is none.
std::string folderOf(std::string_view path);

// A stage text (CP932) converted to the file system's encoding for opening a file; invalid
// sequences are kept byte for byte.
std::string toFileSystemPath(std::string_view cp932);
