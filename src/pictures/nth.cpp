#include "pictures/nth.h"

#include <cmath>
#include <cstdio>

#include "pictures/kinds.h"
#include "pictures/lanes.h"

namespace vorla {

std::string RepairedLimitText(long double b) {
    const Result<long double> read = ConvertNumberText(FormatDigits(5, b));
    if (!read || !(std::fabs(read.Value()) < 100000)) return GeneralText(b);
    const long double rounded = read.Value();
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6Lf", rounded);
    std::string text(buf);
    // The C library writes its own separator; the field shows the window's.
    for (char& ch : text)
        if (ch == '.' || ch == ',') ch = DecimalChar();
    return text;
}

bool LimitRangeRepair(Controls& controls, long double a, long double& b) {
    if (b > a) return false;
    b = (a + 0.1L) * 2;
    controls.SetText(Ctl::EditLimit2, RepairedLimitText(b));
    return true;
}

namespace {

// n map steps; the distance of the n-th point from the start gives the pixel.
struct NthOrbit {
    int n;
    long double a, b, inv;
    bool complete, white;
    const Palette* palette;
    long double X0 = 0, Y0 = 0, X = 0, Y = 0;
    int i = 0;

    bool Start(long double x, long double y) {
        X = X0 = x;
        Y = Y0 = y;
        i = 0;
        return n <= 0;
    }
    VORLA_INLINE bool After() { return ++i >= n; }
    PixelResult Result() const {
        const long double d = std::sqrt((X - X0) * (X - X0) + (Y - Y0) * (Y - Y0));
        const int value = TruncToInt32(d);
        if (d < a) return PixelResult{kRed, value};
        if (d <= b)
            return PixelResult{palette->MixColorsFraction(static_cast<float>((d - a) * inv)),
                               value};
        if (complete) {
            // q >= 1 here; 53 bands, the last entry of the table is never used.
            const int q = TruncToInt32(d / b);
            return PixelResult{NamedColors[q % 53].colour, value};
        }
        if (white) return PixelResult{kWhite, value};
        return PixelResult{kWhite, value, false};
    }
};

}  // namespace

void KresliLimit(PictureContext& ctx) {
    Palette& palette = ctx.palette;
    palette.RampFromColor = ctx.controls.LabelColour(Ctl::LabelLimitD);
    palette.RampToColor = ctx.controls.LabelColour(Ctl::LabelLimitH);
    const int n = ctx.controls.Spin(Ctl::SpinLimit);
    const long double a = ctx.controls.Number(Ctl::EditLimit1);
    long double b = ctx.controls.Number(Ctl::EditLimit2);
    LimitRangeRepair(ctx.controls, a, b);
    const long double inv = 1 / (b - a);
    const bool complete = ctx.controls.Checked(Ctl::CheckUplnost);
    const bool white = ctx.controls.Checked(Ctl::CheckBila);
    ctx.tabula.SetPenMode(PenMode::Copy);
    // Polled every 16 rows like the other pictures, so that a long run can be stopped.
    const NthOrbit orbit{n, a, b, inv, complete, white, &palette};
    WalkOrbits(ctx, RowRange::PlusOne, [&](const auto&, const Scene&) { return orbit; });
}

}  // namespace vorla
