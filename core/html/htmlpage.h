#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class CRKeditDoc;

// The HTML page that embeds the game movie "rk.swf" with the stage file as its parameter,
// composed from the document's export values. The page is the exact bytes to write: CP932
// (Shift-JIS) text, every line ended by CR LF. Nothing is escaped: every value goes into the
// page as the user typed it.
//
// With `ruffle`, two lines stand directly before the OBJECT line and every other byte is the
// same: a script that configures Ruffle (the Flash Player emulator that takes over
// OBJECT/EMBED in today's browsers) to play at once, without its splash screen or unmute
// overlay, and the script element that loads it from the "ruffle" folder beside the page.
std::string composeHtmlPage(const CRKeditDoc& doc, bool ruffle = false);

// Six lowercase hexadecimal digits, red, green, blue, of a colour held as 0x00BBGGRR; the top
// byte is not written. Pure red (0x000000ff) gives "ff0000".
std::string colourText(std::uint32_t colour);

// The reverse of colourText: six hexadecimal digits rrggbb (either case) as 0x00BBGGRR;
// false for anything else.
bool parseColourText(std::string_view text, std::uint32_t& colour);

// The movie's HEIGHT: the decimal text of the sum of the digit values of the picture height
// and the paddle area height. "240" + "150" gives "390"; "2a0" + "150" gives "350".
std::string movieHeightText(std::string_view graphicHeight, std::string_view barSpace);
