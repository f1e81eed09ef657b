// movrane-screenshot INSTALLATION OUTDIR: opens the main window with two laps of the
// installation's sample replays, the lap chooser, a report window, the settings and the
// groove export window, and writes each as a PNG picture into OUTDIR. Messages go to stderr instead of message boxes.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <string>

#include "core/app/CommandLine.h"
#include "core/platform/SilentUi.h"
#include "core/reports/ReportViewer.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/CZodEvadiApp.h"
#include "gui/app/ChooselapDialog.h"
#include "core/library/Options.h"
#include "core/library/Prefs.h"
#include "gui/library/OptionsDialog.h"
#include "gui/reports/ReportWindow.h"
#include "gui/track/GrooveExportDialog.h"
#include "gui/graph/GraphView.h"
#include "gui/graph/SelectGraphsToPrintDialog.h"
#include "gui/graph/TelemetryGraphWindow.h"
#include "gui/graph/TimeDifferenceInfoWindow.h"
#include "gui/graph/TrackmapWindow.h"
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QTreeWidget>

namespace {

void settle() {
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
}

bool savePicture(QWidget& widget, const std::string& path) {
    settle();
    const bool saved = widget.grab().save(QString::fromStdString(path), "PNG");
    std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "wrote" : "could not write", path.c_str());
    return saved;
}

std::unique_ptr<movrane::ReportReplay> readReplay(const std::string& path) {
    auto replay = std::make_unique<movrane::ReportReplay>();
    replay->path = path;
    if (replay->header.load(path) != movrane::Header::OK || replay->drivers.load(path) != movrane::Drivers::OK)
        return nullptr;
    return replay;
}

// The graph window with both laps and their time difference, its info window, the
// trackmap with the stretch under a mouse position, and the print choice.
bool saveGraphPictures(movrane::gui::CMainFrame& frame, const std::string& out) {
    frame.runCommand(movrane::CommandId::Graph);
    movrane::gui::TelemetryGraphWindow& window = *frame.graphWindow();
    window.timeDifferenceBox()->click();
    window.showMap();
    settle();
    window.graph().mouseAt(1200, 180);
    window.infoWindow()->show(window.graph().info());
    window.trackmapWindow()->setColouring(movrane::TelemetryGraph::MapColouring::Channel);
    window.trackmapWindow()->showDistance(1200);
    bool ok = savePicture(window, out + "/telemetry-graph.png");
    ok = savePicture(*window.infoWindow(), out + "/time-difference-info.png") && ok;
    ok = savePicture(*window.trackmapWindow(), out + "/trackmap.png") && ok;
    movrane::SelectGraphsToPrint selection(window.graph().channel());
    for (int channel : {3, 5, 9}) selection.setChosen(channel, true);
    movrane::gui::SelectGraphsToPrintDialog print(selection, &window);
    print.show();
    ok = savePicture(print, out + "/select-graphs-to-print.png") && ok;
    print.hide();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: movrane-screenshot INSTALLATION OUTDIR\n");
        return 1;
    }
    QApplication application(argc, argv);
    const std::string replays = std::string(argv[1]) + "/replay/";
    const std::string out = argv[2];
    const std::string hotlap = replays + "sample_hotlap.rpy";
    const std::string race = replays + "sample_race.rpy";

    movrane::SilentUi ui;
    movrane::gui::CZodEvadiApp app(ui);
    app.start(movrane::parseCommandLine({"movrane", "-loadrpy", "-c2", "-f" + hotlap, "-s0", "-d0", "-l2",
                                         "-f" + race, "-s1", "-d1", "-l4"}));
    bool ok = savePicture(app.frame(), out + "/main-window.png");

    auto chooserReplay = readReplay(race);
    auto reportReplay = readReplay(race);
    if (!chooserReplay || !reportReplay) {
        std::fprintf(stderr, "cannot read %s\n", race.c_str());
        return 2;
    }
    movrane::Chooselap chooser(chooserReplay->header, chooserReplay->drivers);
    movrane::gui::ChooselapDialog chooserDialog(chooser, &ui, &app.frame());
    chooserDialog.tree()->expandAll();
    chooserDialog.selectLap(1, movrane::RACE, 4);
    chooserDialog.show();
    ok = savePicture(chooserDialog, out + "/lap-chooser.png") && ok;
    chooserDialog.hide();

    auto viewer = std::make_unique<movrane::ReportViewer>(std::move(reportReplay), movrane::ReportKind::Race);
    movrane::gui::ReportWindow report(std::move(viewer), ui, &app.frame());
    report.show();
    report.textView()->moveCursor(QTextCursor::Start);
    ok = savePicture(report, out + "/report-window.png") && ok;
    report.hide();

    movrane::Options options(movrane::Prefs::get(), ui);
    movrane::gui::OptionsDialog settings(options, &app.frame());
    settings.show();
    ok = savePicture(settings, out + "/settings.png") && ok;
    settings.hide();

    movrane::gui::GrooveExportDialog groove(movrane::GrooveSettings{}, &app.frame());
    groove.show();
    ok = savePicture(groove, out + "/groove-export.png") && ok;
    groove.hide();
    return saveGraphPictures(app.frame(), out) && ok ? 0 : 3;
}
