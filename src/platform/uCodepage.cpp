#include "platform/uCodepage.h"

#include <array>

namespace Codepage {
namespace {

// 0x80..0x9F; the undefined positions keep their own value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

char16_t unicodeOf(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0)
        return kHighControls[byte - 0x80];
    return char16_t(byte);
}

int ansiOf(char16_t ch) {
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return int(ch);
    for (int i = 0; i < int(kHighControls.size()); ++i) {
        if (kHighControls[i] == ch)
            return 0x80 + i;
    }
    return -1;
}

QString fromAnsi(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = unicodeOf(static_cast<unsigned char>(bytes[i]));
    return text;
}

QByteArray toAnsi(QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        const int byte = ansiOf(ch);
        if (byte >= 0) {
            bytes.append(char(byte));
            continue;
        }
        bytes.append('?');
        // One character outside the basic plane is one '?', not two.
        if (QChar::isHighSurrogate(ch) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    }
    return bytes;
}

QString ansiRoundTrip(QStringView text) {
    return fromAnsi(toAnsi(text));
}

} // namespace Codepage
