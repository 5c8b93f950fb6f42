// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/french.h"

#include "runtime/errors.h"
#include "runtime/text.h"

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>

namespace runtime::french {

namespace {

// Most numbers the game reads are its own: a few digits, perhaps a minus sign. They are read
// in place, without the copy that the general reading makes.
std::optional<double> shortWholeNumber(std::string_view text)
{
    const bool negative = text.starts_with('-');
    const std::string_view digits = text.substr(negative ? 1 : 0);
    if (digits.empty() || digits.size() > 15)
        return std::nullopt;
    std::int64_t value = 0; // under 10^15, exact as a double
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -double(value) : double(value);
}

} // namespace

std::optional<double> toNumber(std::string_view text)
{
    if (const auto number = shortWholeNumber(text))
        return number;
    // Past the white space around it, a number has only ASCII characters: any other byte ends
    // the reading.
    const std::string_view trimmed = runtime::text::trimmed(text);
    std::string ascii; // the same number with a full stop, for the standard parser
    ascii.reserve(trimmed.size());
    std::size_t i = 0;
    if (i < trimmed.size() && (trimmed[i] == '-' || trimmed[i] == '+')) {
        if (trimmed[i] == '-')
            ascii += '-';
        ++i;
    }
    bool digits = false;
    bool comma = false;
    for (; i < trimmed.size(); ++i) {
        const char c = trimmed[i];
        if (c >= '0' && c <= '9') {
            ascii += c;
            digits = true;
        } else if (c == ',' && !comma) {
            ascii += '.';
            comma = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits)
        return std::nullopt;

    const bool negative = ascii[0] == '-';
    const std::optional<double> value = detail::readDecimal(std::string_view(ascii).substr(negative ? 1 : 0));
    if (!value)
        return std::nullopt;
    return negative ? -*value : *value;
}

double numberOf(std::string_view text)
{
    if (const auto number = toNumber(text))
        return *number;
    throw ProgrammingError("\"" + std::string(text) + "\" is not a number");
}

std::optional<std::int16_t> toInt16(double value)
{
    // std::nearbyint rounds in the default mode, to nearest with halves to even.
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        return std::nullopt; // also NaN
    return static_cast<std::int16_t>(rounded);
}

std::string toText(double value)
{
    if (std::isnan(value))
        return "0";
    value = std::clamp(value, -DBL_MAX, DBL_MAX);
    if (value == 0)
        return "0"; // also -0
    if (value == std::trunc(value) && std::fabs(value) < 1e15) {
        // The game's own numbers, written at every tick: straight from their digits.
        char digits[24];
        const char* end =
            std::to_chars(std::begin(digits), std::end(digits), static_cast<long long>(value)).ptr;
        return std::string(digits, static_cast<std::size_t>(end - digits));
    }

    // Fifteen significant digits, written out in full and trimmed of trailing zeros.
    const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::clamp(14 - magnitude, 0, 340);
    char buffer[400];
    char* end = detail::writeDecimal(value, decimals, buffer, buffer + sizeof buffer);
    if (!end)
        return "0";
    std::string text(buffer, end);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    if (text == "-0")
        return "0";
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

namespace detail {

namespace {

// The C library writes and reads the decimal point of its locale.
char decimalPoint()
{
    return *std::localeconv()->decimal_point;
}

double outOfRange(std::string_view decimal)
{
    const std::string_view whole = decimal.substr(0, decimal.find('.'));
    return whole.find_first_not_of('0') != std::string_view::npos ? HUGE_VAL : 0.0;
}

} // namespace

std::optional<double> readDecimal(std::string_view decimal, Library library)
{
    if (library == Library::c) {
        std::string text(decimal);
        std::replace(text.begin(), text.end(), '.', decimalPoint());
        char* end = nullptr;
        errno = 0;
        const double value = std::strtod(text.c_str(), &end);
        if (end != text.c_str() + text.size() || text.empty())
            return std::nullopt;
        return errno == ERANGE && (value == 0 || std::isinf(value)) ? outOfRange(decimal) : value;
    }
#ifdef __cpp_lib_to_chars
    double value = 0;
    const auto [end, error] = std::from_chars(decimal.data(), decimal.data() + decimal.size(), value);
    if (end != decimal.data() + decimal.size() || decimal.empty())
        return std::nullopt;
    if (error == std::errc::result_out_of_range) // hundreds of digits
        return outOfRange(decimal);
    return error == std::errc() ? std::optional(value) : std::nullopt;
#else
    return readDecimal(decimal, Library::c);
#endif
}

char* writeDecimal(double value, int decimals, char* first, char* last, Library library)
{
    if (library == Library::c) {
        const int written =
            std::snprintf(first, static_cast<std::size_t>(last - first), "%.*f", decimals, value);
        if (written < 0 || written >= last - first)
            return nullptr;
        std::replace(first, first + written, decimalPoint(), '.');
        return first + written;
    }
#ifdef __cpp_lib_to_chars
    const auto [end, error] = std::to_chars(first, last, value, std::chars_format::fixed, decimals);
    return error == std::errc() ? end : nullptr;
#else
    return writeDecimal(value, decimals, first, last, Library::c);
#endif
}

} // namespace detail

} // namespace runtime::french
