#include <gtest/gtest.h>

#include <stdexcept>

#include "core/platform/SilentUi.h"
#include "support/ScriptedUi.h"

namespace {

using movrane::Ui;
using testsupport::ScriptedUi;

TEST(Ui, GuardsEndWhatTheyBeganAlsoOnAnException) {
    ScriptedUi ui;
    try {
        movrane::WaitCursor cursor(ui);
        movrane::WaitWindow window(ui, "Please wait while scanning replays...");
        movrane::Progress bar(ui, 10);
        bar.set(3);
        EXPECT_EQ(ui.waitCursorDepth + ui.waitWindowDepth + ui.progressDepth, 3);
        throw std::runtime_error("scan failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(ui.waitCursorDepth, 0);
    EXPECT_EQ(ui.waitWindowDepth, 0);
    EXPECT_EQ(ui.progressDepth, 0);
    EXPECT_EQ(ui.waitWindows, std::vector<std::string>{"Please wait while scanning replays..."});
    EXPECT_EQ(ui.progress, (std::vector<int>{10, 3}));
    // The silent Ui gives the safe answers.
    movrane::SilentUi silent(nullptr);
    EXPECT_FALSE(silent.askYesNo("Overwrite?", ""));
    EXPECT_EQ(silent.askYesNoCancel("Save?", ""), Ui::Answer::Cancel);
    EXPECT_EQ(silent.chooseFolder("Folder", ""), std::nullopt);
    EXPECT_FALSE(silent.openWithDefaultHandler("index.html"));
}

}  // namespace
