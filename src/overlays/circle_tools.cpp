#include "overlays/circle_tools.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "overlays/fp_guard.h"
#include "plane/number_text.h"

namespace vorla {

Result<YRelValue> YRelatively(long double xFrom, long double xTo, long double y, int W, int H) {
    FpGuard g;
    const long double num = g.Check(y * W);
    const long double den = g.Check(H * g.Check(xTo - xFrom));
    const long double v = g.Check(0.5L - g.Div(num, den));
    if (g.fault) return Failure{g.fault};
    return YRelValue{v, YRelText(v)};
}

std::string YRelText(long double v) {
    const char dec = DecimalChar();
    if (!std::isfinite(v)) return GeneralText(v);
    if (v == 0) return std::string("0") + dec + "000000";
    // Three significant digits, correctly rounded: d.dde±X (the separator is skipped, so the
    // C library's locale does not matter).
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2Le", v);
    std::string s(buf);
    const bool negative = s[0] == '-';
    if (negative) s.erase(0, 1);
    const std::size_t epos = s.find_first_of("eE");
    const int e10 = std::atoi(s.c_str() + epos + 1);
    const std::string digits = s.substr(0, 1) + s.substr(2, epos - 2);  // three digits
    const std::string sign = negative ? "-" : "";
    if (e10 >= 3) {
        std::string m = digits;
        while (m.size() > 1 && m.back() == '0') m.pop_back();
        std::string out = sign + m.substr(0, 1);
        if (m.size() > 1) out += dec + m.substr(1);
        return out + "E" + std::to_string(e10);
    }
    // value = digits * 10^(e10 - 2); in millionths: digits * 10^(e10 + 4).
    long long d = std::atoll(digits.c_str());
    const int shiftBy = e10 + 4;
    long long micro = 0;
    if (shiftBy >= 0) {
        micro = d;
        for (int i = 0; i < shiftBy; ++i) micro *= 10;
    } else if (shiftBy >= -3) {
        long long div = 1;
        for (int i = 0; i < -shiftBy; ++i) div *= 10;
        micro = d / div;
        const long long rest = d % div;
        if (2 * rest > div || (2 * rest == div && (micro & 1))) ++micro;  // ties to even
    }
    if (micro == 0) return std::string("0") + dec + "000000";
    std::string frac = std::to_string(micro % 1000000);
    frac.insert(0, 6 - frac.size(), '0');
    return sign + std::to_string(micro / 1000000) + dec + frac;
}

bool CircleThroughPoints(const PlanePoint& p1, const PlanePoint& p2, const PlanePoint& p3,
                         CircleResult& out) {
    const long double x1 = p1.X, y1 = p1.Y, x2 = p2.X, y2 = p2.Y, x3 = p3.X, y3 = p3.Y;
    const long double a = x1 - x2, b = y1 - y2, c = x2 - x3, d = y2 - y3;
    const long double det = 4 * (a * d - b * c);
    if (std::fabs(det) >= 0.001L) {
        const long double e = -(x1 + x2) * a - (y1 + y2) * b;
        const long double f = -(x2 + x3) * c - (y2 + y3) * d;
        const long double cx = 2 * (b * f - d * e) / det;
        const long double cy = 2 * (e * c - f * a) / det;
        out.circle = true;
        out.a = cx;
        out.b = cy;
        out.c = std::sqrt((cx - x1) * (cx - x1) + (cy - y1) * (cy - y1));
        return true;
    }
    out.circle = false;
    out.a = y1 - y2;
    out.b = x2 - x1;
    out.c = x1 * y2 - x2 * y1;
    return false;
}

Result<CircleResult> OrthogonalCircle(const CircleSet& k, long double x, long double y) {
    const long double D = k.D;
    FpGuard g;
    const long double s = g.Check(x * x + y * y);
    const long double q = g.Check(D * D - k.R2 + 1);
    const long double cx = g.Div(q, 2 * D);
    const long double cy = g.Div(g.Check((s + 1) * D - q * x), 2 * D * y);
    const long double N =
        g.Check((s * s + 1 + 2 * (x * x - y * y)) * D * D + (q * s - 2 * D * x * (s + 1)) * q);
    const long double r = g.Div(g.Sqrt(N), 2 * D * std::fabs(y));
    if (g.fault) return Failure{g.fault};
    return CircleResult{true, cx, cy, r};
}

}  // namespace vorla
