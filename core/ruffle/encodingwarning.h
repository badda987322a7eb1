#pragma once

#include <string_view>

class CRKeditDoc;

// Ruffle, the Flash Player emulator, reads the variables a movie loads as UTF-8, except that a
// movie of SWF version 5 or lower gets them as Windows-1252 (a later movie can switch to the
// system code page itself). A stage's texts are Shift-JIS, so under the emulator its Japanese
// text may not show correctly in such a movie.

// True when `swfStart` (the first bytes of a movie file) is an SWF header, plain or
// compressed, whose version byte (the 4th) is 5 or lower.
bool swfReadsTextAsWindows1252(std::string_view swfStart);

// True when any text of the stage record holds a byte outside ASCII.
bool stageHasNonAsciiText(const CRKeditDoc& doc);

// True when both hold: the user is then warned (MessageId::rufflesText).
bool rufflesTextWarns(std::string_view swfStart, const CRKeditDoc& doc);
