#include <gtest/gtest.h>

#include "core/app/WindowState.h"
#include "support/ConfigSandbox.h"

using movrane::WindowState;

TEST(WindowState, KeptInTheSettingsStoreBetweenRuns) {
    testsupport::ConfigSandbox sandbox;
    {
        WindowState first;
        EXPECT_TRUE(first.mainWindowGeometry().empty());
        EXPECT_FALSE(first.reportWindowSize());
        first.saveMainWindow(std::string("\x01\x00\xff geometry", 12), "docks");
        first.saveReportWindowSize({1000, 700});
    }
    WindowState next;
    EXPECT_EQ(next.mainWindowGeometry(), std::string("\x01\x00\xff geometry", 12));
    EXPECT_EQ(next.mainWindowLayout(), "docks");
    ASSERT_TRUE(next.reportWindowSize());
    EXPECT_EQ(next.reportWindowSize()->width, 1000);
    EXPECT_EQ(next.reportWindowSize()->height, 700);

    for (const movrane::WindowSize wrong : {movrane::WindowSize{0, 700}, movrane::WindowSize{1000, 100000}}) {
        next.saveReportWindowSize(wrong);
        EXPECT_FALSE(next.reportWindowSize()) << wrong.width << "x" << wrong.height;
    }
}
