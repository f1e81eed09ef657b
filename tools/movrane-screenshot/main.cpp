// movrane-screenshot INSTALLATION OUTDIR: opens the main window with two laps of the
// installation's sample replays, the laps and the race playing on the map, the lap chooser, a report window, the settings and the
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
#include "gui/app/CZodEvadiView.h"
#include "gui/reports/LoadedFileChooserDialog.h"
#include "core/library/Options.h"
#include "core/library/Prefs.h"
#include "gui/library/OptionsDialog.h"
#include "gui/reports/ReportWindow.h"
#include "gui/track/GrooveExportDialog.h"
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

    // The laps playing: lines grown to half a minute, readouts in the lap bar.
    movrane::gui::CMainFrame& frame = app.frame();
    frame.runCommand(movrane::CommandId::PlaybackStart);
    for (int tick = 0; tick < 540; ++tick) frame.playbackTick();
    frame.runCommand(movrane::CommandId::PlaybackPause);
    ok = savePicture(frame, out + "/lap-playback.png") && ok;
    frame.runCommand(movrane::CommandId::PlaybackStop);

    // The race replayed with every car: the race file is chosen in the one-file chooser.
    app.dialogs().setRunner([](QDialog& dialog) {
        if (auto* chooser = qobject_cast<movrane::gui::LoadedFileChooserDialog*>(&dialog)) chooser->choose(1);
        return static_cast<int>(QDialog::Accepted);
    });
    frame.runCommand(movrane::CommandId::PlaybackRaceMode);
    frame.raceReplay().chooseDriver(3);
    frame.raceReplay().carDrawing = movrane::CarDrawing::Oversized;
    frame.runCommand(movrane::CommandId::PlaybackStart);
    for (int tick = 0; tick < 2000; ++tick) frame.playbackTick();
    frame.runCommand(movrane::CommandId::PlaybackPause);
    frame.view()->zoomIn();
    frame.view()->zoomIn();
    frame.view()->zoomIn();
    frame.playback().moveToFrame(static_cast<int>(frame.raceReplay().frame()));
    ok = savePicture(frame, out + "/race-playback.png") && ok;
    frame.runCommand(movrane::CommandId::PlaybackRaceMode);

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
    return ok ? 0 : 3;
}
