#include "pictures/row_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace vorla {
namespace {

TEST(RowPool, EveryRowOnceBeforeRunReturns) {
    for (int threads : {3, 1, 4, 2}) {
        RowPool pool(threads);
        EXPECT_EQ(pool.Threads(), threads);
        for (int batch = 0; batch < 300; ++batch) {
            std::vector<std::atomic<int>> hits(1 + batch % 40);
            pool.Run(0, static_cast<int>(hits.size()) - 1, [&](int r) { ++hits[r]; });
            for (const auto& h : hits) ASSERT_EQ(h.load(), 1) << threads << " " << batch;
        }
    }
}

}  // namespace
}  // namespace vorla
