#include "gui/app/CZodEvadiApp.h"

#include <QApplication>

#include "core/library/Installation.h"
#include "core/library/Prefs.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/ProgramIcon.h"
#include "gui/platform/QtUi.h"

namespace movrane::gui {

CZodEvadiApp::CZodEvadiApp(Ui& ui) : ui_(ui), doc_(ui, dialogs_) {
    dialogs_.setUi(&ui_);
    doc_.setSettings(DocumentSettings::fromPrefs(Prefs::get()));
    frame_ = std::make_unique<CMainFrame>(doc_, ui_, dialogs_, recentFiles_, Prefs::get().programDirectory());
    dialogs_.setParent(frame_.get());
}

// The preferences are saved when the document goes, as on every Settings OK.
CZodEvadiApp::~CZodEvadiApp() {
    doc_.onChanged = nullptr;
    Prefs::get().save();
}

void CZodEvadiApp::start(const StartRequest& request) {
    if (request.mode == StartRequest::Mode::OpenReplay) frame_->openReplay(request.replayPath);
    frame_->show();
    // Settings that fell back to defaults because their file was unreadable are told once.
    showStoreNotices(ui_);
    checkInstallation();
    if (request.mode == StartRequest::Mode::LoadLaps) loadCommandLineLaps(request);
}

// An installation directory without orv.exe: say so and open the Settings dialog.
void CZodEvadiApp::checkInstallation() {
    if (hasOrvExe(Prefs::get().orvDirectory())) return;
    ui_.message(ORV_DIRECTORY_INVALID_MESSAGE, {}, Ui::Icon::Warning);
    frame_->runCommand(CommandId::Settings);
}

void CZodEvadiApp::loadCommandLineLaps(const StartRequest& request) {
    for (const CommandLineLap& lap : request.laps) {
        const auto table = lapTableOf(lap);
        if (!table) {
            ui_.message(unknownSessionMessage(lap), {}, Ui::Icon::Warning);
            continue;
        }
        doc_.commandLineLoad(lap.replayPath, *table, static_cast<uint32_t>(lap.driver), lap.lap);
    }
    if (const auto missing = missingLapsMessage(request)) ui_.message(*missing, {}, Ui::Icon::Warning);
}

int runDesktop(const StartRequest& request) {
    QtUi ui;
    CZodEvadiApp app(ui);
    ui.setParent(&app.frame());
    app.start(request);
    QApplication::setWindowIcon(programIcon());
    return QApplication::exec();
}

}  // namespace movrane::gui
