// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/french.h"

#include "runtime/errors.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

namespace runtime::french {

namespace {

// Most numbers the game reads are its own: a few digits, perhaps a minus sign. They are read
// in place, without the copies that the general reading makes.
std::optional<double> shortWholeNumber(QStringView text)
{
    const bool negative = text.startsWith(u'-');
    const QStringView digits = text.sliced(negative ? 1 : 0);
    if (digits.isEmpty() || digits.size() > 15)
        return std::nullopt;
    std::int64_t value = 0; // under 10^15, exact as a double
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return negative ? -double(value) : double(value);
}

} // namespace

std::optional<double> toNumber(const QString& text)
{
    if (const auto number = shortWholeNumber(text))
        return number;
    const QString trimmed = text.trimmed();
    std::string ascii; // the same number with a full stop, for the standard parser
    ascii.reserve(static_cast<std::size_t>(trimmed.size()));
    qsizetype i = 0;
    if (i < trimmed.size() && (trimmed[i] == u'-' || trimmed[i] == u'+')) {
        if (trimmed[i] == u'-')
            ascii += '-';
        ++i;
    }
    bool digits = false;
    bool comma = false;
    for (; i < trimmed.size(); ++i) {
        const QChar c = trimmed[i];
        if (c >= u'0' && c <= u'9') {
            ascii += static_cast<char>(c.unicode());
            digits = true;
        } else if (c == u',' && !comma) {
            ascii += '.';
            comma = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits)
        return std::nullopt;

    const bool negative = ascii[0] == '-';
    const char* first = ascii.data() + (negative ? 1 : 0);
    const char* last = ascii.data() + ascii.size();
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range) {
        // Hundreds of digits: a huge number if any of them stands before the comma, else one
        // too small to tell from zero.
        const std::string_view number(first, static_cast<std::size_t>(last - first));
        const std::string_view whole = number.substr(0, number.find('.'));
        value = whole.find_first_not_of('0') != std::string_view::npos ? HUGE_VAL : 0.0;
    } else if (error != std::errc() || end != last) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

double numberOf(const QString& text)
{
    if (const auto number = toNumber(text))
        return *number;
    throw ProgrammingError(QStringLiteral("\"%1\" is not a number").arg(text).toStdString());
}

std::optional<std::int16_t> toInt16(double value)
{
    // std::nearbyint rounds in the default mode, to nearest with halves to even.
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        return std::nullopt; // also NaN
    return static_cast<std::int16_t>(rounded);
}

QString toText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("0");
    value = std::clamp(value, -DBL_MAX, DBL_MAX);
    if (value == 0)
        return QStringLiteral("0"); // also -0
    if (value == std::trunc(value) && std::fabs(value) < 1e15) {
        // The game's own numbers, written at every tick: straight from their digits.
        char digits[24];
        const char* end =
            std::to_chars(std::begin(digits), std::end(digits), static_cast<long long>(value)).ptr;
        return QString::fromLatin1(digits, end - digits);
    }

    // Fifteen significant digits, written out in full and trimmed of trailing zeros.
    const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::clamp(14 - magnitude, 0, 340);
    char buffer[400];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (error != std::errc())
        return QStringLiteral("0");
    std::string text(buffer, end);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    if (text == "-0")
        text = "0";
    QString result = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    result.replace(u'.', u',');
    return result;
}

} // namespace runtime::french
