// The 0x80-0x9F row of Windows-1252 holds typographic characters; the rest of the
// upper half equals Latin-1.
#include "export/win_ansi.h"

#include <array>
#include <cstdint>

namespace exporter {
namespace {

// Code points of the bytes 0x80 ... 0x9F; 0 marks a byte without a character.
constexpr std::array<char32_t, 32> kHighRow = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char ToByte(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
    for (size_t i = 0; i < kHighRow.size(); ++i)
        if (kHighRow[i] != 0 && kHighRow[i] == code) return static_cast<char>(0x80 + i);
    return '?';
}

// Length of the UTF-8 sequence that starts with `lead`, 0 when it cannot start one.
int SequenceLength(uint8_t lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

}  // namespace

std::string ToWinAnsi(const std::string& utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<uint8_t>(utf8[i]);
        const int length = SequenceLength(lead);
        if (length == 0 || i + static_cast<size_t>(length) > utf8.size()) {
            bytes += '?';
            ++i;
            continue;
        }
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = true;
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<uint8_t>(utf8[i + static_cast<size_t>(k)]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not characters.
        constexpr std::array<char32_t, 5> kSmallest = {0, 0, 0x80, 0x800, 0x10000};
        if (!valid || code < kSmallest[static_cast<size_t>(length)] ||
            (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
            bytes += '?';
            ++i;
            continue;
        }
        bytes += ToByte(code);
        i += static_cast<size_t>(length);
    }
    return bytes;
}

}  // namespace exporter
