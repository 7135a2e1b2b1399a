#pragma once

// Windows-1252, the code page of \ansicpg1252 and of every \fcharset0 font.
// Built in because it is by far the most common one and must not depend on
// which converters the Qt build carries.

namespace varo::rtf {

// The characters of the bytes 0x80 to 0x9F; U+FFFD where the code page
// leaves a byte undefined. The other bytes are their Latin-1 characters.
inline constexpr char16_t cp1252Oben[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

inline constexpr char16_t cp1252Zeichen(unsigned char byte)
{
    return (byte >= 0x80 && byte <= 0x9F) ? cp1252Oben[byte - 0x80] : char16_t(byte);
}

// The byte for a character, or -1 when cp1252 has none.
inline constexpr int cp1252Byte(char16_t zeichen)
{
    if (zeichen < 0x80 || (zeichen >= 0xA0 && zeichen <= 0xFF))
        return zeichen;
    for (int i = 0; i < 32; ++i) {
        if (cp1252Oben[i] == zeichen && zeichen != 0xFFFD)
            return 0x80 + i;
    }
    return -1;
}

} // namespace varo::rtf
