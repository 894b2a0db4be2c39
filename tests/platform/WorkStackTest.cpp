#include <gtest/gtest.h>

#include <vector>

#include "platform/WorkStack.h"

namespace {

struct CPair {
    int First;
    long long Second;
};

// The stack against a vector as the model, through a walk that goes deep
// across many chunk edges, climbs back over them and descends again, so the
// kept chunks are reused; items in lower chunks must stay where they were.
TEST(WorkStack, KeepsLastInFirstOutAcrossChunkEdges)
{
    CWorkStack<CPair> stack;
    std::vector<CPair> model;
    EXPECT_TRUE(stack.empty());
    int next = 0;
    const int depths[] = {1, 0, 9, 3, 200, 7, 1000, 0, 1000};
    for (int depth : depths) {
        while (static_cast<int>(model.size()) < depth) {
            stack.push_back({next, -next});
            model.push_back({next, -next});
            ++next;
        }
        while (static_cast<int>(model.size()) > depth) {
            ASSERT_EQ(stack.back().First, model.back().First);
            ASSERT_EQ(stack.back().Second, model.back().Second);
            stack.pop_back();
            model.pop_back();
        }
        ASSERT_EQ(stack.empty(), model.empty());
        if (!model.empty()) {
            ASSERT_EQ(stack.back().First, model.back().First);
        }
    }
}

// The top item can be changed in place, as the sweeps do with their frames.
TEST(WorkStack, BackIsTheTopItemInPlace)
{
    CWorkStack<CPair> stack;
    for (int i = 0; i < 20; ++i) stack.push_back({i, 0});
    stack.back().Second = 42;
    stack.push_back({99, 0});
    stack.pop_back();
    EXPECT_EQ(stack.back().First, 19);
    EXPECT_EQ(stack.back().Second, 42);
}

}  // namespace
