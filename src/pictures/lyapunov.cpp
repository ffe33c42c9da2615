#include "pictures/lyapunov.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "pictures/kinds.h"

namespace vorla {
namespace {

constexpr long double kDelta = 0.01L;  // the companion's distance, fixed in plane units
constexpr long double kTwoPi = 6.283185307179586476925286766559005768L;

// The natural logarithm of a finite a > 0 by the very x87 sequence that the C library's logl
// runs for it (ln 2 times log2 a by fyl2x, or by fyl2xp1 of a - 1 when |a - 1| is at most
// the double 0.29), without the call, which is much of a Lyapunov picture's time.
inline long double InlineLn(long double a) {
#if defined(__x86_64__) || defined(__i386__)
    long double ln2, r;
    asm("fldln2" : "=t"(ln2));
    const long double d = a - 1;
    if (!(std::fabs(d) > 0.29))
        asm("fyl2xp1" : "=t"(r) : "0"(d == 0 ? std::fabs(d) : d), "u"(ln2) : "st(1)");
    else
        asm("fyl2x" : "=t"(r) : "0"(a), "u"(ln2) : "st(1)");
    return r;
#else
    return std::log(a);
#endif
}

struct LibraryLn {
    static long double Of(long double a) { return std::log(a); }
};
struct FastLn {
    static long double Of(long double a) { return InlineLn(a); }
};

// Checked when the program starts: the pictures take the inline logarithm only if it gave
// the library's bits.
const bool kInlineLnAgrees = InlineLnMatchesLibrary(1 << 14);

// ln|q|; a zero or non-finite quotient counts as a degenerate step rather than giving an
// infinite or undefined sum.
template <class Ln>
inline long double LnAbs(long double q, long double lnSmall) {
    const long double a = std::fabs(q);
    if (!(a > 0) || !std::isfinite(a)) return lnSmall;
    return Ln::Of(a);
}

struct Pt {
    long double x, y;
};

// The term functors add a step's term to S; returning false ends the pixel's loop.

// The slope dY/dX at b of the parabola through a, b, c with Y a function of X.
struct TermX {
    template <class Ln>
    bool Add(const Pt& a, const Pt& b, const Pt& c, long double eps, long double lnSmall,
             long double& S) const {
        const long double G = (c.x - a.x) * (c.x - b.x) * (b.x - a.x);
        if (std::fabs(G) < eps) {
            S += lnSmall;
            return true;
        }
        const long double num =
            (b.x - a.x) * (b.x - a.x) * (c.y - b.y) + (c.x - b.x) * (c.x - b.x) * (b.y - a.y);
        S += LnAbs<Ln>(num / G, lnSmall);
        return true;
    }
};

// The same with the roles of X and Y exchanged.
struct TermY {
    template <class Ln>
    bool Add(const Pt& a, const Pt& b, const Pt& c, long double eps, long double lnSmall,
             long double& S) const {
        const long double G = (c.y - a.y) * (c.y - b.y) * (b.y - a.y);
        if (std::fabs(G) < eps) {
            S += lnSmall;
            return true;
        }
        const long double num =
            (b.y - a.y) * (b.y - a.y) * (c.x - b.x) + (c.y - b.y) * (c.y - b.y) * (b.x - a.x);
        S += LnAbs<Ln>(num / G, lnSmall);
        return true;
    }
};

// The ratio of b's squared distance from the point P (built from a, b, c) to c's.
struct TermXY {
    template <class Ln>
    bool Add(const Pt& a, const Pt& b, const Pt& c, long double eps, long double lnSmall,
             long double& S) const {
        const long double u = c.x - a.x, v = c.y - a.y;
        const long double q = u * u + v * v;
        if (q < eps) return false;  // the orbit has come to rest: no more terms
        const long double w = c.x * a.y - a.x * c.y;
        const long double s = b.x * u + b.y * v;
        const long double px = (v * w + s * u) / q;
        const long double py = (u * w + s * v) / q;
        const long double num = (b.x - px) * (b.x - px) + (b.y - py) * (b.y - py);
        const long double den = (px - c.x) * (px - c.x) + (py - c.y) * (py - c.y);
        if (!(den > 0)) {
            S += lnSmall;  // P at c: the ratio has no value
            return true;
        }
        const long double T = num / den;
        S += std::fabs(T) < eps ? lnSmall : LnAbs<Ln>(T, lnSmall);
        return true;
    }
};

// The scale's colours of the picture's parameters.
Palette ScaleColours(const LyapunovParams& p) {
    Palette palette;
    palette.LyapNegColor = p.negative;
    palette.LyapZeroColor = p.zero;
    palette.LyapPosColor = p.positive;
    return palette;
}

template <class Ln, class Term>
void ThreePointPicture(PictureContext& ctx, const LyapunovParams& p, Term term) {
    ctx.tabula.SetPenMode(PenMode::Copy);
    const int N = p.iterations;
    const long double lnSmall = p.lnSmall;
    const Palette palette = ScaleColours(p);
    WalkPixels(ctx, RowRange::PlusOne,
               [&](const auto& map, const Scene& scene, int, int, long double X0, long double Y0) {
                   const long double eps = scene.tolerance;
                   Pt a{X0, Y0};
                   Pt b = a;
                   map(b.x, b.y);
                   Pt c = b;
                   long double S = 0;
                   for (int i = 0; i < N; ++i) {
                       map(c.x, c.y);
                       if (!term.template Add<Ln>(a, b, c, eps, lnSmall, S)) break;
                       a = b;
                       b = c;
                   }
                   return LyapunovPixel(palette, S / N);
               });
}

inline std::uint64_t SplitMix64(std::uint64_t z) {
    z += 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// A uniform angle in [0, 2pi) that depends only on the picture's seed and the pixel, so that
// the picture does not depend on which thread computes which row.
inline long double PixelAngle(std::uint64_t mixedSeed, std::uint64_t pixel) {
    const std::uint64_t h = SplitMix64(mixedSeed ^ pixel);
    const long double fraction = static_cast<long double>(h >> 11) * 0x1p-53L;
    return fraction * kTwoPi;
}

// The displacement kind: a companion point kept at kDelta from the orbit point.
template <class Ln>
void Displacement(PictureContext& ctx, const LyapunovParams& p) {
    ctx.tabula.SetPenMode(PenMode::Copy);
    const int N = p.iterations;
    const long double lnSmall = p.lnSmall;
    const Palette palette = ScaleColours(p);
    const std::uint64_t mixedSeed = SplitMix64(ctx.seed);
    const std::uint64_t stride = static_cast<std::uint64_t>(ctx.grid.Width()) + 1;
    WalkPixels(
        ctx, RowRange::PlusOne,
        [&](const auto& map, const Scene& scene, int c, int r, long double X0, long double Y0) {
            const long double eps = scene.tolerance;
            const long double theta =
                PixelAngle(mixedSeed, static_cast<std::uint64_t>(r) * stride + c);
            long double px = X0, py = Y0;
            long double qx = X0 + kDelta * std::cos(theta), qy = Y0 + kDelta * std::sin(theta);
            long double S = 0;
            for (int i = 0; i < N; ++i) {
                map(px, py);
                map(qx, qy);
                const long double dx = qx - px, dy = qy - py;
                const long double d = std::sqrt(dx * dx + dy * dy);
                if (!(d >= eps)) {
                    S += lnSmall;  // the companion sits on the orbit point: it stays there
                    continue;
                }
                S += LnAbs<Ln>(d / kDelta, lnSmall);
                qx = px + (qx - px) * kDelta / d;
                qy = py + (qy - py) * kDelta / d;
            }
            return LyapunovPixel(palette, S / N);
        });
}

}  // namespace

void DrawLyapunovScale(const Palette& palette, Tabula& scale) {
    const int sh = scale.Height(), sw = scale.Width();
    scale.SetPenMode(PenMode::Copy);
    scale.Detach();
    for (int y = 0; y < sh; ++y) {
        const long double v = sh > 1 ? 2.0L * y / (sh - 1) - 1 : 0;
        scale.SetPenColor(palette.LyapunovScaleColor(static_cast<float>(v)));
        for (int x = 0; x < sw; ++x) scale.SetPixel(x, y, scale.PenColor());
    }
}

bool InlineLnMatchesLibrary(int samples) {
    const auto same = [](long double a) {
        const long double x = InlineLn(a), y = std::log(a);
        return std::memcmp(&x, &y, 10) == 0;  // the 80 bits of the value, not the padding
    };
    // Edges: the ends of the range, and around 1 and the switch between the two sequences.
    for (long double a : {LDBL_TRUE_MIN, LDBL_MIN, LDBL_MAX, 1.0L, 0.71L, 1.29L, 0.5L, 2.0L})
        for (long double b : {a, std::nextafter(a, 0.0L), std::nextafter(a, LDBL_MAX)})
            if (b > 0 && std::isfinite(b) && !same(b)) return false;
    for (long double a : {1 - static_cast<long double>(0.29), 1 + static_cast<long double>(0.29)})
        for (long double b : {a, std::nextafter(a, 0.0L), std::nextafter(a, 2.0L)})
            if (!same(b)) return false;
    // Every third value near 1, the others of any magnitude, denormals included.
    std::uint64_t z = 0x6C6E5F636865636Bull;
    for (int i = 0; i < samples; ++i) {
        const std::uint64_t bits = SplitMix64(z += i);
        long double a;
        if (i % 3 == 0) {
            a = 0.6L + static_cast<long double>(bits >> 11) * 0x1p-53L * 0.8L;
        } else {
            unsigned char raw[sizeof(long double)] = {};
            const bool denormal = i % 7 == 0;
            const std::uint64_t top = 1ull << 63;
            const std::uint64_t mantissa = denormal ? bits & ~top : bits | top;
            const auto exponent =
                static_cast<std::uint16_t>(denormal ? 0 : 1 + SplitMix64(bits) % 0x7FFE);
            std::memcpy(raw, &mantissa, 8);
            std::memcpy(raw + 8, &exponent, 2);
            std::memcpy(&a, raw, sizeof a);
        }
        if (a > 0 && std::isfinite(a) && !same(a)) return false;
    }
    return true;
}

void KresliLyapX(PictureContext& ctx, const LyapunovParams& p) {
    kInlineLnAgrees ? ThreePointPicture<FastLn>(ctx, p, TermX{})
                    : ThreePointPicture<LibraryLn>(ctx, p, TermX{});
}

void KresliLyapY(PictureContext& ctx, const LyapunovParams& p) {
    kInlineLnAgrees ? ThreePointPicture<FastLn>(ctx, p, TermY{})
                    : ThreePointPicture<LibraryLn>(ctx, p, TermY{});
}

void KresliLyapXY(PictureContext& ctx, const LyapunovParams& p) {
    kInlineLnAgrees ? ThreePointPicture<FastLn>(ctx, p, TermXY{})
                    : ThreePointPicture<LibraryLn>(ctx, p, TermXY{});
}

void KresliLyapD(PictureContext& ctx, const LyapunovParams& p) {
    kInlineLnAgrees ? Displacement<FastLn>(ctx, p) : Displacement<LibraryLn>(ctx, p);
}

}  // namespace vorla
