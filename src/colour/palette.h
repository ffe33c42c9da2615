// Colours (0x00BBGGRR), the palettes of the pictures and the small colour arithmetic.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/status.h"

namespace vorla {

// A colour as 0x00BBGGRR.
using Colour = std::uint32_t;

// The colour of three channels 0..255 (each taken modulo 256), and the channels of a colour.
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

// Colours the code names.
inline constexpr Colour kBlack = Rgb(0, 0, 0);
inline constexpr Colour kWhite = Rgb(255, 255, 255);
inline constexpr Colour kRed = Rgb(255, 0, 0);
inline constexpr Colour kGrey = Rgb(128, 128, 128);

// A colour with the name the window shows for it.
struct NamedColour {
    const char* name;
    Colour colour;
};
// The named colours, in the order of the n-th picture's bands.
extern const std::array<NamedColour, 54> NamedColors;
// The colours of the periods 1 to 15 and of "no period", as the labels start.
extern const std::array<Colour, 16> kDefaultPeriodColors;

// Every palette of the run, one instance owned by the session.
struct Palette {
    // The two ends of the colour ramp (orbits, the n-th and the last-two pictures).
    Colour RampFromColor = kBlack;
    Colour RampToColor = kWhite;
    std::array<Colour, 16> PeriodColors = kDefaultPeriodColors;  // periods 1..15, then none
    std::array<Colour, 5> CircleColors{};                        // K1..K5
    std::array<Colour, 8> ClassColors{};                         // the convergence classes
    std::array<Colour, 8> RegionColors{};                        // the end regions
    // The Lyapunov scale: the colours of negative, zero and positive exponents, and its
    // steepness.
    Colour LyapNegColor = Rgb(0, 0, 128);
    Colour LyapZeroColor = kWhite;
    Colour LyapPosColor = kRed;
    static constexpr float LyapScale = 2.0f;

    // The ramp's colour at n/255 of the way (n taken modulo 256).
    Colour MixColorsByte(int n) const;
    // The ramp's colour at the fraction part of x of the way (x = 1 gives the end colour).
    Colour MixColorsFraction(float x) const;
    // The colour of a Lyapunov exponent: negative, zero and positive colours, mixed smoothly.
    Colour LyapunovScaleColor(float L) const;
};

// The colour halfway to white.
Colour LightenColor(Colour c);
// The colour at two thirds of its channels.
Colour DarkenColor(Colour c);
// The name of a colour in NamedColors, else "r-g-b".
std::string ColorText(Colour c);

// Parses a colour text: a name of NamedColors, "#RRGGBB", or "r,g,b".
Result<Colour> ParseColourText(const std::string& text);

}  // namespace vorla
