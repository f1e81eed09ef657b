#include "gui/library/LibraryCommands.h"

#include <QComboBox>

#include "core/app/CZodEvadiDoc.h"
#include "core/app/LoadedLapsArranger.h"
#include "core/library/Installation.h"
#include "core/library/Prefs.h"
#include "core/library/RecordsExport.h"
#include "core/platform/Drives.h"
#include "gui/app/DialogHost.h"
#include "gui/library/LapFinderDialog.h"
#include "gui/library/LoadedLapsArrangerDialog.h"
#include "gui/library/PBViewerDialog.h"
#include "gui/library/ReplayCDDatabaseCreatorDialog.h"
#include "gui/library/TrackOrganiserDialog.h"
#include "gui/ranking/RankingDialogs.h"

namespace movrane::gui {

namespace {

std::vector<std::string> playerTexts() {
    std::vector<std::string> texts;
    for (const PlayerEntry& player : Installation(Prefs::get().orvDirectory()).players()) texts.push_back(player.text);
    return texts;
}

void rememberPlayer(int index) {
    if (index >= 0) Prefs::get().setDefaultPlayerIndex(index);
}

}  // namespace

void runLapFinder(CZodEvadiDoc& doc, Ui& ui, DialogHost& host, QWidget* parent) {
    LapFinder finder(LibraryFolders::fromPrefs(), ui);
    const MountTableDrives drives;
    LapFinderDialog dialog(finder, drives, doc.loadedLaps(), doc.loadedLaps() > 0 ? doc.trackName() : "", parent);
    if (host.run(dialog) != QDialog::Accepted) return;
    for (const LapFinder::LapRequest& lap : dialog.accepted())
        doc.commandLineLoad(lap.path, lap.session, lap.driver, lap.lap);
}

void arrangeLoadedLaps(CZodEvadiDoc& doc, Ui& ui, DialogHost& host, QWidget* parent) {
    LoadedLapsArranger arranger(doc, ui);
    LoadedLapsArrangerDialog dialog(arranger, parent);
    if (host.run(dialog) == QDialog::Accepted) arranger.apply(doc);
}

void runRecordsExport(Ui& ui, DialogHost& host, QWidget* parent) {
    RecordsExportDialog dialog(playerTexts(), Prefs::get().defaultPlayerIndex(), parent);
    if (host.run(dialog) != QDialog::Accepted) return;
    const RecordsExportChoice choice = dialog.choice();
    rememberPlayer(choice.playerIndex);
    const Prefs& prefs = Prefs::get();
    exportRecordsSite(LibraryFolders::fromPrefs(), choice, prefs.recordsPath(), prefs.programDirectory(),
                      CalendarDate::today(), ui);
}

void runPBViewer(Ui& ui, DialogHost& host, QWidget* parent) {
    PBViewer viewer(LibraryFolders::fromPrefs(), ui);
    PBViewerDialog dialog(viewer, ui, host, playerTexts(), Prefs::get().defaultPlayerIndex(),
                          Prefs::get().recordsPath(), parent);
    host.run(dialog);
    rememberPlayer(dialog.chosenPlayer());
}

void runOrvRankHandicap(Ui& ui, DialogHost& host, QWidget* parent) {
    OrvRank calculator(Installation(Prefs::get().orvDirectory()), ui);
    OrvRankDialog dialog(calculator, playerTexts(), Prefs::get().defaultPlayerIndex(), parent);
    host.run(dialog);
    rememberPlayer(dialog.players()->currentIndex());
}

void runTrackOrganiser(Ui& ui, DialogHost& host, QWidget* parent) {
    TrackOrganiser organiser(Prefs::get().orvDirectory(), ui);
    TrackOrganiserDialog dialog(organiser, host, parent);
    host.run(dialog);
}

void runCDDatabaseCreator(Ui& ui, DialogHost& host, QWidget* parent) {
    const MountTableDrives drives;
    ReplayCDDatabaseCreator creator(Prefs::get().orvDirectory(), drives, ui);
    ReplayCDDatabaseCreatorDialog dialog(creator, host, parent);
    host.run(dialog);
}

}  // namespace movrane::gui
