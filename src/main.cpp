// movrane: the desktop program. The report export of -expreports, --help and --version run
// before any window or QApplication exists, so they need no display; every other start opens
// the main window.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/app/CommandLine.h"
#include "core/app/ExportReports.h"
#include "gui/app/CZodEvadiApp.h"
#include "gui/platform/Application.h"

namespace {

// Qt ends the process when its platform cannot start; without a display, say so instead.
bool windowsCanOpen() {
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv, argv + argc);
    const movrane::StartRequest request = movrane::parseCommandLine(args);
    using Mode = movrane::StartRequest::Mode;
    if (request.mode == Mode::ExportReports) {
        return movrane::runReportExport(request, movrane::currentReportPrefs(), stderr);
    }
    if (request.mode == Mode::ShowUsage || request.mode == Mode::ShowVersion) {
        const std::string text = request.mode == Mode::ShowUsage ? movrane::programUsage() : movrane::programVersion();
        std::fputs(text.c_str(), stdout);
        return 0;
    }
    if (!windowsCanOpen()) {
        std::fprintf(stderr,
                     "movrane: no display to open the window on\n"
                     "without a display only the report export runs: movrane -expreports -fREPLAY -oPREFIX [-mech]\n");
        return 1;
    }
    movrane::gui::Application application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Movrane"));
    return movrane::gui::runDesktop(request);
}
