"""A tiny Flash movie (SWF 6, ActionScript 1 bytecode) standing in for the game movie.

Frame 1 loads the stage record named by the movie's cnf parameter into _root, as the game
does. Frame 2 waits until the record has arrived (version == "RK") and then requests
report.txt?bg=<bgcolorGame>&blocklen=<length of block>&title=<title>, which tells the test
what the movie received; frame 3 goes back to frame 2. A text field shows the same values.
"""
import struct


def _bits(values, nbits):
    return "".join(format(v & ((1 << nbits) - 1), "0%db" % nbits) for v in values)


def _rect(width_twips, height_twips):
    nbits = max(width_twips, height_twips).bit_length() + 1
    bits = format(nbits, "05b") + _bits([0, width_twips, 0, height_twips], nbits)
    bits += "0" * (-len(bits) % 8)
    return bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8))


def _tag(code, body=b""):
    if len(body) < 63:
        return struct.pack("<H", code << 6 | len(body)) + body
    return struct.pack("<HI", code << 6 | 0x3F, len(body)) + body


def _action(code, body=b""):
    if code >= 0x80:
        return bytes([code]) + struct.pack("<H", len(body)) + body
    return bytes([code])


def _push(*texts):
    return _action(0x96, b"".join(b"\x00" + t.encode("ascii") + b"\x00" for t in texts))


GET_VARIABLE, SET_VARIABLE, STRING_ADD, STRING_EQUALS, STRING_LENGTH = 0x1C, 0x1D, 0x21, 0x13, 0x14
NOT, STOP, PLAY = 0x12, 0x07, 0x06


def _load_variables_into_root():
    # GetURL2 with "load variables" and "target is a sprite", no variables sent: pops the
    # target, then the URL.
    return _push("_root") + _action(0x9A, b"\xc0")


def _report_url():
    code = _push("report.txt?bg=", "bgcolorGame") + _action(GET_VARIABLE) + _action(STRING_ADD)
    code += _push("&blocklen=", "block") + _action(GET_VARIABLE) + _action(STRING_LENGTH)
    code += _action(STRING_ADD) + _action(STRING_ADD)
    return code


def make_movie(version=6, width=320, height=240):
    frame1 = _push("status", "loading ") + _push("cnf") + _action(GET_VARIABLE)
    frame1 += _action(STRING_ADD) + _action(SET_VARIABLE)
    frame1 += _push("cnf") + _action(GET_VARIABLE) + _load_variables_into_root()

    # Frame 2: if (version == "RK") { status = …; loadVariables(report, "_root"); stop(); }
    report = _push("status") + _report_url() + _action(SET_VARIABLE)
    report += _report_url() + _load_variables_into_root() + _action(STOP)
    frame2 = _push("version") + _action(GET_VARIABLE) + _push("RK") + _action(STRING_EQUALS)
    frame2 += _action(NOT) + _action(0x9D, struct.pack("<h", len(report))) + report

    # Frame 3: gotoAndPlay(2).
    frame3 = _action(0x81, struct.pack("<H", 1)) + _action(PLAY)

    # A text field (device font) showing _root.status, for a person looking at the page.
    field = _edit_text(width, height)

    body = _tag(9, b"\x20\x40\x80")  # SetBackgroundColor
    body += _tag(37, field) + _tag(26, _place(1, 1))
    for actions in (frame1, frame2, frame3):
        body += _tag(12, actions + b"\x00") + _tag(1)
    body += _tag(0)
    head = _rect(width * 20, height * 20) + struct.pack("<HH", 12 << 8, 3)
    total = 8 + len(head) + len(body)
    return b"FWS" + bytes([version]) + struct.pack("<I", total) + head + body


def _edit_text(width, height):
    # DefineEditText: id 1, bounds, flags (HasText=0, WordWrap, Multiline, ReadOnly,
    # HasTextColor, NoSelect, UseOutlines=0), colour, variable name "status".
    flags_hi = 0x40 | 0x20 | 0x08 | 0x04  # WordWrap, Multiline, ReadOnly, HasTextColor
    flags_lo = 0x10  # NoSelect
    body = struct.pack("<H", 1) + _rect(width * 20, height * 20)
    body += bytes([flags_hi, flags_lo]) + b"\xff\xff\xff\xff" + b"status\x00"
    return body


def _place(depth, character):
    # PlaceObject2 with a character id.
    return bytes([0x02]) + struct.pack("<HH", depth, character)


if __name__ == "__main__":
    import sys
    sys.stdout.buffer.write(make_movie(int(sys.argv[1]) if len(sys.argv) > 1 else 6))
