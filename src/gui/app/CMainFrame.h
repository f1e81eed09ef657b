#pragma once

#include <QMainWindow>
#include <map>

#include "core/app/Commands.h"
#include "core/app/LapBar.h"
#include "core/app/RecentFileList.h"
#include "gui/app/DialogHost.h"

class QAction;
class QDockWidget;
class QMenu;

namespace movrane::gui {

class CZodEvadiView;
class LapBarWindow;
class TelemetryGraphWindow;

// The main window: menus, toolbar and status bar over the command table, the map view,
// the lap bar, the recent-file list and replays dropped on the window.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame(CZodEvadiDoc& doc, Ui& ui, DialogHost& dialogs, RecentFileList& recentFiles,
               std::string programDirectory);

    QAction* action(CommandId id) const { return actions_.at(id); }
    void runCommand(CommandId id);
    CZodEvadiView* view() const { return view_; }
    LapBarWindow* lapBarWindow() const { return lapBarWindow_; }
    QDockWidget* lapBarDock() const { return lapBarDock_; }
    QMenu* recentFilesMenu() const { return fileMenu_; }
    // The "Telemetry Graph" window, once "&Graph" has opened it.
    TelemetryGraphWindow* graphWindow() const { return graphWindow_; }

    // A replay opened from the desktop, a drop or the recent-file list.
    void openReplay(const std::string& path);
    // Redraws the map and the lap bar after the document changed.
    void documentChanged();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    QMenu* menuFor(const CommandInfo& info, std::map<std::string, QMenu*>& menus);
    void fillRecentFiles();
    void addLap();
    void loaded(CZodEvadiDoc::LoadResult result);
    void openReport(ReportKind kind);
    void editSettings();
    void showAbout();
    void saveTrackmap();
    void openGraph();

    CZodEvadiDoc& doc_;
    Ui& ui_;
    DialogHost& dialogs_;
    RecentFileList& recentFiles_;
    std::string programDirectory_;
    LapBar lapBar_;
    CZodEvadiView* view_;
    LapBarWindow* lapBarWindow_;
    QDockWidget* lapBarDock_;
    TelemetryGraphWindow* graphWindow_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QAction* exitSeparator_ = nullptr;
    std::vector<QAction*> recentActions_;
    std::map<CommandId, QAction*> actions_;
};

}  // namespace movrane::gui
