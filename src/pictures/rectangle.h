// The sample points of the rectangle-iterations picture.
#pragma once

#include <vector>

namespace vorla {

struct RectangleSamples {
    long double h = 0;            // the grid step
    std::vector<long double> xs;  // X1, X1 + h, ... while <= X2, by repeated addition
    std::vector<long double> ys;  // Y1, Y1 + h, ... while <= Y2
};

// The grid of sample points of the rectangle [X1, X2] x [Y1, Y2] with D steps along its
// longer side. Expects X1 < X2, Y1 < Y2 and D >= 1.
RectangleSamples RectangleSamplePoints(long double X1, long double X2, long double Y1,
                                       long double Y2, int D);

}  // namespace vorla
