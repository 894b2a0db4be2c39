#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "devices/Xmldevice.h"
#include "markup/Xmlnode.h"

namespace {

TEST(WorkingVariables, ResetClearsCountersAndTitleOnly)
{
    CXmlNode root;
    CWorkingVariables& state = *PrepareDocumentState(&root);
    state.Reset();
    EXPECT_EQ(state.CardCount + state.FormCount + state.TableDepth, 0);
    EXPECT_EQ(state.Title, nullptr);
    // Regions are made by the first marker comment.
    EXPECT_EQ(state.PreProcessControl, nullptr);
    state.PreProcessControl = std::make_shared<CPrePocessControl>();
    EXPECT_EQ(state.PreProcessControl->Markers, nullptr);

    const std::string marker = "<!-- DINCL DEVICE=\"x\" -->";
    CXmlObject record;
    record.SetText(marker.data(), static_cast<int>(marker.size()));
    state.PreProcessControl->OnMarker(&record, BuiltInMarkerWords);
    CPrePocessControl* regions = state.PreProcessControl.get();
    ASSERT_NE(regions->Markers, nullptr);
    const CDevice* device = PublishedConfiguration()->DefaultDevice;
    state.Device = device;
    state.CardCount = 3;
    state.FormCount = 2;
    state.TableDepth = 1;
    state.SetTitle("Hi");
    EXPECT_STREQ(state.Title, "Hi");

    state.Reset();
    EXPECT_EQ(state.CardCount + state.FormCount + state.TableDepth, 0);
    EXPECT_EQ(state.Title, nullptr);
    EXPECT_EQ(state.PreProcessControl.get(), regions);
    EXPECT_NE(regions->Markers, nullptr);
    EXPECT_EQ(state.Device, device);
    // Destroyed with an open region and a title: the sanitizers check the release.
    state.SetTitle("again");
}

}  // namespace
