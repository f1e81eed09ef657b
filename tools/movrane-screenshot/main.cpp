// movrane-screenshot INSTALLATION OUTDIR: opens the main window with two laps of the
// installation's sample replays, the lap chooser, a report window, the settings, the
// groove export window and the replay library's windows (lap finder, loaded laps,
// personal bests, records export, track organizer, CD database creator), and writes
// each as a PNG picture into OUTDIR. Messages go to stderr instead of message boxes.
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
#include "core/app/LoadedLapsArranger.h"
#include "core/library/Installation.h"
#include "core/platform/Drives.h"
#include "gui/library/LapFinderDialog.h"
#include "gui/library/LoadedLapsArrangerDialog.h"
#include "gui/library/OptionsDialog.h"
#include "gui/library/PBViewerDialog.h"
#include "gui/library/ReplayCDDatabaseCreatorDialog.h"
#include "gui/library/TrackOrganiserDialog.h"
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

bool saveLibraryWindows(movrane::gui::CZodEvadiApp& app, movrane::Ui& ui, const std::string& installation,
                        const std::string& out) {
    movrane::LibraryFolders folders{installation, {}, false};
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
    movrane::gui::PBViewerDialog viewerDialog(viewer, players, 0, out, &app.frame());
    ok = picture(viewerDialog, out + "/pb-viewer.png") && ok;

    movrane::gui::RecordsExportDialog recordsDialog(players, 0, &app.frame());
    ok = picture(recordsDialog, out + "/records-export.png") && ok;

    movrane::gui::DialogHost host;
    movrane::TrackOrganiser organiser(installation, ui);
    movrane::gui::TrackOrganiserDialog organiserDialog(organiser, host, &app.frame());
    ok = picture(organiserDialog, out + "/track-organizer.png") && ok;
    movrane::gui::EditTrackPropDialog editDialog(organiser.rows().at(0), &app.frame());
    ok = picture(editDialog, out + "/edit-track.png") && ok;

    movrane::ReplayCDDatabaseCreator creator(installation, drives, ui);
    movrane::gui::ReplayCDDatabaseCreatorDialog creatorDialog(creator, host, &app.frame());
    return picture(creatorDialog, out + "/cd-database-creator.png") && ok;
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

    ok = saveLibraryWindows(app, ui, argv[1], out) && ok;
    return ok ? 0 : 3;
}
