#include "app/picture_params.h"

#include <cmath>
#include <cstdio>

#include "pictures/kinds.h"
#include "pictures/lyapunov.h"
#include "plane/number_text.h"

namespace vorla {

long double EditPresnostExit(Controls& controls, long double& accuracy) {
    const Result<long double> read = controls.ReadNumber(Ctl::EditPresnost);
    accuracy = read.ValueOr(Spec(Ctl::EditPresnost).fallback);
    if (!read) controls.Focus(Ctl::EditPresnost);
    return accuracy;
}

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

void TakeLyapunovColours(const Controls& controls, Palette& palette) {
    palette.LyapNegColor = controls.LabelColour(Ctl::LabelLyapNegat);
    palette.LyapZeroColor = controls.LabelColour(Ctl::LabelLyapZero);
    palette.LyapPosColor = controls.LabelColour(Ctl::LabelLyapPosit);
}

PictureParams ReadPictureParams(int tag, Controls& controls, const Palette& palette,
                                long double& accuracy) {
    switch (tag) {
        case 1: {
            ConvergenceParams p;
            p.iterations = controls.Spin(Ctl::SpinKonvergIter);
            p.accuracy = EditPresnostExit(controls, accuracy);
            p.classColours = palette.ClassColors;
            return p;
        }
        case 2:
        case 3:
            return PeriodParams{controls.Spin(Ctl::SpinPeriodIter),
                                controls.Number(Ctl::EditTotoznost), palette.PeriodColors};
        case 4: {
            LimitParams p;
            p.n = controls.Spin(Ctl::SpinLimit);
            p.lower = controls.Number(Ctl::EditLimit1);
            p.upper = controls.Number(Ctl::EditLimit2);
            LimitRangeRepair(controls, p.lower, p.upper);
            p.complete = controls.Checked(Ctl::CheckUplnost);
            p.white = controls.Checked(Ctl::CheckBila);
            p.rampFrom = controls.LabelColour(Ctl::LabelLimitD);
            p.rampTo = controls.LabelColour(Ctl::LabelLimitH);
            return p;
        }
        case 8:
            return RegionParams{controls.Spin(Ctl::SpinRegionIter), palette.RegionColors};
        case 15: {
            InfinityParams p;
            p.iterations = controls.Spin(Ctl::SpinInfinityTest);
            for (int i = 0; i < 12; ++i) p.stepColours[i] = controls.LabelColour(RectLabel(i));
            return p;
        }
        case 16:
        case 22:
            return ClosestParams{controls.Spin(Ctl::SpinClosestIter), palette.PeriodColors};
        case 17:
            return LastTwoParams{
                controls.Spin(Ctl::SpinCalcIter), controls.Number(Ctl::EditMaxIterValue),
                controls.LabelColour(Ctl::LabelItersFrom), controls.LabelColour(Ctl::LabelItersTo)};
        case 18:
        case 19:
        case 20:
        case 21: {
            LyapunovParams p;
            p.iterations = controls.Spin(Ctl::SpinLyapIter);
            p.lnSmall = LyapunovLnSmall();
            p.negative = controls.LabelColour(Ctl::LabelLyapNegat);
            p.zero = controls.LabelColour(Ctl::LabelLyapZero);
            p.positive = controls.LabelColour(Ctl::LabelLyapPosit);
            return p;
        }
        default: {
            RectangleParams p;
            for (int k = 1; k <= 12; ++k) p.stepColours[k] = controls.LabelColour(RectLabel(k - 1));
            p.x1 = controls.Number(Ctl::EditX1);
            p.x2 = controls.Number(Ctl::EditX2);
            p.y1 = controls.Number(Ctl::EditY1);
            p.y2 = controls.Number(Ctl::EditY2);
            p.steps = controls.Spin(Ctl::SpinNumRect);
            p.density = controls.Spin(Ctl::SpinRectDensity);
            return p;
        }
    }
}

}  // namespace vorla
