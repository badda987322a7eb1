#include "document/filesystemname.h"

namespace {

// The length of the valid UTF-8 sequence at `p` (at most `left` bytes), 0 when there is none:
// no overlong forms, no surrogates, nothing past U+10FFFF.
int validSequence(const unsigned char* p, qsizetype left) {
    const unsigned char c = p[0];
    if (c < 0x80)
        return 1;
    int length = 0;
    char32_t value = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
        value = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        value = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        value = c & 0x07;
    } else {
        return 0;
    }
    if (left < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (p[i] & 0x3F);
    }
    if ((length == 3 && value < 0x800) || (length == 4 && value < 0x10000) || value > 0x10FFFF ||
        (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

QString fromFileSystemName(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    qsizetype i = 0;
    while (i < bytes.size()) {
        const int length = validSequence(p + i, bytes.size() - i);
        if (length == 0) {
            text += QChar(char16_t(0xDC00 + p[i]));
            ++i;
            continue;
        }
        text += QString::fromUtf8(bytes.constData() + i, length);
        i += length;
    }
    return text;
}

QByteArray fileSystemName(const QString& path) {
    QByteArray bytes;
    bytes.reserve(path.size());
    qsizetype start = 0; // the start of the run of ordinary text not yet converted
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = path.at(i).unicode();
        const bool escaped = c >= 0xDC80 && c <= 0xDCFF &&
                             (i == 0 || !QChar::isHighSurrogate(path.at(i - 1).unicode()));
        if (!escaped)
            continue;
        bytes += QStringView(path).mid(start, i - start).toUtf8();
        bytes += char(c - 0xDC00);
        start = i + 1;
    }
    bytes += QStringView(path).mid(start).toUtf8();
    return bytes;
}
