#pragma once

class QWidget;

namespace movrane {
class CZodEvadiDoc;
class Ui;
}  // namespace movrane

namespace movrane::gui {

class DialogHost;

// The commands of the replay library: each opens its dialog through the host.
void runLapFinder(CZodEvadiDoc& doc, Ui& ui, DialogHost& host, QWidget* parent);
void arrangeLoadedLaps(CZodEvadiDoc& doc, Ui& ui, DialogHost& host, QWidget* parent);
void runRecordsExport(Ui& ui, DialogHost& host, QWidget* parent);
void runPBViewer(Ui& ui, DialogHost& host, QWidget* parent);
// "OrvRank Handicap": the handicap calculator over player.ini.
void runOrvRankHandicap(Ui& ui, DialogHost& host, QWidget* parent);
void runTrackOrganiser(Ui& ui, DialogHost& host, QWidget* parent);
void runCDDatabaseCreator(Ui& ui, DialogHost& host, QWidget* parent);

}  // namespace movrane::gui
