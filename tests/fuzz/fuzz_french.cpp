// SPDX-License-Identifier: GPL-3.0-or-later
// The French number conversions on any bytes: read as a typed text (UTF-8 or not) and as raw
// doubles. What must hold whatever the number; and the C library's
// conversions, which the web build uses, give what the C++ library's give.

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>

#include "runtime/errors.h"
#include "runtime/french.h"

namespace {

using namespace runtime::french;

void check(bool holds, const char* rule, const std::string& text)
{
    if (holds)
        return;
    std::fprintf(stderr, "%s: \"%s\"\n", rule, text.c_str());
    std::abort();
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// An optional "-", digits, and perhaps a comma with more digits: no exponent, no full stop,
// no group separator.
bool plain(const std::string& text)
{
    std::size_t i = text.starts_with('-') ? 1 : 0;
    const std::size_t whole = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    if (i == whole)
        return false;
    if (i < text.size() && text[i] == ',') {
        const std::size_t decimals = ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        if (i == decimals)
            return false;
    }
    return i == text.size();
}

// Digits from the first non-zero one to the last: "00,0120" has 2.
int significantDigits(const std::string& text)
{
    std::string digits;
    for (char c : text)
        if (isDigit(c))
            digits += c;
    while (digits.ends_with('0'))
        digits.pop_back();
    std::size_t zeros = 0;
    while (zeros < digits.size() && digits[zeros] == '0')
        ++zeros;
    return static_cast<int>(digits.size() - zeros);
}

std::string shown(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

void checkText(double value, const std::string& context)
{
    const std::string text = toText(value);
    check(plain(text), "toText writes something else than digits and a comma", text);
    check(text == "0" || text.starts_with('-') == (value < 0), "toText loses the sign", context);
    const std::optional<double> read = toNumber(text);
    check(read.has_value(), "toNumber refuses what toText wrote", text);
    check(toText(*read) == text, "toText writes again another text", text);
}

void checkInt16(double value, const std::string& context)
{
    const std::optional<std::int16_t> whole = toInt16(value);
    if (!whole) {
        check(std::isnan(value) || value < -32768.5 || value >= 32767.5, "toInt16 refuses a 16-bit number",
              context);
        return;
    }
    const double off = std::fabs(value - *whole);
    check(off <= 0.5, "toInt16 is not the nearest", context);
    check(off < 0.5 || *whole % 2 == 0, "toInt16 rounds a half to an odd number", context);
}

void checkTyped(const std::string& typed)
{
    const std::optional<double> number = toNumber(typed);
    try {
        const double n = numberOf(typed);
        check(number && n == *number, "numberOf reads what toNumber refuses", typed);
    } catch (const runtime::ProgrammingError&) {
        check(!number, "numberOf refuses a number", typed);
    }
    if (!number)
        return;
    check(!std::isnan(*number), "toNumber reads NaN", typed);
    checkText(*number, typed);
    checkInt16(*number, typed);
    // A double holds 15 significant digits, within its normal range.
    const bool representable =
        *number == 0 || (std::fabs(*number) >= DBL_MIN && std::fabs(*number) <= DBL_MAX);
    if (representable && significantDigits(typed) <= 15)
        check(toNumber(toText(*number)) == *number, "the number written reads back as another", typed);
}

void checkLibraries(std::string_view decimal, double value)
{
    using detail::Library;
    const std::string context(decimal);
    const std::optional<double> cpp = detail::readDecimal(decimal, Library::cpp);
    const std::optional<double> c = detail::readDecimal(decimal, Library::c);
    check(cpp.has_value() == c.has_value() && (!cpp || *cpp == *c), "the C library reads another number",
          context);
    if (!std::isfinite(value))
        return;
    for (const int decimals : {0, 1, 14, 340}) {
        char cppText[800];
        char cText[800];
        const char* cppEnd = detail::writeDecimal(value, decimals, cppText, std::end(cppText), Library::cpp);
        const char* cEnd = detail::writeDecimal(value, decimals, cText, std::end(cText), Library::c);
        check(cppEnd && cEnd && std::string_view(cppText, cppEnd) == std::string_view(cText, cEnd),
              "the C library writes another text", shown(value));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    checkTyped(std::string(bytes, size));

    std::string decimal(size, '0'); // the bytes as digits and full stops
    for (std::size_t i = 0; i < size; ++i)
        decimal[i] = "0123456789."[data[i] % 11];
    checkLibraries(decimal, 0);

    for (std::size_t at = 0; at + sizeof(double) <= size; at += sizeof(double)) {
        double value;
        std::memcpy(&value, data + at, sizeof value);
        const std::string context = shown(value);
        checkText(value, context);
        checkInt16(value, context);
        checkLibraries({}, value);
    }
    return 0;
}
