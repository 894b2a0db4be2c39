#include <gtest/gtest.h>

#include "devices/Xmldevice.h"

// The tests link the library statically, without its load handler, so the
// configuration is loaded here as process attach would.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    LoadConfiguration();
    int result = RUN_ALL_TESTS();
    ReleaseConfiguration();
    return result;
}
