// movrane-screenshot INSTALLATION OUTDIR: opens the main window with two laps of the
// installation's sample replays (fitted to the track), the laps and the race playing on the
// map, the lap chooser, a report window just opened, the settings, the groove export
// window, the analysis windows, the replay library's windows (lap finder, loaded laps,
// personal bests, records export, track organizer, CD database creator), the ranking windows
// (login, upload progress, both calculators) and the message
// box of a damaged replay with its details, and writes each as a PNG picture into OUTDIR;
// the race report printed as PDF and the saved track map bitmap go there too. Message
// boxes are not waited for: the one with details is pictured, the others are closed at once.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <string>

#include "core/app/CommandLine.h"
#include "core/app/Commands.h"
#include "core/app/ReportCommands.h"
#include "core/reports/ReportViewer.h"
#include "gui/analysis/GearChangeAnalyserWindow.h"
#include "gui/analysis/RaceWindows.h"
#include "gui/analysis/RatingsWindow.h"
#include "gui/analysis/TractionCircleWindow.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/CZodEvadiApp.h"
#include "gui/app/ChooselapDialog.h"
#include "gui/app/CZodEvadiView.h"
#include "gui/reports/LoadedFileChooserDialog.h"
#include "core/library/Options.h"
#include "core/library/Prefs.h"
#include "core/app/LoadedLapsArranger.h"
#include "core/library/Installation.h"
#include "core/platform/Drives.h"
#include "gui/library/LapFinderDialog.h"
#include "gui/library/LoadedLapsArrangerDialog.h"
#include "gui/library/OptionsDialog.h"
#include "gui/library/PBViewerDialog.h"
#include "gui/library/ReplayCDDatabaseCreatorDialog.h"
#include "gui/library/TrackOrganiserDialog.h"
#include "gui/ranking/RankingDialogs.h"
#include "core/library/RecordsExport.h"
#include "gui/platform/Application.h"
#include "gui/reports/ReportWindow.h"
#include "gui/track/GrooveExportDialog.h"
#include "gui/app/MergeParametersDialog.h"
#include <QAbstractButton>
#include <QMessageBox>
#include "gui/graph/GraphView.h"
#include "gui/graph/SelectGraphsToPrintDialog.h"
#include "gui/graph/TelemetryGraphWindow.h"
#include "gui/graph/TimeDifferenceInfoWindow.h"
#include "gui/graph/TrackmapWindow.h"
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QCheckBox>
#include <QTreeWidget>
#include <fstream>

#include "gui/app/CZodEvadiView.h"
#include "gui/platform/QtUi.h"

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

// The traction circle over one corner with its circles, the ratings and their information,
// the help text, the gear change analyser and the two race pictures.
bool saveAnalysisWindows(movrane::gui::CZodEvadiApp& app, movrane::Ui& ui, const std::string& out,
                         const movrane::ReportReplay& race) {
    auto& doc = app.document();
    movrane::gui::TractionCircleWindow traction(doc, ui, app.dialogs(), std::array<double, 2>{300, 1200}, &app.frame());
    traction.circle().setCircles(true);
    traction.graphRangeBox()->setChecked(true);
    traction.show();
    bool ok = savePicture(traction, out + "/traction-circle.png");
    traction.hide();

    movrane::gui::RatingsWindow ratings(doc, ui, &app.frame());
    ratings.show();
    ok = savePicture(ratings, out + "/ratings.png") && ok;
    ratings.toggleInformation();
    ok = savePicture(ratings, out + "/ratings-information.png") && ok;
    ratings.hide();

    movrane::gui::TractionCircleExplainedWindow help(&app.frame());
    help.show();
    ok = savePicture(help, out + "/traction-circle-explained.png") && ok;
    help.hide();

    movrane::gui::GearChangeAnalyserWindow gears(doc, &app.frame());
    gears.show();
    ok = savePicture(gears, out + "/gear-change-analyser.png") && ok;
    gears.hide();

    const auto input = movrane::RaceInput::of(race.header, race.drivers);
    movrane::gui::RaceHistoryGraphWindow graph(input, ui, doc.replayFolder(), &app.frame());
    graph.show();
    ok = savePicture(graph, out + "/race-history-graph.png") && ok;
    graph.hide();

    movrane::gui::GraphicalRaceReportWindow report(input, ui, doc.replayFolder(), &app.frame());
    report.show();
    ok = savePicture(report, out + "/graphical-race-report.png") && ok;
    return ok;
}

