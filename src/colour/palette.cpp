#include "colour/palette.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vorla {

const std::array<NamedColour, 54> NamedColors = {{
    {"Black", Rgb(0, 0, 0)},        {"Red", Rgb(255, 0, 0)},
    {"Navy", Rgb(0, 0, 128)},       {"Yellow", Rgb(255, 255, 0)},
    {"Maroon", Rgb(128, 0, 0)},     {"Aqua", Rgb(0, 255, 255)},
    {"Green", Rgb(0, 128, 0)},      {"Fuchsia", Rgb(255, 0, 255)},
    {"Teal", Rgb(0, 128, 128)},     {"Silver", Rgb(192, 192, 192)},
    {"Purple", Rgb(128, 0, 128)},   {"Lime", Rgb(0, 255, 0)},
    {"Olive", Rgb(128, 128, 0)},    {"Blue", Rgb(0, 0, 255)},
    {"Gray", Rgb(128, 128, 128)},   {"White", Rgb(255, 255, 255)},
    {"Brown", Rgb(165, 42, 42)},    {"Cyan", Rgb(0, 255, 255)},
    {"Magenta", Rgb(255, 0, 255)},  {"Bronze", Rgb(240, 120, 36)},
    {"Khaki", Rgb(159, 159, 95)},   {"Gold", Rgb(204, 127, 50)},
    {"Pink", Rgb(188, 143, 143)},   {"Violet", Rgb(204, 48, 204)},
    {"Orange", Rgb(255, 128, 0)},   {"Beige", Rgb(230, 198, 70)},
    {"Gray05", Rgb(13, 13, 13)},    {"Gray10", Rgb(26, 26, 26)},
    {"Gray15", Rgb(38, 38, 38)},    {"Gray20", Rgb(51, 51, 51)},
    {"Gray25", Rgb(64, 64, 64)},    {"Gray30", Rgb(77, 77, 77)},
    {"Gray35", Rgb(89, 89, 89)},    {"Gray40", Rgb(102, 102, 102)},
    {"Gray45", Rgb(115, 115, 115)}, {"Gray50", Rgb(128, 128, 128)},
    {"Gray55", Rgb(140, 140, 140)}, {"Gray60", Rgb(153, 153, 153)},
    {"Gray65", Rgb(166, 166, 166)}, {"Gray70", Rgb(179, 179, 179)},
    {"Gray75", Rgb(191, 191, 191)}, {"Gray80", Rgb(204, 204, 204)},
    {"Gray85", Rgb(217, 217, 217)}, {"Gray90", Rgb(230, 230, 230)},
    {"Gray95", Rgb(242, 242, 242)}, {"FireBrick", Rgb(35, 35, 142)},
    {"Khaki", Rgb(95, 159, 159)},   {"Pink", Rgb(143, 143, 188)},
    {"Brass", Rgb(66, 166, 181)},   {"Copper", Rgb(51, 115, 184)},
    {"Bronze", Rgb(36, 120, 140)},  {"SkyBlue", Rgb(204, 153, 50)},
    {"Wheat", Rgb(191, 216, 216)},  {"Aquamarine", Rgb(153, 204, 50)},
}};

const std::array<Colour, 16> kDefaultPeriodColors = {
    Rgb(0, 0, 0),     Rgb(255, 0, 0),     Rgb(0, 0, 255),     Rgb(255, 255, 0),
    Rgb(128, 0, 0),   Rgb(0, 255, 255),   Rgb(0, 128, 0),     Rgb(255, 0, 255),
    Rgb(0, 128, 128), Rgb(192, 192, 192), Rgb(128, 0, 128),   Rgb(0, 255, 0),
    Rgb(128, 128, 0), Rgb(0, 0, 128),     Rgb(128, 128, 128), Rgb(255, 255, 255)};

namespace {
int NearestChannel(long double v) {
    const long double r = std::rint(v);
    return r < 0 ? 0 : r > 255 ? 255 : static_cast<int>(r);
}
}  // namespace

