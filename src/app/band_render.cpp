#include "app/band_render.h"

#include <algorithm>

#include "pictures/kinds.h"

namespace vorla {

bool ComputesInBands(int tag) {
    return tag != PictureTag::Rectangle;
}

Status RenderBands(Session& s, int width, int height, const BandRender& what, RowSink& sink) {
    if (!ComputesInBands(what.tag)) return Failure{"this picture cannot be computed in bands"};
    const int last = what.last < 0 ? height - 1 : std::min(what.last, height - 1);
    const int step = std::max(1, what.bandRows);
    for (int first = std::max(0, what.first); first <= last; first += step) {
        const int rows = std::min(step, last - first + 1);
        if (Status sized = s.ResizeBand(width, height, first, rows); !sized) return sized;
        s.KresliZaklad();
        if (Status ran = s.ActionClick(what.tag, what.cancel); !ran) return ran;
        if (what.cancel && *what.cancel) return Failure{kCancelled};
        if (what.overlay) s.Zadani1Click();
        if (what.fixedPoints) s.PevneBody1Click();
        const QImage& image = s.tabula().Image();
        const std::int32_t* values = s.grid().Cells().data();
        for (int i = 0; i < rows; ++i) {
            const auto* pixels = reinterpret_cast<const std::uint32_t*>(image.constScanLine(i));
            if (Status put =
                    sink.Row(first + i, pixels, values + static_cast<long long>(i) * width);
                !put)
                return put;
        }
    }
    return {};
}

}  // namespace vorla
