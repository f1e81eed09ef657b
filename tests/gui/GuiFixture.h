#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <QImage>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/app/CommandLine.h"
#include "gui/app/CZodEvadiApp.h"
#include "support/ConfigSandbox.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace guitest {

// Answers the modal dialogs the program opens: each handler gets the dialog and gives
// its result; a dialog no handler is left for fails the test and is rejected.
class DialogScript {
public:
    using Handler = std::function<int(QDialog&)>;
    void expect(Handler handler) { handlers_.push_back(std::move(handler)); }
    int run(QDialog& dialog);
    bool allUsed() const { return handlers_.empty(); }
    QStringList titles;  // of every dialog run

private:
    std::vector<Handler> handlers_;
};

// The desktop program on a throw-away configuration and an installation in a fresh
// folder: the sample installation, or one that holds nothing but orv.exe.
struct Program {
    enum class Installation { Sample, Bare };

    testsupport::ConfigSandbox sandbox;
    testsupport::TempDir dir;
    testsupport::ScriptedUi ui;
    DialogScript dialogs;
    std::unique_ptr<movrane::gui::CZodEvadiApp> app;

    explicit Program(Installation installation = Installation::Sample);
    ~Program();

    std::string replay(const std::string& name) const { return dir.file("replay/" + name); }
    // Starts as the command line asks (argument 0 is added).
    void start(std::vector<std::string> args = {});
    // -loadrpy with lap 2 of the hot-lap replay's driver and lap 4 of driver 1 of the race.
    void startWithTwoLaps();
    std::vector<std::string> messageTexts() const { return ui.messageTexts(); }
};

// The program started with the two laps of startWithTwoLaps().
struct TwoLaps : Program {
    TwoLaps() { startWithTwoLaps(); }
};

// The dialog as the window class a test expects; a failure when it is another.
template <typename Window>
Window* dialogAs(QDialog& dialog) {
    auto* window = qobject_cast<Window*>(&dialog);
    EXPECT_NE(window, nullptr) << dialog.windowTitle().toStdString();
    return window;
}

// Answers the "one file" chooser with the second loaded lap's replay (the race).
int chooseRaceFile(QDialog& dialog);
// Lets queued events run, so windows are laid out and painted.
void settle();
// The number of pixels of exactly this colour.
int countPixels(const QImage& image, QRgb colour);

}  // namespace guitest
