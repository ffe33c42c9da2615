#include "overlays/basic_circles.h"

#include <algorithm>

namespace vorla {

void Zadani1Click(Tabula& t, const Viewport& v, const Palette& p, TaskType taskType,
                  int thickness) {
    const Tabula::Batch batch(t);  // redrawn at every move of a dragged centre
    t.SetPenMode(PenMode::NotXor);
    t.SetPenWidth(thickness);
    const AxisPixels& a = v.axisPixels;
    t.MoveTo(0, a.r0);
    t.LineTo(v.W, a.r0);
    t.MoveTo(a.c0, 0);
    t.LineTo(a.c0, v.H);
    t.SetBrushStyle(BrushStyle::Clear);
    t.SetPenColor(p.CircleColors[0]);
    t.Ellipse(2 * a.c0 - a.c1, 2 * a.r0 - a.r1, a.c1, a.r1);
    t.Ellipse(a.c0 - 4, a.r0 - 4, a.c0 + 4, a.r0 + 4);
    if (taskType != TaskType::Squaring) {
        // K2 always (also before a task type is chosen); K3..K5 as far as the task goes.
        const int circles = std::max(1, CircleCount(taskType) - 1);
        for (int i = 0; i < circles; ++i) {
            const CirclePixel& c = v.circlePixels[i];
            t.SetPenColor(p.CircleColors[i + 1]);
            t.Ellipse(c.col - c.radius, c.row - c.radius, c.col + c.radius, c.row + c.radius);
            t.Ellipse(c.col - 4, c.row - 4, c.col + 4, c.row + 4);
        }
    }
    t.SetPenMode(PenMode::Copy);
}

void KresliZaklad(Tabula& t, const Viewport& v, const Palette& p, TaskType taskType,
                  int thickness) {
    t.SetBrush(BrushStyle::Solid, kWhite);
    t.SetPenColor(kBlack);
    t.FillRect(0, 0, v.W + 1, v.H + 1);
    Zadani1Click(t, v, p, taskType, thickness);
}

}  // namespace vorla
