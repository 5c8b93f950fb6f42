// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/artwork.h"

#include <array>
#include <charconv>
#include <string_view>

namespace runtime {

// The artwork's files are C arrays.
#include "assets/mechb.xpm"
#include "assets/mechr.xpm"
#include "assets/mechv.xpm"
#include "assets/souc.xpm"
#include "assets/tir.xpm"
#include "assets/tire.xpm"
#include "assets/vaisseau.xpm"

namespace {

const Artwork all[] = {
    {"mechb", mechb_xpm}, {"mechr", mechr_xpm}, {"mechv", mechv_xpm},         {"souc", souc_xpm},
    {"tir", tir_xpm},     {"tire", tire_xpm},   {"vaisseau", vaisseau_xpm},
};

// The numbers of "width height colours 1": false unless there are four, the last 1.
bool readHeader(std::string_view line, std::array<int, 4>& numbers)
{
    const char* at = line.data();
    const char* end = at + line.size();
    for (int& n : numbers) {
        while (at < end && *at == ' ')
            ++at;
        const auto [next, error] = std::from_chars(at, end, n);
        if (error != std::errc() || n < 0)
            return false;
        at = next;
    }
    return numbers[3] == 1 && numbers[0] <= 4096 && numbers[1] <= 4096;
}

// A colour line "X c #RRGGBB" or "X c None".
bool readColour(std::string_view line, std::array<std::uint32_t, 256>& colours)
{
    if (line.size() < 5 || line.substr(1, 3) != " c ")
        return false;
    const std::string_view value = line.substr(4);
    std::uint32_t& colour = colours[static_cast<unsigned char>(line[0])];
    if (value == "None") {
        colour = 0;
        return true;
    }
    std::uint32_t rgb = 0;
    if (value.size() != 7 || value[0] != '#' ||
        std::from_chars(value.data() + 1, value.data() + 7, rgb, 16).ptr != value.data() + 7)
        return false;
    colour = 0xFF000000u | rgb;
    return true;
}

} // namespace

Pixels readXpm(std::span<const char* const> lines)
{
    std::array<int, 4> header{};
    if (lines.empty() || !readHeader(lines[0], header))
        return {};
    const auto [width, height, count, perPixel] = header;
    if (lines.size() != static_cast<std::size_t>(1 + count + height))
        return {};
    std::array<std::uint32_t, 256> colours{};
    std::array<bool, 256> known{};
    for (int i = 1; i <= count; ++i) {
        if (!readColour(lines[i], colours))
            return {};
        known[static_cast<unsigned char>(lines[i][0])] = true;
    }
    Pixels out{width, height, {}};
    out.argb.reserve(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const std::string_view row = lines[1 + count + y];
        if (row.size() != static_cast<std::size_t>(width))
            return {};
        for (const char c : row) {
            if (!known[static_cast<unsigned char>(c)])
                return {};
            out.argb.push_back(colours[static_cast<unsigned char>(c)]);
        }
    }
    return out;
}

std::span<const Artwork> artworks()
{
    return all;
}

Pixels spritePixels(const Artwork& artwork)
{
    Pixels pixels = readXpm(artwork.lines);
    for (std::uint32_t& p : pixels.argb)
        if ((p & 0xFFFFFF) == 0)
            p = 0;
    return pixels;
}

} // namespace runtime
