#include "pictures/value_grid.h"

#include <algorithm>

namespace vorla {

void ValueGrid::Resize(int W, int H) {
    w_ = std::max(0, W);
    h_ = std::max(0, H);
    base_ = 0;
    cells_.assign(static_cast<std::size_t>(w_ + 1) * static_cast<std::size_t>(h_ + 1), -1);
}

void ValueGrid::ResizeBand(int W, int H, int first, int rows) {
    w_ = std::max(0, W);
    h_ = std::max(0, H);
    base_ = static_cast<long long>(first) * w_;
    cells_.assign(static_cast<std::size_t>(std::max(0, rows) + 1) * w_ + 1, -1);
}

void ValueGrid::Fill(std::int32_t v) {
    std::fill(cells_.begin(), cells_.end(), v);
}

}  // namespace vorla
