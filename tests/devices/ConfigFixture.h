// Tests that load a configuration text of their own and put the usual
// configuration back afterwards, also when an assertion ends a test early.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "devices/Xmldevice.h"
#include "markup/Xmlnode.h"
#include "support/TreeDump.h"

class ConfigTest : public ::testing::Test {
protected:
    void Load(const std::string& text)
    {
        std::ofstream(Path, std::ios::binary) << text;
        ReleaseConfiguration();
        LoadConfigurationFrom(Path.c_str());
    }

    void TearDown() override
    {
        std::remove(Path.c_str());
        ReleaseConfiguration();
        LoadConfiguration();
    }

    // The page parsed by the tree builder for the device of a user-agent text.
    static std::string ParsedFor(const std::string& page, const char* userAgent)
    {
        CXmlNode root;
        AttachDevice(&root, userAgent);
        root.Parse(page.data(), static_cast<int>(page.size()));
        EXPECT_EQ(CheckLinks(&root), "");
        return DumpTree(&root);
    }

    // The loaded configuration, published until the test ends.
    static const CConfiguration& Config() { return *PublishedConfiguration(); }

    static CDeviceGroup* Group(const char* name)
    {
        for (CDeviceGroup* group : Config().Groups)
            if (EqualNoCase(group->Name, name)) return group;
        return nullptr;
    }

    static CDevice* Device(const char* name)
    {
        for (CDevice* device : Config().Devices)
            if (EqualNoCase(device->Name, name)) return device;
        return nullptr;
    }

    const std::string Path =
        ::testing::TempDir() + "quorrel-config-" + std::to_string(getpid()) + ".cfg";
};
