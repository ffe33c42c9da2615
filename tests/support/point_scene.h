// Pictures of one chosen plane point, and the checks that every kind of this group shares.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "model/controls.h"
#include "pictures/kinds.h"
#include "support/picture_fixture.h"

namespace vorla::testing {

// A 1 x 1 tabula whose pixel (0, 0) is exactly the plane point (x, y); the extra column
// and row of the wider range lie one unit to the right and below.
struct PointScene {
    ControlValues controls;
    Scene scene;
    Viewport view;
    Palette palette;
    Tabula tabula{1, 1};
    ValueGrid grid;
    RowPool pool{1};
    long double accuracy = 0.01L;
    std::vector<int> polls;

    PointScene(int task, long double x, long double y) {
        std::array<std::string, 11> texts;
        for (int i = 0; i < 11; ++i) texts[i] = controls.Text(CircleField(i));
        ReadCircleTexts(scene.k, texts);
        scene.taskType = task;
        view.W = view.H = 1;
        view.axes.SetPixelRange(1, 1);
        view.axes.SetXRange(x, x + 1);
        view.axes.SetYRange(y - 1, y);
        grid.Resize(1, 1);
        for (int i = 0; i < 8; ++i) palette.RegionColors[i] = controls.LabelColour(RegionLabel(i));
        tabula.Fill(Rgb(1, 2, 3));  // a colour that no picture computes
    }
    // K2 centred at the origin: one step of the two-circle map multiplies by R2 exactly.
    void Scaling(long double r2) {
        scene.k.D = 0;
        scene.k.R = std::sqrt(r2);
        scene.k.R2 = r2;
    }
    void Run(PictureRoutine routine) {
        polls.clear();
        PictureContext ctx{scene,
                           view,
                           controls,
                           palette,
                           tabula,
                           grid,
                           pool,
                           [this](int r) {
                               polls.push_back(r);
                               return false;
                           },
                           0,
                           accuracy};
        routine(ctx);
    }
    int Value() const { return grid.At(0, 0); }
    Colour Pixel() const { return tabula.Pixel(0, 0); }
    bool Untouched() const { return Pixel() == Rgb(1, 2, 3); }
};

// Not movable (it owns a pool of threads): helpers hand it out by pointer.
using PointPtr = std::unique_ptr<PointScene>;

inline constexpr long double kPi = 3.14159265358979323846264338327950288L;

// The point of the unit circle at the angle 2*pi*j/(2^p - 1): a p-cycle of the squaring.
inline void CyclePoint(int j, int p, long double& x, long double& y) {
    const long double t = 2 * kPi * j / ((1L << p) - 1);
    x = std::cos(t);
    y = std::sin(t);
}

// Which cells a picture writes and which rows it polls: exactly the tabula's, or one more
// row and column (whose cells lie in the next row, up to index H*W + W).
inline void ExpectRowRange(int tag, bool plusOne, int example = 3) {
    const int W = 12, H = 48;
    PictureFixture f(W, H, example);
    f.session.grid.Fill(-7);
    f.Run(tag);
    EXPECT_EQ(f.host.polls,
              plusOne ? (std::vector<int>{0, 16, 32, 48}) : (std::vector<int>{0, 16, 32}))
        << "tag " << tag;
    const long long lastWritten = plusOne ? 1LL * H * W + W : 1LL * H * W - 1;
    const auto& cells = f.session.grid.Cells();
    for (long long i = 0; i < static_cast<long long>(cells.size()); ++i) {
        if (i <= lastWritten)
            EXPECT_NE(cells[i], -7) << "tag " << tag << " cell " << i;
        else
            EXPECT_EQ(cells[i], -7) << "tag " << tag << " cell " << i;
    }
}

// R of K2 at 0: a guarded kind leaves tabula and grid exactly as they were; an unguarded
// one still draws.
inline void ExpectRadiusGuard(int tag, bool guarded, int example = 3) {
    PictureFixture f(16, 16, example);
    f.session.tabula.Fill(Rgb(1, 2, 3));
    f.session.grid.Fill(-7);
    f.controls.SetText(Ctl::EditKr, "0");
    f.Run(tag);
    bool anyPixel = false, anyCell = false;
    for (auto p : f.Pixels()) anyPixel |= p != Rgb(1, 2, 3);
    for (int v : f.session.grid.Cells()) anyCell |= v != -7;
    EXPECT_EQ(f.host.status[7], PictureStatusTexts(tag));
    if (guarded) {
        EXPECT_FALSE(anyPixel) << "tag " << tag;
        EXPECT_FALSE(anyCell) << "tag " << tag;
    } else {
        EXPECT_TRUE(anyCell) << "tag " << tag;
    }
}

// A whole 48 x 40 picture with some controls set: not a single value, and exactly the
// same on 2, 3 and 4 threads as on one.
inline void ExpectWholePicture(int tag, int example,
                               std::vector<std::pair<Ctl, std::string>> settings = {}) {
    auto Picture = [&](int threads) {
        auto f = std::make_unique<PictureFixture>(48, 40, example, threads);
        for (const auto& [name, text] : settings) f->controls.SetText(name, text);
        f->Run(tag);
        return f;
    };
    const auto one = Picture(1);
    const auto& cells = one->session.grid.Cells();
    EXPECT_GE(std::set<int>(cells.begin(), cells.end()).size(), 2u)
        << "tag " << tag << " example " << example;
    for (int t : {2, 3, 4}) {
        const auto many = Picture(t);
        EXPECT_EQ(many->Pixels(), one->Pixels()) << "tag " << tag << ", " << t << " threads";
        EXPECT_EQ(many->session.grid.Cells(), cells) << "tag " << tag << ", " << t << " threads";
    }
}

}  // namespace vorla::testing
