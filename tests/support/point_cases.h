// Tables of one plane point per case for the picture kinds: the value and the colour that a
// kind gives a chosen point, on orbits whose every step is known: the squaring on the unit
// circle (task 6) and K2 around the origin, where one step of the two-circle map multiplies
// by R^2 exactly.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "app/picture_params.h"
#include "support/picture_fixture.h"

namespace vorla::testing {

// A 1 x 1 tabula whose pixel is exactly the plane point (x, y), over the start circles;
// the class and region colours are distinct and made up.
struct PointScene {
    ControlValues controls;
    Scene scene;
    Viewport view;
    Palette palette;
    Tabula tabula{1, 1};
    ValueGrid grid;
    RowPool pool{1};
    long double accuracy = 0.01L;

    PointScene(int task, long double x, long double y) {
        scene.k = StartCircles();
        scene.taskType = TaskOfNumber(task);
        view.W = view.H = 1;
        view.axes.SetPixelRange(1, 1);
        view.axes.SetXRange(x, x + 1);
        view.axes.SetYRange(y - 1, y);
        grid.Resize(1, 1);
        for (int i = 0; i < 8; ++i) {
            palette.ClassColors[i] = Rgb(10 + 20 * i, 90, 160);
            palette.RegionColors[i] = Rgb(160, 10 + 20 * i, 90);
        }
        tabula.Fill(kUnpainted);
    }
    // Reads the parameters of picture `tag` as the window does when a picture begins.
    void Run(int tag) {
        const PictureParams params = ReadPictureParams(tag, controls, palette, accuracy);
        PictureContext ctx{scene, view, tabula, grid, pool, {}, 0};
        FindPictureKind(tag)->run(ctx, params);
    }
    int Value() const { return grid.At(0, 0); }
    Colour Pixel() const { return tabula.Pixel(0, 0); }
};

struct Point {
    long double x, y;
};
inline constexpr long double kPi = 3.14159265358979323846264338327950288L;
inline Point Angle(long double t) {
    return {std::cos(t), std::sin(t)};
}
// The point of the unit circle at the angle 2*pi*j/(2^p - 1): a p-cycle of the squaring.
inline Point Cycle(int j, int p) {
    return Angle(2 * kPi * j / ((1L << p) - 1));
}
// 2*pi/3 and 4*pi/3 take turns; half way to it from the origin falls into it.
inline const Point c2 = Cycle(1, 2), halfC2{c2.x / 2, c2.y / 2};

using Look = Colour (*)(const PointScene&);
template <Colour c>
constexpr Look Is = [](const PointScene&) { return c; };
constexpr Look Left = [](const PointScene&) { return kUnpainted; };
template <int i>
constexpr Look P = [](const PointScene& s) { return s.palette.PeriodColors[i]; };
inline Palette Ramp(const PointScene& s, Ctl from, Ctl to) {
    Palette ramp;
    ramp.RampFromColor = s.controls.LabelColour(from);
    ramp.RampToColor = s.controls.LabelColour(to);
    return ramp;
}

// Scene changes: K2 and K3 centred at the origin, scaling by r2, with the bound `bound`.
template <int r2, int bound = 1000>
void Scaled(Scene& s) {
    s.k.D = s.k.M = s.k.N = 0;
    s.k.R = std::sqrt(r2);
    s.k.R2 = r2;
    s.SetInfinityBound(bound);
}
template <int bound>
void Bound(Scene& s) {
    s.SetInfinityBound(bound);
}

struct Case {
    const char* what;
    int task;
    Point at;
    const char* settings;
    int value;
    Look look = nullptr;              // nullptr: any colour
    void (*scene)(Scene&) = nullptr;  // changes the circles or the bound
};

// Runs picture `tag` on each case, with the `common` settings before the case's own.
inline void Check(int tag, const std::vector<Case>& cases, const char* common = "") {
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("tag ") + std::to_string(tag) + ": " + c.what);
        PointScene s(c.task, c.at.x, c.at.y);
        if (c.scene) c.scene(s.scene);
        Apply(s.controls, std::string(common) + " " + c.settings);
        s.Run(tag);
        EXPECT_EQ(s.Value(), c.value);
        if (c.look) {
            EXPECT_EQ(s.Pixel(), c.look(s));
        }
    }
}

}  // namespace vorla::testing
