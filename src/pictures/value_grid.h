// One integer per pixel of the last picture, read back by the mouse read-out.
#pragma once

#include <cstdint>
#include <vector>

namespace vorla {

class ValueGrid {
  public:
    // (W+1)*(H+1) cells, all -1; the cell of pixel (c, r) has the index r*W + c.
    void Resize(int W, int H);
    void Fill(std::int32_t v);
    int Width() const { return w_; }
    int Height() const { return h_; }
    std::size_t Size() const { return cells_.size(); }

    // Writes by index; indices outside the grid are ignored.
    void SetIndex(long long i, std::int32_t v) {
        if (i >= 0 && static_cast<unsigned long long>(i) < cells_.size()) cells_[i] = v;
    }
    void Set(int c, int r, std::int32_t v) { SetIndex(static_cast<long long>(r) * w_ + c, v); }
    // The value of a pixel; -1 for a position outside the grid.
    std::int32_t At(int c, int r) const {
        const long long i = static_cast<long long>(r) * w_ + c;
        if (c < 0 || r < 0 || c > w_ || r > h_ || i >= static_cast<long long>(cells_.size()))
            return -1;
        return cells_[i];
    }
    std::int32_t AtIndex(std::size_t i) const { return i < cells_.size() ? cells_[i] : -1; }
    const std::vector<std::int32_t>& Cells() const { return cells_; }

  private:
    int w_ = 0, h_ = 0;
    std::vector<std::int32_t> cells_;
};

}  // namespace vorla