// A drive with a disc, so the creator shows what it offers.
class SampleDrives : public movrane::DriveList {
public:
    std::vector<movrane::DriveInfo> removableDrives() const override {
        return {{"/media/cdrom", "ORV_REPLAYS [iso9660]"}, {"/dev/sr1", ""}};
    }
};

template <class Dialog>
bool picture(Dialog& dialog, const std::string& path) {
    dialog.show();
    const bool saved = savePicture(dialog, path);
    dialog.hide();
    return saved;
}

// The login, an upload's progress (to a port where no service listens), and both
// calculators over the sample player's bests.
bool saveRankingWindows(movrane::gui::CZodEvadiApp& app, movrane::Ui& ui, const std::string& installation,
                        const movrane::RecordsTable& table, const std::vector<std::string>& players,
                        const std::string& out) {
    movrane::orvranklogin login;
    login.user = "ann";
    movrane::gui::orvrankloginDialog loginDialog(login, &app.frame());
    bool ok = picture(loginDialog, out + "/orvrank-login.png");

    const std::string uploadFile = out + "/OrvLapTimes.ini";
    movrane::writeLapTimesFile(uploadFile, table);
    movrane::OrvRankUploadProgress progress({"127.0.0.1:9", uploadFile,
                                             movrane::credentialsToken("ann", "secret"), "ann", "secret", 5},
                                            ui);
    movrane::gui::OrvRankUploadProgressDialog progressDialog(progress, &app.frame());
    ok = picture(progressDialog, out + "/orvrank-upload-progress.png") && ok;

    const movrane::NewOrvRankCalculator calculator(table);
    movrane::gui::NewOrvRankCalculatorDialog calculatorDialog(calculator, &app.frame());
    ok = picture(calculatorDialog, out + "/orvrank-calculator.png") && ok;

    movrane::OrvRank handicap(movrane::Installation(installation), ui);
    movrane::gui::OrvRankDialog handicapDialog(handicap, players, 0, &app.frame());
    handicapDialog.calculate();
    return picture(handicapDialog, out + "/orvrank-handicap.png") && ok;
}

