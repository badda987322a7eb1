#pragma once

#include <optional>
#include <string>
#include <string_view>

// Stage texts are CP932 (Windows Shift-JIS) bytes. These convert them for showing and for
// opening files, and convert typed text back.

// CP932 -> UTF-8; nothing when `cp932` holds a byte sequence that is not valid CP932.
std::optional<std::string> cp932ToUtf8(std::string_view cp932);

// CP932 -> UTF-8 for display: each byte that does not start a valid character shows as
// U+FFFD, the rest is converted.
std::string cp932ToUtf8Lossy(std::string_view cp932);

// CP932 -> UTF-8 where a byte that does not start a valid character is kept as it is, so
// no byte of the original is lost (for file names, which the file system takes as bytes).
std::string cp932ToUtf8KeepingInvalid(std::string_view cp932);

// UTF-8 -> CP932; nothing when a character has no CP932 form (or the UTF-8 is invalid).
std::optional<std::string> utf8ToCp932(std::string_view utf8);

// Whether `c` can be the first byte of a two-byte CP932 character.
bool isCp932LeadByte(unsigned char c);
// Whether `c` can be the second byte of a two-byte CP932 character ("\" can, "/" cannot).
bool isCp932TrailByte(unsigned char c);
