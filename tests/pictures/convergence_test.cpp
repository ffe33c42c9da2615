#include <gtest/gtest.h>

#include "support/picture_fixture.h"

namespace vorla {
namespace {

using testing::PictureFixture;

// A session whose pixel (0, 0) stands for the plane point (x, y).
void At(PictureFixture& f, long double x, long double y, int task = 2) {
    f.session.ComboTypUlohyChange(task - 2);
    f.controls.SetText(Ctl::edtXod, GeneralText(x));
    f.controls.SetText(Ctl::edtXdo, GeneralText(x + 16));
    f.controls.SetText(Ctl::edtYzero, GeneralText(1 - y / 16));  // top row at y
}

TEST(Convergence, FixedPointIsClassSix) {
    // 1 is the fixed point of the squaring on the unit circle.
    PictureFixture f(16, 16, 0);
    At(f, 1, 0, 6);
    f.Run(1);
    EXPECT_EQ(f.session.grid.At(0, 0), 7);
    EXPECT_EQ(f.session.tabula.Pixel(0, 0), f.session.palette.ClassColors[6]);
}

TEST(Convergence, OneStepDecidesByTheStepLength) {
    // With n = 1, (2, 0) goes to (4, 0) on K1's square map: a long step right, class 0.
    PictureFixture f(16, 16, 0);
    At(f, 0.5L, 0, 6);
    f.controls.SetText(Ctl::SpinKonvergIter, "1");
    f.Run(1);
    EXPECT_EQ(f.session.grid.At(0, 0), 1);  // (0.5,0) -> (1,0): dx = 0.5 >= 0, dy = 0
    f.controls.SetText(Ctl::EditPresnost, "0.6");
    f.Run(1);
    EXPECT_EQ(f.session.grid.At(0, 0), 7);  // the same step is now short enough
    f.controls.SetText(Ctl::EditPresnost, "0.5");
    f.Run(1);
    EXPECT_EQ(f.session.grid.At(0, 0), 1) << "a step equal to the accuracy is not converged";
}

TEST(Convergence, DirectionClasses) {
    // (0.6, -0.8) squares to (-0.28, -0.96): the step goes left and down, not converged.
    PictureFixture f(16, 16, 0);
    At(f, 0.6L, -0.8L, 6);
    f.controls.SetText(Ctl::SpinKonvergIter, "1");
    f.Run(1);
    EXPECT_EQ(f.session.grid.At(0, 0), 2);
    // (0.6, 0.8) squares to (-0.28, 0.96): left and up.
    PictureFixture g(16, 16, 0);
    At(g, 0.6L, 0.8L, 6);
    g.controls.SetText(Ctl::SpinKonvergIter, "1");
    g.Run(1);
    EXPECT_EQ(g.session.grid.At(0, 0), 3);
}

TEST(Convergence, AccuracyFallbackAndFraction) {
    PictureFixture f(16, 16);
    f.controls.SetText(Ctl::EditPresnost, "0");
    f.Run(1);
    EXPECT_EQ(f.session.Accuracy, 0.001L);
    EXPECT_EQ(f.controls.focused, Ctl::EditPresnost);
    f.controls.SetText(Ctl::EditPresnost, "1/100");
    f.Run(1);
    EXPECT_EQ(f.session.Accuracy, 1.0L / 100);
}

TEST(Convergence, RadiusGuardLeavesEverything) {
    PictureFixture f(16, 16);
    f.session.tabula.Fill(kRed);
    f.controls.SetText(Ctl::EditKr, "0");
    f.Run(1);
    EXPECT_EQ(f.session.tabula.Pixel(5, 5), kRed);
    for (int v : f.session.grid.Cells()) EXPECT_EQ(v, -1);
    EXPECT_EQ(f.host.status[7], "Convergention of orbits, direction of last iteration.");
}

TEST(Convergence, EveryCellOfTheExtraRowAndColumnIsWritten) {
    PictureFixture f(12, 10);
    f.Run(1);
    // Rows 0..H of columns 0..W: indices up to H*W + W; the cells after them stay unused.
    const auto& cells = f.session.grid.Cells();
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i <= 10u * 12 + 12) {
            EXPECT_GE(cells[i], 1) << i;
            EXPECT_LE(cells[i], 8) << i;
        } else {
            EXPECT_EQ(cells[i], -1) << i;
        }
    }
}

}  // namespace
}  // namespace vorla
