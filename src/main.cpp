// movrane: the desktop program. The report export of -expreports runs before any window
// or QApplication exists, so it needs no display; every other start opens the main window.
#include <QApplication>
#include <string>
#include <vector>

#include "core/app/CommandLine.h"
#include "core/app/ExportReports.h"
#include "gui/app/CZodEvadiApp.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv, argv + argc);
    const movrane::StartRequest request = movrane::parseCommandLine(args);
    if (request.mode == movrane::StartRequest::Mode::ExportReports) {
        return movrane::runReportExport(request, movrane::currentReportPrefs(), stderr);
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Movrane"));
    return movrane::gui::runDesktop(request);
}