bool saveLibraryWindows(movrane::gui::CZodEvadiApp& app, movrane::Ui& ui, const std::string& installation,
                        const std::string& out) {
    movrane::LibraryFolders folders{installation, {}, false, {}};
    movrane::LapFinder finder(folders, ui);
    const SampleDrives drives;
    movrane::gui::LapFinderDialog finderDialog(finder, drives, 2, "harbour", &app.frame());
    finderDialog.list()->topLevelItem(0)->setSelected(true);
    bool ok = picture(finderDialog, out + "/lap-finder.png");

    movrane::LoadedLapsArranger arranger(app.document(), ui);
    movrane::gui::LoadedLapsArrangerDialog arrangerDialog(arranger, &app.frame());
    ok = picture(arrangerDialog, out + "/loaded-laps.png") && ok;

    std::vector<std::string> players;
    for (const auto& player : movrane::Installation(installation).players()) players.push_back(player.text);
    movrane::PBViewer viewer(folders, ui);
    viewer.refresh(0);
    movrane::gui::DialogHost host;
    movrane::gui::PBViewerDialog viewerDialog(viewer, ui, host, players, 0, out, &app.frame());
    ok = picture(viewerDialog, out + "/pb-viewer.png") && ok;
    ok = saveRankingWindows(app, ui, installation, *viewer.table(), players, out) && ok;

    movrane::gui::RecordsExportDialog recordsDialog(players, 0, &app.frame());
    ok = picture(recordsDialog, out + "/records-export.png") && ok;

    movrane::TrackOrganiser organiser(installation, ui);
    movrane::gui::TrackOrganiserDialog organiserDialog(organiser, host, &app.frame());
    ok = picture(organiserDialog, out + "/track-organizer.png") && ok;
    movrane::gui::EditTrackPropDialog editDialog(organiser.rows().at(0), &app.frame());
    ok = picture(editDialog, out + "/edit-track.png") && ok;

    movrane::ReplayCDDatabaseCreator creator(installation, drives, ui);
    movrane::gui::ReplayCDDatabaseCreatorDialog creatorDialog(creator, host, &app.frame());
    return picture(creatorDialog, out + "/cd-database-creator.png") && ok;
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
    movrane::gui::Application application(argc, argv);
    const std::string replays = std::string(argv[1]) + "/replay/";
    const std::string out = argv[2];
    const std::string hotlap = replays + "sample_hotlap.rpy";
    const std::string race = replays + "sample_race.rpy";

    movrane::gui::QtUi ui;
    bool ok = true;
    ui.setMessageBoxRunner([&ok, &out](QMessageBox& box) {
        std::fprintf(stderr, "message: %s\n", box.text().toLatin1().constData());
        if (box.detailedText().isEmpty()) return int(QMessageBox::Ok);
        box.show();
        for (QAbstractButton* button : box.buttons())
            if (box.buttonRole(button) == QMessageBox::ActionRole) button->click();
        ok = savePicture(box, out + "/message-details.png") && ok;
        return int(QMessageBox::Ok);
    });
    movrane::gui::CZodEvadiApp app(ui);
    ui.setParent(&app.frame());
    app.start(movrane::parseCommandLine({"movrane", "-loadrpy", "-c2", "-f" + hotlap, "-s0", "-d0", "-l2",
                                         "-f" + race, "-s1", "-d1", "-l4"}));
    app.frame().runCommand(movrane::CommandId::ZoomIn);
    app.frame().runCommand(movrane::CommandId::FitToTrack);
    ok = savePicture(app.frame(), out + "/main-window.png") && ok;
    ok = app.frame().view()->mapImage(768).save(QString::fromStdString(out + "/trackmap.bmp"), "BMP") && ok;

    const std::string damaged = out + "/damaged.rpy";
    std::ofstream(damaged) << "not a replay at all";
    app.frame().openReplay(damaged);

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
    ok = savePicture(report, out + "/report-window.png") && ok;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(out + "/race-report.pdf"));
    report.printTo(printer);
    report.hide();

    // A deferred kind: the speed report of the loaded laps, generated at the first focus.
    if (auto speed = movrane::openReportViewer(ui, app.dialogs(), app.document(), movrane::ReportKind::Speed)) {
        movrane::gui::ReportWindow speedReport(std::move(speed), ui, &app.frame());
        speedReport.show();
        speedReport.viewer().focusGained(ui);
        ok = savePicture(speedReport, out + "/speed-report.png") && ok;
        speedReport.hide();
    }

    movrane::Options options(movrane::Prefs::get(), ui);
    movrane::gui::OptionsDialog settings(options, &app.frame());
    settings.show();
    ok = savePicture(settings, out + "/settings.png") && ok;
    settings.hide();

    movrane::gui::GrooveExportDialog groove(movrane::GrooveSettings{}, &app.frame());
    groove.show();
    ok = savePicture(groove, out + "/groove-export.png") && ok;
    groove.hide();

    movrane::MergeParameters mergeParameters(app.document());
    movrane::gui::MergeParametersDialog merge(mergeParameters, &ui, &app.frame());
    ok = picture(merge, out + "/merge-parameters.png") && ok;

    ok = saveAnalysisWindows(app, ui, out, *readReplay(race)) && ok;
    ok = saveLibraryWindows(app, ui, argv[1], out) && ok;
    ok = saveGraphPictures(app.frame(), out) && ok;
    return ok ? 0 : 3;
    return saveGraphPictures(app.frame(), out) && ok ? 0 : 3;
}
