#include <gtest/gtest.h>

#include "platform/Platform.h"

namespace {

TEST(DosDateTime, PacksKnownStamps)
{
    EXPECT_EQ(PackDosDate(1980, 1, 1), 0x0021);
    EXPECT_EQ(PackDosTime(0, 0, 0), 0x0000);
    EXPECT_EQ(PackDosDate(2026, 12, 9), (46 << 9) | (12 << 5) | 9);
    EXPECT_EQ(PackDosTime(13, 45, 58), (13 << 11) | (45 << 5) | 29);
    // Two-second resolution: an odd second packs like the even one before it.
    EXPECT_EQ(PackDosTime(13, 45, 59), PackDosTime(13, 45, 58));
    EXPECT_EQ(PackDosTime(23, 59, 1), (23 << 11) | (59 << 5));
    EXPECT_EQ(PackDosDate(2107, 12, 31), 0xFF9F);
}

}  // namespace
