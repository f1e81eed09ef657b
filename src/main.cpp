// movrane: the desktop program. This build carries its window-free start only: the report
// export of -expreports, which runs before any window exists and needs no display.
#include <cstdio>
#include <string>
#include <vector>

#include "core/app/CommandLine.h"
#include "core/app/ExportReports.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv, argv + argc);
    const movrane::StartRequest request = movrane::parseCommandLine(args);
    if (request.mode == movrane::StartRequest::Mode::ExportReports) {
        return movrane::runReportExport(request, movrane::currentReportPrefs(), stderr);
    }
    std::fprintf(stderr,
                 "movrane: only -expreports is available in this build\n"
                 "usage: movrane -expreports -fREPLAY -oPREFIX [-mech]\n");
    return 1;
}
