#pragma once

#include <QMainWindow>
#include <map>

#include "core/app/Commands.h"
#include "core/app/LapBar.h"
#include "core/app/Playback.h"
#include "core/app/RaceReplay.h"
#include "core/app/RecentFileList.h"
#include "core/app/WindowState.h"
#include "gui/app/DialogHost.h"

class QAction;
class QDockWidget;
class QMenu;
class QTimer;
class QToolBar;

namespace movrane::gui {

class CZodEvadiView;
class LapBarWindow;
class RaceReplayWindow;
class TelemetryGraphWindow;

// The main window: menus, toolbar and status bar over the command table, the map view,
// the lap bar, the race bar and the playback clock, the recent-file list and replays
// dropped on the window.
class CMainFrame : public QMainWindow, private PlaybackDisplay {
    Q_OBJECT
public:
    CMainFrame(CZodEvadiDoc& doc, Ui& ui, DialogHost& dialogs, RecentFileList& recentFiles,
               std::string programDirectory);

    QAction* action(CommandId id) const { return actions_.at(id); }
    void runCommand(CommandId id);
    CZodEvadiView* view() const { return view_; }
    LapBarWindow* lapBarWindow() const { return lapBarWindow_; }
    QDockWidget* lapBarDock() const { return lapBarDock_; }
    RaceReplayWindow* raceReplayWindow() const { return raceWindow_; }
    QDockWidget* raceBarDock() const { return raceDock_; }
    Playback& playback() { return playback_; }
    RaceReplay& raceReplay() { return race_; }
    // One tick of the 55 ms playback clock.
    void playbackTick();
    QMenu* recentFilesMenu() const { return fileMenu_; }
    // The "Telemetry Graph" window, once "&Graph" has opened it.
    TelemetryGraphWindow* graphWindow() const { return graphWindow_; }

    // A replay opened from the desktop, a drop or the recent-file list.
    void openReplay(const std::string& path);
    // Redraws the map and the lap bar after the document changed.
    void documentChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void restoreWindowState();
    void fitLapBarToLabels();
    void keepLapBarWidth(int widthBeforeRefresh);
    void buildMenus();
    void buildToolBar();
    QMenu* menuFor(const CommandInfo& info, std::map<std::string, QMenu*>& menus);
    void fillRecentFiles();
    QToolBar* addBar(const QString& title, const QString& name, CommandId shownCommand);
    void addLap();
    void loaded(CZodEvadiDoc::LoadResult result);
    void openReport(ReportKind kind);
    void openAnalysis(CommandId id);
    void openRacePicture(CommandId id);
    void editSettings();
    void showAbout();
    void saveTrackmap();
    void runPlaybackCommand(CommandId id);
    void showPlaybackState();
    void updatePlaybackMenu();

    void startClock() override;
    void stopClock() override;
    void centreOn(double distance, double lateral) override;
    void keepInView(double distance, double lateral) override;
    void redraw() override;
    void showRaceBar(bool shown) override;
    void openGraph();

    CZodEvadiDoc& doc_;
    Ui& ui_;
    DialogHost& dialogs_;
    RecentFileList& recentFiles_;
    std::string programDirectory_;
    LapBar lapBar_;
    WindowState windowState_;
    RaceReplay race_;
    CZodEvadiView* view_;
    LapBarWindow* lapBarWindow_;
    QDockWidget* lapBarDock_;
    RaceReplayWindow* raceWindow_;
    QDockWidget* raceDock_;
    QTimer* playbackClock_;
    Playback playback_;
    TelemetryGraphWindow* graphWindow_ = nullptr;
    std::map<CommandId, QToolBar*> barsShownBy_;  // the toolbars the View menu shows and hides
    QMenu* fileMenu_ = nullptr;
    QAction* exitSeparator_ = nullptr;
    std::vector<QAction*> recentActions_;
    std::map<CommandId, QAction*> actions_;
    bool lapBarPlaying_ = false;
    int lapBarWidthBeforePlaying_ = 0;
};

}  // namespace movrane::gui
