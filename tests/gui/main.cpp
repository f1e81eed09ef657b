// The GUI tests run without a screen: Qt's offscreen platform unless told otherwise.
#include <gtest/gtest.h>

#include "gui/platform/Application.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    movrane::gui::Application application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
