#include "base/status.h"

#include <gtest/gtest.h>

#include <new>

namespace vorla {
namespace {

TEST(Status, AFailedAllocationIsOutOfMemory) {
    EXPECT_EQ(Guarded([] { throw std::bad_alloc(); }).Message(), kOutOfMemory);
}

}  // namespace
}  // namespace vorla
