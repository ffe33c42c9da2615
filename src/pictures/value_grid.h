// One integer per pixel of the last picture, read back by the mouse read-out.
#pragma once

#include <cstdint>
#include <vector>

namespace vorla {

class ValueGrid {
  public:
    // (W+1)*(H+1) cells, all -1; the cell of pixel (c, r) has the index r*W + c.
    void Resize(int W, int H);
    // Holds only the cells of rows first..first+rows-1 of a W x H picture (and the one after
    // the band's last pixel), all -1; indices stay those of the whole grid.
    void ResizeBand(int W, int H, int first, int rows);
    void Fill(std::int32_t v);
    int Width() const { return w_; }
    int Height() const { return h_; }
    std::size_t Size() const { return cells_.size(); }

    // Writes by index; indices outside the grid (or the band) are ignored.
    void SetIndex(long long i, std::int32_t v) {
        i -= base_;
        if (i >= 0 && static_cast<unsigned long long>(i) < cells_.size()) cells_[i] = v;
    }
    void Set(int c, int r, std::int32_t v) { SetIndex(static_cast<long long>(r) * w_ + c, v); }
    // The value of a pixel; -1 for a position outside the grid.
    std::int32_t At(int c, int r) const {
        const long long i = static_cast<long long>(r) * w_ + c - base_;
        if (c < 0 || r < 0 || c > w_ || r > h_ || i < 0 ||
            i >= static_cast<long long>(cells_.size()))
            return -1;
        return cells_[i];
    }
    std::int32_t AtIndex(std::size_t i) const {
        const long long j = static_cast<long long>(i) - base_;
        return j >= 0 && j < static_cast<long long>(cells_.size()) ? cells_[j] : -1;
    }
    // The cells held, from the first of the grid (or of the band).
    const std::vector<std::int32_t>& Cells() const { return cells_; }

  private:
    int w_ = 0, h_ = 0;
    long long base_ = 0;  // the index of the first cell held
    std::vector<std::int32_t> cells_;
};

}  // namespace vorla
