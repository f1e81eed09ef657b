#include "gui/app/CMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

#include "core/app/DocumentExports.h"
#include "core/app/ReplayWriting.h"
#include "core/library/Options.h"
#include "core/library/Prefs.h"
#include "core/app/ReportCommands.h"
#include "core/app/ReportSiteCommand.h"
#include "core/reports/ReportViewer.h"
#include "gui/analysis/GearChangeAnalyserWindow.h"
#include "gui/analysis/RaceWindows.h"
#include "gui/analysis/RatingsWindow.h"
#include "gui/analysis/TractionCircleWindow.h"
#include "gui/app/CZodEvadiView.h"
#include "gui/app/LapBarWindow.h"
#include "gui/library/LibraryCommands.h"
#include "gui/app/RaceReplayWindow.h"
#include "gui/graph/TelemetryGraphWindow.h"
#include "gui/library/OptionsDialog.h"
#include "gui/platform/ImageFile.h"
#include "gui/platform/QtUi.h"
#include "gui/reports/ReportWindow.h"

namespace movrane::gui {

namespace {
constexpr char READY_TEXT[] = "Ready";

// The map drawn by the view, written as an uncompressed bitmap.
class ViewBitmapWriter : public MapBitmapWriter {
public:
    explicit ViewBitmapWriter(CZodEvadiView& view) : view_(view) {}
    bool write(const std::string& path, int size) override {
        return writeImageFile(view_.mapImage(size), path, "BMP");
    }

private:
    CZodEvadiView& view_;
};

bool isCheckable(CommandId id) {
    return id == CommandId::PanningTool || id == CommandId::DistanceMarkers || id == CommandId::LapBarShown ||
           id == CommandId::PlaybackBarShown || id == CommandId::ZoomBarShown || toggledLapOf(id).has_value();
}

bool isPlaybackCommand(CommandId id) {
    return (id >= CommandId::PlaybackStart && id <= CommandId::PlaybackRaceMode) || toggledLapOf(id).has_value();
}

// A column of controls taller than a small window scrolls in its dock instead of making
// the window grow; it keeps its whole width.
QScrollArea* scrolledColumn(QWidget* column) {
    auto* area = new QScrollArea;
    area->setWidget(column);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setMinimumWidth(column->minimumSizeHint().width() + area->verticalScrollBar()->sizeHint().width());
    return area;
}
}  // namespace

CMainFrame::CMainFrame(CZodEvadiDoc& doc, Ui& ui, DialogHost& dialogs, RecentFileList& recentFiles,
                       std::string programDirectory)
    : doc_(doc),
      ui_(ui),
      dialogs_(dialogs),
      recentFiles_(recentFiles),
      programDirectory_(std::move(programDirectory)),
      lapBar_(doc),
      view_(new CZodEvadiView(doc, lapBar_, this)),
      lapBarWindow_(new LapBarWindow(lapBar_, this)),
      lapBarDock_(new QDockWidget(QStringLiteral("Lap Bar"), this)),
      raceWindow_(new RaceReplayWindow(race_, this)),
      raceDock_(new QDockWidget(QStringLiteral("Race Replay"), this)),
      playbackClock_(new QTimer(this)),
      playback_(doc, lapBar_, race_, ui, dialogs, *this) {
    setWindowTitle(MAIN_TITLE);
    setCentralWidget(view_);
    view_->setPlayback(&playback_, &race_);
    lapBarDock_->setObjectName(QStringLiteral("LapBar"));
    lapBarDock_->setWidget(lapBarWindow_);
    addDockWidget(Qt::RightDockWidgetArea, lapBarDock_);
    raceDock_->setObjectName(QStringLiteral("RaceReplay"));
    raceDock_->setWidget(scrolledColumn(raceWindow_));
    addDockWidget(Qt::RightDockWidgetArea, raceDock_);
    raceDock_->hide();
    playbackClock_->setInterval(PLAYBACK_CLOCK_MS);
    connect(playbackClock_, &QTimer::timeout, this, &CMainFrame::playbackTick);
    connect(raceWindow_, &RaceReplayWindow::frameChosen, this, [this](int frame) {
        playback_.moveToFrame(frame);
        showPlaybackState();
    });
    connect(raceWindow_, &RaceReplayWindow::viewChanged, view_, qOverload<>(&QWidget::update));
    buildMenus();
    buildToolBar();
    statusBar()->showMessage(READY_TEXT);
    setAcceptDrops(true);
    restoreWindowState();
    // A bar hidden by the restored layout never showed, so it never told its command.
    for (const auto& [id, bar] : barsShownBy_) action(id)->setChecked(!bar->isHidden());

    connect(lapBarWindow_, &LapBarWindow::lapToggled, view_, &CZodEvadiView::toggleLap);
    connect(view_, &CZodEvadiView::lapToggled, lapBarWindow_, &LapBarWindow::refresh);
    connect(view_, &CZodEvadiView::panningChanged, action(CommandId::PanningTool), &QAction::setChecked);
    connect(lapBarDock_, &QDockWidget::visibilityChanged, action(CommandId::LapBarShown), &QAction::setChecked);
    doc_.onChanged = [this] { documentChanged(); };
}

// The size, place and docks of the last run; the first time a window of the default size
// with the lap bar as wide as its labels.
void CMainFrame::restoreWindowState() {
    const std::string geometry = windowState_.mainWindowGeometry();
    if (geometry.empty() || !restoreGeometry(QByteArray::fromStdString(geometry))) resize(1100, 760);
    const std::string layout = windowState_.mainWindowLayout();
    if (layout.empty() || !restoreState(QByteArray::fromStdString(layout))) fitLapBarToLabels();
    // A run starts with the driving lines: a layout left while the race was replayed gets
    // the lap bar back in the race bar's place.
    if (!raceDock_->isHidden()) showRaceBar(false);
}

// The lap bar grows to show its longest label, up to a third of the window.
void CMainFrame::fitLapBarToLabels() {
    const int wanted = std::min(lapBarWindow_->sizeHint().width(), width() / 3);
    if (wanted > lapBarWindow_->width()) resizeDocks({lapBarDock_}, {wanted}, Qt::Horizontal);
}

// The readouts widen the lap bar while laps play; when they stop, the map gets its room back.
void CMainFrame::keepLapBarWidth(int widthBeforeRefresh) {
    if (lapBar_.playing() == lapBarPlaying_) return;
    lapBarPlaying_ = lapBar_.playing();
    if (lapBarPlaying_) {
        lapBarWidthBeforePlaying_ = widthBeforeRefresh;
        return;
    }
    resizeDocks({lapBarDock_}, {lapBarWidthBeforePlaying_}, Qt::Horizontal);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // Playback ends with the window, so the saved layout holds the lap bar without readouts.
    if (playback_.running() || lapBar_.playing()) runPlaybackCommand(CommandId::PlaybackStop);
    windowState_.saveMainWindow(saveGeometry().toStdString(), saveState().toStdString());
    QMainWindow::closeEvent(event);
}

QMenu* CMainFrame::menuFor(const CommandInfo& info, std::map<std::string, QMenu*>& menus) {
    QMenu*& menu = menus[info.menu];
    if (!menu) menu = menuBar()->addMenu(QString::fromLatin1(info.menu));
    if (*info.submenu == '\0') return menu;
    QMenu*& submenu = menus[std::string(info.menu) + "/" + info.submenu];
    if (!submenu) submenu = menu->addMenu(QString::fromLatin1(info.submenu));
    return submenu;
}

void CMainFrame::buildMenus() {
    std::map<std::string, QMenu*> menus;
    for (const CommandInfo& info : mainMenuCommands()) {
        QMenu* menu = menuFor(info, menus);
        if (info.id == CommandId::Exit) exitSeparator_ = menu->addSeparator();
        else if (info.separatorBefore) menu->addSeparator();
        QAction* action = menu->addAction(QString::fromLatin1(info.text));
        action->setStatusTip(QString::fromLatin1(info.prompt));
        action->setCheckable(isCheckable(info.id));
        QList<QKeySequence> keys;
        for (const std::string& key : commandShortcuts(info.id))
            keys << QKeySequence(QString::fromStdString(key), QKeySequence::PortableText);
        action->setShortcuts(keys);
        const CommandId id = info.id;
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
        actions_[id] = action;
    }
    action(CommandId::LapBarShown)->setChecked(true);
    action(CommandId::DistanceMarkers)->setChecked(view_->drawOptions().distanceMarkers);
    connect(menus["&Playback"], &QMenu::aboutToShow, this, &CMainFrame::updatePlaybackMenu);
    fileMenu_ = menus["&File"];
    connect(fileMenu_, &QMenu::aboutToShow, this, &CMainFrame::fillRecentFiles);
    fillRecentFiles();
}

void CMainFrame::buildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Toolbar"));
    bar->setObjectName(QStringLiteral("Toolbar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    action(CommandId::AddLap)->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    action(CommandId::ClearLaps)->setIcon(style()->standardIcon(QStyle::SP_DialogResetButton));
    action(CommandId::SaveTrackmap)->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    // Short button texts keep the bar within the window; the menus keep the full texts.
    action(CommandId::AddLap)->setIconText(QStringLiteral("Add lap"));
    action(CommandId::ClearLaps)->setIconText(QStringLiteral("Clear"));
    action(CommandId::SaveTrackmap)->setIconText(QStringLiteral("Save map"));
    for (CommandId id : {CommandId::AddLap, CommandId::ClearLaps, CommandId::SaveTrackmap}) bar->addAction(action(id));
    bar->addSeparator();
    for (CommandId id : {CommandId::ReportPractice, CommandId::ReportRace, CommandId::ReportComplete})
        bar->addAction(action(id));
    for (const CommandInfo& info : toolbarOnlyCommands()) {
        QAction* a = bar->addAction(QString::fromLatin1(info.text));
        a->setStatusTip(QString::fromLatin1(info.prompt));
        const CommandId id = info.id;
        connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
        actions_[id] = a;
    }

    QToolBar* zoomBar = addBar(QStringLiteral("Zoom Bar"), QStringLiteral("ZoomBar"), CommandId::ZoomBarShown);
    for (CommandId id : {CommandId::ZoomIn, CommandId::ZoomOut, CommandId::FitToTrack, CommandId::PanningTool})
        zoomBar->addAction(action(id));

    addToolBarBreak();  // the playback buttons on a row of their own, all of them in view
    QToolBar* playbackBar =
        addBar(QStringLiteral("Playback Bar"), QStringLiteral("PlaybackBar"), CommandId::PlaybackBarShown);
    const std::pair<CommandId, QStyle::StandardPixmap> icons[] = {
        {CommandId::PlaybackStart, QStyle::SP_MediaPlay},
        {CommandId::PlaybackPause, QStyle::SP_MediaPause},
        {CommandId::PlaybackStop, QStyle::SP_MediaStop},
        {CommandId::PlaybackFastReverse, QStyle::SP_MediaSeekBackward},
        {CommandId::PlaybackFastForward, QStyle::SP_MediaSeekForward},
        {CommandId::PlaybackBeginning, QStyle::SP_MediaSkipBackward},
        {CommandId::PlaybackRaceMode, QStyle::SP_BrowserReload},
    };
    for (const auto& [id, icon] : icons) {
        action(id)->setIcon(style()->standardIcon(icon));
        playbackBar->addAction(action(id));
    }
}

// A toolbar that the View menu's command shows and hides; the command's tick follows the bar.
QToolBar* CMainFrame::addBar(const QString& title, const QString& name, CommandId shownCommand) {
    QToolBar* bar = addToolBar(title);
    bar->setObjectName(name);
    action(shownCommand)->setChecked(true);
    connect(bar, &QToolBar::visibilityChanged, action(shownCommand), &QAction::setChecked);
    barsShownBy_[shownCommand] = bar;
    return bar;
}

// The recent-file list sits before "E&xit" as "&1 path" .. "&7 path".
void CMainFrame::fillRecentFiles() {
    for (QAction* a : recentActions_) {
        fileMenu_->removeAction(a);
        a->deleteLater();
    }
    recentActions_.clear();
    const std::vector<std::string>& files = recentFiles_.files();
    for (std::size_t i = 0; i < files.size(); ++i) {
        auto* a = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(pathFromCore(files[i])), fileMenu_);
        a->setStatusTip(QStringLiteral("Open this document"));
        const std::string path = files[i];
        connect(a, &QAction::triggered, this, [this, path] { openReplay(path); });
        fileMenu_->insertAction(exitSeparator_, a);
        recentActions_.push_back(a);
    }
    if (!files.empty()) {
        QAction* separator = new QAction(fileMenu_);
        separator->setSeparator(true);
        fileMenu_->insertAction(recentActions_.front(), separator);
        recentActions_.push_back(separator);
    }
}

void CMainFrame::runCommand(CommandId id) {
    if (const auto kind = reportKindOf(id)) {
        openReport(*kind);
        return;
    }
    if (isPlaybackCommand(id)) {
        runPlaybackCommand(id);
        return;
    }
    switch (id) {
        case CommandId::ClearLaps: clearAllLaps(ui_, doc_); break;
        case CommandId::AddLap: loaded(doc_.loadLap()); break;
        case CommandId::LapFinder: runLapFinder(doc_, ui_, dialogs_, this); break;
        case CommandId::OpenRecentReplay: loaded(doc_.openMostRecentReplay()); break;
        case CommandId::ArrangeLaps: arrangeLoadedLaps(doc_, ui_, dialogs_, this); break;
        case CommandId::SaveTrackmap: saveTrackmap(); break;
        case CommandId::SaveReplayLap: saveReplayLap(doc_, ui_, dialogs_); break;
        case CommandId::MergeLaps: mergeAllLaps(doc_, ui_, dialogs_); break;
        case CommandId::SaveTelemetry: exportTelemetry(doc_, ui_, dialogs_); break;
        case CommandId::Settings: editSettings(); break;
        case CommandId::Exit: close(); break;
        case CommandId::ZoomIn: view_->zoomIn(); break;
        case CommandId::ZoomOut: view_->zoomOut(); break;
        case CommandId::FitToTrack: view_->fitToTrack(); break;
        case CommandId::PanningTool: view_->togglePanning(); break;
        case CommandId::DistanceMarkers: view_->toggleDistanceMarkers(); break;
        case CommandId::LapBarShown:
            // The race bar stands in the lap bar's place while the race is replayed.
            if (!playback_.raceMode()) lapBarDock_->setVisible(!lapBarDock_->isVisible());
            break;
        case CommandId::PlaybackBarShown:
        case CommandId::ZoomBarShown: {
            QToolBar* bar = barsShownBy_.at(id);
            bar->setVisible(bar->isHidden());
            break;
        }
        case CommandId::ExportRecords: runRecordsExport(ui_, dialogs_, this); break;
        case CommandId::PBViewer: runPBViewer(ui_, dialogs_, this); break;
        case CommandId::OrvRankHandicap: runOrvRankHandicap(ui_, dialogs_, this); break;
        case CommandId::TrackOrganizer: runTrackOrganiser(ui_, dialogs_, this); break;
        case CommandId::CDDatabaseCreator: runCDDatabaseCreator(ui_, dialogs_, this); break;
        case CommandId::Graph: openGraph(); break;
        case CommandId::ReportSite:
            generateReportSite(ui_, dialogs_, doc_, Prefs::get().recordsPath(),
                               ReportPrefs{doc_.settings().retireInRaceReport, doc_.settings().offTrackInRaceReport});
            break;
        case CommandId::GrooveExport: exportGroove(doc_, ui_, dialogs_, dialogs_); break;
        case CommandId::TractionCircle:
        case CommandId::Ratings:
        case CommandId::GearChangeAnalyser: openAnalysis(id); break;
        case CommandId::GraphicalRaceReport:
        case CommandId::RaceHistoryGraph: openRacePicture(id); break;
        case CommandId::About: showAbout(); break;
        case CommandId::ViewReadme: viewReadme(ui_, programDirectory_); break;
        default: break;
    }
}

void CMainFrame::runPlaybackCommand(CommandId id) {
    switch (id) {
        case CommandId::PlaybackStart: playback_.startContinue(); break;
        case CommandId::PlaybackPause: playback_.pause(); break;
        case CommandId::PlaybackStop: playback_.stop(); break;
        case CommandId::PlaybackFastForward: playback_.fastForward(); break;
        case CommandId::PlaybackFastReverse: playback_.fastReverse(); break;
        case CommandId::PlaybackBeginning: playback_.beginningOfLap(); break;
        case CommandId::PlaybackEnd: playback_.moveToEndOfLap(); break;
        case CommandId::PlaybackRaceMode:
            playback_.toggleRaceMode();
            raceWindow_->reload();
            break;
        default: playback_.toggleLap(*toggledLapOf(id)); break;
    }
    showPlaybackState();
}

void CMainFrame::playbackTick() {
    playback_.tick();
    showPlaybackState();
}

void CMainFrame::showPlaybackState() {
    const int lapBarWidth = lapBarDock_->width();
    if (playback_.raceMode()) raceWindow_->refresh();
    else lapBarWindow_->refresh();
    keepLapBarWidth(lapBarWidth);
    updatePlaybackMenu();
}

void CMainFrame::updatePlaybackMenu() {
    for (int slot = 0; slot < CZodEvadiDoc::MAX_LAPS; ++slot) {
        QAction* toggle = action(static_cast<CommandId>(static_cast<int>(CommandId::ToggleLap1) + slot));
        toggle->setEnabled(playback_.toggleLapEnabled(slot));
        toggle->setChecked(lapBar_.box(slot).checked);
    }
}

void CMainFrame::startClock() { playbackClock_->start(); }
void CMainFrame::stopClock() { playbackClock_->stop(); }
void CMainFrame::centreOn(double distance, double lateral) { view_->centreOnTrack(distance, lateral); }
void CMainFrame::keepInView(double distance, double lateral) { view_->keepTrackPointInView(distance, lateral); }
void CMainFrame::redraw() { view_->update(); }

// The bar that goes is hidden first: for a moment both bars in the dock area would make the
// window as tall as the two together.
void CMainFrame::showRaceBar(bool shown) {
    QDockWidget* leaving = shown ? lapBarDock_ : raceDock_;
    QDockWidget* coming = shown ? raceDock_ : lapBarDock_;
    leaving->hide();
    coming->show();
}

void CMainFrame::loaded(CZodEvadiDoc::LoadResult result) {
    if (result != CZodEvadiDoc::LoadResult::Loaded) return;
    recentFiles_.add(doc_.replayPath());
    fillRecentFiles();
}

void CMainFrame::openReplay(const std::string& path) { loaded(doc_.shellOpen(path)); }

void CMainFrame::documentChanged() {
    if (playback_.documentChanged()) raceWindow_->reload();
    lapBarWindow_->refresh();
    fitLapBarToLabels();
    updatePlaybackMenu();
    view_->documentChanged();
    if (graphWindow_) graphWindow_->documentChanged();
}

void CMainFrame::openGraph() {
    if (!requireLoadedLap(ui_, doc_)) return;
    if (!graphWindow_) graphWindow_ = new TelemetryGraphWindow(doc_, ui_, dialogs_, this);
    graphWindow_->present();
}

void CMainFrame::openAnalysis(CommandId id) {
    if (id == CommandId::GearChangeAnalyser) {
        GearChangeAnalyserWindow window(doc_, this);
        dialogs_.run(window);
        return;
    }
    if (!requireLoadedLap(ui_, doc_)) return;
    if (id == CommandId::Ratings) {
        RatingsWindow window(doc_, ui_, this);
        dialogs_.run(window);
        return;
    }
    std::optional<std::array<double, 2>> graphRange;
    if (graphWindow_ && graphWindow_->isVisible()) {
        const AxisRange range = graphWindow_->graph().visibleRange();
        graphRange = std::array<double, 2>{range.low, range.high};
    }
    TractionCircleWindow window(doc_, ui_, dialogs_, graphRange, this);
    dialogs_.run(window);
    view_->update();
}

void CMainFrame::openRacePicture(CommandId id) {
    const auto replay = chooseRaceReplay(ui_, dialogs_, doc_);
    if (!replay) return;
    RaceInput race = RaceInput::of(replay->header, replay->drivers);
    if (id == CommandId::RaceHistoryGraph) {
        RaceHistoryGraphWindow window(std::move(race), ui_, doc_.replayFolder(), this);
        dialogs_.run(window);
    } else {
        GraphicalRaceReportWindow window(std::move(race), ui_, doc_.replayFolder(), this);
        dialogs_.run(window);
    }
}

void CMainFrame::openReport(ReportKind kind) {
    auto viewer = openReportViewer(ui_, dialogs_, doc_, kind);
    if (!viewer) return;
    ReportWindow window(std::move(viewer), ui_, this);
    dialogs_.run(window);
}

void CMainFrame::showAbout() {
    QMessageBox about(QMessageBox::Information, QStringLiteral("About Movrane"), fromCore(aboutText()),
                      QMessageBox::Ok, this);
    dialogs_.run(about);
}

void CMainFrame::editSettings() {
    Options options(Prefs::get(), ui_);
    OptionsDialog dialog(options, this);
    if (dialogs_.run(dialog) != QDialog::Accepted) return;
    doc_.setSettings(DocumentSettings::fromPrefs(Prefs::get()));
    view_->update();
    if (graphWindow_) graphWindow_->settingsChanged();
}

void CMainFrame::saveTrackmap() {
    ViewBitmapWriter writer(*view_);
    movrane::saveTrackmap(ui_, doc_, writer);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) openReplay(pathToCore(url.toLocalFile()));
    event->acceptProposedAction();
}

}  // namespace movrane::gui
