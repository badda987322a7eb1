#include "html/htmlpage.h"

#include "stage/CRKeditDoc.h"
#include "stage/settingtext.h"

namespace {

// Where a browser without the player is sent. Only Internet Explorer reads the ActiveX
// cabinet's address; other browsers offer the player's download page.
constexpr std::string_view cabinetUrl =
    "https://fpdownload.macromedia.com/pub/shockwave/cabs/flash/swflash.cab";
constexpr std::string_view playerPageUrl = "https://www.adobe.com/go/getflashplayer";

// The credit line's link, after "RK/".
constexpr std::string_view creditLink = "<a href=\"https://github.com/rkedit/rkedit\">rkedit</a>";

// "ここに説明文を記入してください" (please write the description here) in CP932.
constexpr std::string_view placeholder =
    "\x82\xb1\x82\xb1\x82\xc9\x90\xe0\x96\xbe\x95\xb6\x82\xf0\x8b\x4c\x93\xfc\x82\xb5\x82\xc4"
    "\x82\xad\x82\xbe\x82\xb3\x82\xa2";

// Ruffle reads window.RufflePlayer.config when it starts.
constexpr std::string_view ruffleConfigLine =
    "<script>window.RufflePlayer = window.RufflePlayer || {}; window.RufflePlayer.config = "
    "{autoplay: \"on\", splashScreen: false, unmuteOverlay: \"hidden\"};</script>\n";
constexpr std::string_view ruffleScriptLine = "<script src=\"ruffle/ruffle.js\"></script>\n";

std::string_view orFallback(const std::string& text, std::string_view fallback) {
    return text.empty() ? fallback : std::string_view(text);
}

// The page is a text file: every LF, including any inside a value, ends its line with CR LF,
// as writing it in text mode does.
std::string withCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

} // namespace

std::string colourText(std::uint32_t colour) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    for (int shift = 0; shift <= 16; shift += 8) {
        const unsigned byte = (colour >> shift) & 0xffu;
        text += digits[byte >> 4];
        text += digits[byte & 0xfu];
    }
    return text;
}

bool parseColourText(std::string_view text, std::uint32_t& colour) {
    if (text.size() != 6)
        return false;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 6; ++i) {
        const char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = unsigned(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = unsigned(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = unsigned(c - 'A' + 10);
        else
            return false;
        // rr is the lowest byte, gg the next, bb the third.
        const unsigned byteIndex = unsigned(i / 2);
        const unsigned shift = byteIndex * 8 + (i % 2 == 0 ? 4 : 0);
        value |= std::uint32_t(digit) << shift;
    }
    colour = value;
    return true;
}

std::string movieHeightText(std::string_view graphicHeight, std::string_view barSpace) {
    // 32-bit wrap like every other setting sum; unsigned avoids undefined overflow.
    const auto sum = static_cast<std::int32_t>(std::uint32_t(digitValue(graphicHeight)) +
                                               std::uint32_t(digitValue(barSpace)));
    return decimalText(sum);
}

std::string composeHtmlPage(const CRKeditDoc& doc, bool ruffle) {
    const std::string_view title = orFallback(doc.title, "rk");
    const std::string_view quality = orFallback(doc.quality, "high");
    std::string movie = "rk.swf";
    if (!doc.configFileName.empty())
        movie += "?cnf=" + doc.configFileName;
    const std::string& width = doc.graphicWidth;
    const std::string height = movieHeightText(doc.graphicHeight, doc.barSpace);
    const std::string pageColour = colourText(doc.bgcolorHtml);
    const std::string movieColour = colourText(doc.bgcolorGame);

    std::string page;
    page.reserve(1400 + 3 * title.size() + 2 * movie.size() + 2 * width.size());
    auto put = [&page](std::initializer_list<std::string_view> parts) {
        for (std::string_view part : parts)
            page += part;
    };

    put({"<HTML>\n<HEAD>\n"});
    put({"<meta http-equiv=Content-Type content=\"text/html;  charset=SHIFT_JIS\">\n"});
    put({"<TITLE>", title, "</TITLE>\n"});
    put({"</HEAD>\n<BODY bgcolor=\"#", pageColour, "\" font=\"black\">\n"});
    // Outer table: fills the window and centres vertically. Inner table: centred
    // horizontally; its first cell holds the movie.
    put({"<table width=\"100%\" height=\"100%\"><tr><td valign=\"center\">\n"});
    put({"<table align=\"center\"><tr><td>\n\n"});

    if (ruffle)
        put({ruffleConfigLine, ruffleScriptLine});

    // The movie: one line, the ActiveX OBJECT with the EMBED for other browsers inside.
    put({"<OBJECT classid=\"clsid:D27CDB6E-AE6D-11cf-96B8-444553540000\""});
    put({" codebase=\"", cabinetUrl, "#version=6,0,0,0\""});
    put({" WIDTH=\"", width, "\" HEIGHT=\"", height, "\" id=\"", title, "\" ALIGN=\"\">"});
    put({" <PARAM NAME=movie VALUE=\"", movie, "\">"});
    put({" <PARAM NAME=quality VALUE=", quality, ">"});
    put({" <PARAM NAME=bgcolor VALUE=\"#", movieColour, "\">"});
    put({" <EMBED src=\"", movie, "\""});
    put({" quality=", quality, " bgcolor=\"#", movieColour, "\""});
    put({" WIDTH=\"", width, "\" HEIGHT=\"", height, "\""});
    put({" NAME=\"", title, "\" ALIGN=\"\""});
    put({" TYPE=\"application/x-shockwave-flash\""});
    put({"PLUGINSPAGE=\"", playerPageUrl, "\"></EMBED>"});
    put({"</OBJECT>\n\n"});

    // The annotation: a cell of its own right of or below the movie, none at all, or (for any
    // other text, the empty one included) the block alone in the movie's own cell.
    const std::string& position = doc.annotationPosition;
    if (position != "none") {
        if (position == "right")
            put({"</td><td align=\"left\" valign=\"center\" bgcolor=\"white\">\n"});
        else if (position == "bottom")
            put({"</td></tr><tr><td align=\"center\" valign=\"center\" bgcolor=\"white\">\n"});
        put({"<pre>\n\n", placeholder, "\n\n</pre>\n"});
    }

    // Closes the inner table only; the outer table is left open.
    put({"</td></tr></table>\n"});
    put({"<div align=right>"});
    put({"RK/", creditLink});
    put({"</div>\n</BODY>\n</HTML>\n"});
    return withCrLf(page);
}
