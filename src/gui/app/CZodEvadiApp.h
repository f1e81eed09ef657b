#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/app/CZodEvadiDoc.h"
#include "core/app/CommandLine.h"
#include "core/app/RecentFileList.h"
#include "gui/app/DialogHost.h"

namespace movrane::gui {

class CMainFrame;

// The application: creates the document, the main window with its view and the
// preferences, then carries out the start request in the fixed start-up order.
class CZodEvadiApp {
public:
    // `ui` shows every message; tests give a recording one.
    explicit CZodEvadiApp(Ui& ui);
    ~CZodEvadiApp();

    // Start-up up to the interactive loop: the shell open of a single replay, the window
    // shown, the notice of a settings file that was set aside, the installation check with
    // the Settings dialog, the -loadrpy laps. The
    // preferences, with the program directory, exist from the document's creation on.
    void start(const StartRequest& request);

    CZodEvadiDoc& document() { return doc_; }
    CMainFrame& frame() { return *frame_; }
    DialogHost& dialogs() { return dialogs_; }

private:
    void checkInstallation();
    void loadCommandLineLaps(const StartRequest& request);

    Ui& ui_;
    DialogHost dialogs_;
    CZodEvadiDoc doc_;
    RecentFileList recentFiles_;
    std::unique_ptr<CMainFrame> frame_;
};

// The whole desktop program after the command line was read: a QApplication must exist.
int runDesktop(const StartRequest& request);

}  // namespace movrane::gui
