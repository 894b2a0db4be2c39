#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "platform/BlockPool.h"

namespace {

// Fills a block with a pattern of its own, so any overlap between blocks shows.
void Fill(char* block, size_t size, size_t owner)
{
    for (size_t i = 0; i < size; ++i) block[i] = static_cast<char>((owner * 31 + i) & 0xff);
}

bool Intact(const char* block, size_t size, size_t owner)
{
    for (size_t i = 0; i < size; ++i)
        if (block[i] != static_cast<char>((owner * 31 + i) & 0xff)) return false;
    return true;
}

// Blocks are distinct, aligned and whole, also when returned blocks and new
// slabs are handed out in turn, and after the pool gave everything back.
TEST(BlockPool, BlocksNeverOverlap)
{
    CBlockPool<24> pool;
    for (int cycle = 0; cycle < 2; ++cycle) {
        std::vector<char*> blocks;
        for (size_t i = 0; i < 5000; ++i) {
            blocks.push_back(static_cast<char*>(pool.Allocate()));
            if (i % 3 == 2) {
                pool.Release(blocks[i - 1]);
                blocks[i - 1] = static_cast<char*>(pool.Allocate());
            }
        }
        std::set<char*> distinct(blocks.begin(), blocks.end());
        EXPECT_EQ(distinct.size(), blocks.size());
        for (size_t i = 0; i < blocks.size(); ++i) {
            EXPECT_EQ(reinterpret_cast<uintptr_t>(blocks[i]) % alignof(void*), 0u);
            Fill(blocks[i], 24, i);
        }
        for (size_t i = 0; i < blocks.size(); ++i) ASSERT_TRUE(Intact(blocks[i], 24, i)) << i;
        for (char* block : blocks) pool.Release(block);
    }
}

// Every size, pooled or not, gets a block of its whole capacity, and a block
// goes back to the pool it came from. The sizes come in a scattered order, so
// the rests of slabs that went to smaller sizes are handed out too.
TEST(BlockPool, RecordBlocksOfEverySize)
{
    for (int cycle = 0; cycle < 2; ++cycle) {
        std::vector<std::pair<char*, size_t>> blocks;
        for (size_t i = 0; i < 900; ++i) {
            const size_t size = 1 + i * 97 % 300;
            EXPECT_GE(RecordBlockCapacity(size), size);
            blocks.emplace_back(AllocateRecordBlock(size), size);
        }
        // Returned blocks, large ones among them, are cut up for the sizes
        // asked for next.
        for (size_t i = 0; i < blocks.size(); i += 3) {
            ReleaseRecordBlock(blocks[i].first, blocks[i].second);
            const size_t size = 1 + i * 31 % 120;
            blocks[i] = {AllocateRecordBlock(size), size};
        }
        for (size_t i = 0; i < blocks.size(); ++i)
            Fill(blocks[i].first, RecordBlockCapacity(blocks[i].second), i);
        for (size_t i = 0; i < blocks.size(); ++i)
            ASSERT_TRUE(Intact(blocks[i].first, RecordBlockCapacity(blocks[i].second), i))
                << blocks[i].second;
        for (auto& [block, size] : blocks) ReleaseRecordBlock(block, size);
    }
}

}  // namespace
