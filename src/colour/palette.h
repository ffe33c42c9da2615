// Colours (0x00BBGGRR), the palettes of the pictures and the small colour arithmetic.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/status.h"

namespace vorla {

using Colour = std::uint32_t;

constexpr Colour Rgb(int r, int g, int b) {
    return static_cast<Colour>((r & 255) | ((g & 255) << 8) | ((b & 255) << 16));
}
constexpr int RedOf(Colour c) {
    return c & 255;
}
constexpr int GreenOf(Colour c) {
    return (c >> 8) & 255;
}
constexpr int BlueOf(Colour c) {
    return (c >> 16) & 255;
}

inline constexpr Colour kBlack = Rgb(0, 0, 0);
inline constexpr Colour kWhite = Rgb(255, 255, 255);
inline constexpr Colour kRed = Rgb(255, 0, 0);
inline constexpr Colour kGrey = Rgb(128, 128, 128);

struct NamedColour {
    const char* name;
    Colour colour;
};
extern const std::array<NamedColour, 54> NamedColors;
extern const std::array<Colour, 16> kDefaultPeriodColors;

// Every palette of the run, one instance owned by the session.
struct Palette {
    Colour RampFromColor = kBlack;
    Colour RampToColor = kWhite;
    std::array<Colour, 16> PeriodColors = kDefaultPeriodColors;
    std::array<Colour, 5> CircleColors{};
    std::array<Colour, 8> ClassColors{};
    std::array<Colour, 8> RegionColors{};
    Colour LyapNegColor = Rgb(0, 0, 128);
    Colour LyapZeroColor = kWhite;
    Colour LyapPosColor = kRed;
    static constexpr float LyapScale = 2.0f;

    Colour MixColorsByte(int n) const;
    Colour MixColorsFraction(float x) const;
    Colour LyapunovScaleColor(float L) const;
};

Colour LightenColor(Colour c);
Colour DarkenColor(Colour c);
std::string ColorText(Colour c);

// Parses a colour text: a name of NamedColors, "#RRGGBB", or "r,g,b".
Result<Colour> ParseColourText(const std::string& text);

}  // namespace vorla
