// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/text.h"

namespace runtime::text {

namespace {

constexpr char32_t invalid = 0xFFFD;

bool isSpace(char32_t c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680
           || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F
           || c == 0x3000;
}

} // namespace

Character characterAt(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return {lead, at + 1};
    // The length a lead byte announces, and the smallest code it may carry (no overlong form).
    std::size_t length = 0;
    char32_t code = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, smallest = 0x10000;
    } else {
        return {invalid, at + 1};
    }
    if (text.size() - at < length)
        return {invalid, at + 1};
    for (std::size_t i = at + 1; i < at + length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return {invalid, at + 1};
        code = code << 6 | (byte(i) & 0x3F);
    }
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return {invalid, at + 1};
    return {code, at + length};
}

std::string_view trimmed(std::string_view text)
{
    std::size_t first = text.size();
    std::size_t last = 0;
    for (std::size_t at = 0; at < text.size();) {
        const Character c = characterAt(text, at);
        if (!isSpace(c.code)) {
            if (first == text.size())
                first = at;
            last = c.end;
        }
        at = c.end;
    }
    return first < last ? text.substr(first, last - first) : std::string_view();
}

std::string_view firstCharacters(std::string_view text, std::size_t count)
{
    std::size_t at = 0;
    for (; at < text.size() && count > 0; --count)
        at = characterAt(text, at).end;
    return text.substr(0, at);
}

} // namespace runtime::text