Colour Palette::MixColorsByte(int n) const {
    const int t = ((n % 256) + 256) % 256;
    auto ch = [&](int from, int to) {
        const int sum = from * (255 - t) + to * t;
        return NearestChannel(static_cast<double>(sum) / 255.0);
    };
    return Rgb(ch(RedOf(RampFromColor), RedOf(RampToColor)),
               ch(GreenOf(RampFromColor), GreenOf(RampToColor)),
               ch(BlueOf(RampFromColor), BlueOf(RampToColor)));
}

Colour Palette::MixColorsFraction(float x) const {
    float f;
    if (x == 1.0f)
        f = 1.0f;
    else
        f = x - std::floor(x);
    if (!(f >= 0.0f && f <= 1.0f)) f = 0.0f;  // NaN or infinity: the start colour
    const long double lf = f;
    auto ch = [&](int from, int to) { return NearestChannel((1 - lf) * from + lf * to); };
    return Rgb(ch(RedOf(RampFromColor), RedOf(RampToColor)),
               ch(GreenOf(RampFromColor), GreenOf(RampToColor)),
               ch(BlueOf(RampFromColor), BlueOf(RampToColor)));
}

Colour Palette::LyapunovScaleColor(float L) const {
    if (std::isnan(L)) L = 0;
    const long double e = std::exp(-static_cast<long double>(LyapScale) * L);
    long double tr = std::rint(510 / (e + 1) - 255);
    if (!(tr >= -255)) tr = -255;  // e infinite gives -255; guards NaN as well
    if (tr > 255) tr = 255;
    const int t = static_cast<int>(tr);
    auto ch = [&](int zero, int neg, int pos) {
        if (t < 0)
            return NearestChannel(static_cast<long double>(zero * (t + 255) - neg * t) / 255);
        return NearestChannel(static_cast<long double>(zero * (255 - t) + pos * t) / 255);
    };
    return Rgb(ch(RedOf(LyapZeroColor), RedOf(LyapNegColor), RedOf(LyapPosColor)),
               ch(GreenOf(LyapZeroColor), GreenOf(LyapNegColor), GreenOf(LyapPosColor)),
               ch(BlueOf(LyapZeroColor), BlueOf(LyapNegColor), BlueOf(LyapPosColor)));
}

Colour LightenColor(Colour c) {
    auto l = [](int v) { return (v + 256) / 2; };
    return Rgb(l(RedOf(c)), l(GreenOf(c)), l(BlueOf(c)));
}

Colour DarkenColor(Colour c) {
    auto d = [](int v) { return (2 * v) / 3; };
    return Rgb(d(RedOf(c)), d(GreenOf(c)), d(BlueOf(c)));
}

std::string ColorText(Colour c) {
    for (const auto& nc : NamedColors)
        if (nc.colour == c) return nc.name;
    // A value with the top byte set names no plain colour; its channels are shown all the same.
    return std::to_string(RedOf(c)) + "-" + std::to_string(GreenOf(c)) + "-" +
           std::to_string(BlueOf(c));
}

Result<Colour> ParseColourText(const std::string& text) {
    const Failure none{"'" + text + "' is no colour name, #RRGGBB or r,g,b"};
    for (const auto& nc : NamedColors)
        if (strcasecmp(nc.name, text.c_str()) == 0) return nc.colour;
    // Digits alone: no blank, sign or empty part.
    auto digits = [](const std::string& s, const char* set, size_t most) {
        return !s.empty() && s.size() <= most && s.find_first_not_of(set) == std::string::npos;
    };
    if (text.size() == 7 && text[0] == '#') {
        if (!digits(text.substr(1), "0123456789abcdefABCDEF", 6)) return none;
        const unsigned long v = std::strtoul(text.c_str() + 1, nullptr, 16);
        return Rgb((v >> 16) & 255, (v >> 8) & 255, v & 255);
    }
    int rgb[3] = {};
    size_t from = 0;
    for (int i = 0; i < 3; ++i) {
        const size_t comma = i < 2 ? text.find(',', from) : text.size();
        if (comma == std::string::npos) return none;
        const std::string part = text.substr(from, comma - from);
        if (!digits(part, "0123456789", 3)) return none;
        rgb[i] = std::stoi(part);
        if (rgb[i] > 255) return none;
        from = comma + 1;
    }
    return Rgb(rgb[0], rgb[1], rgb[2]);
}

}  // namespace vorla
