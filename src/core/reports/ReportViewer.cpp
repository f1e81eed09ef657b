#include "core/reports/ReportViewer.h"

#include "core/platform/Ui.h"
#include "core/reports/ReportFiles.h"
#include "core/reports/ReportText.h"

namespace movrane {

ReportViewer::ReportViewer(std::unique_ptr<ReportReplay> replay, ReportKind kind, ReportPrefs prefs, ReportLaps laps)
    : replay_(std::move(replay)), report_(replay_->header, replay_->drivers, replay_->path, prefs), kind_(kind) {
    report_.setLaps(std::move(laps));
    report_.setSink([this](const std::string&) { showText(); });
}

void ReportViewer::open() {
    if (Report::isDeferred(kind_)) {
        pendingKind_ = static_cast<int>(kind_);
        return;
    }
    report_.generate(kind_);
}

void ReportViewer::focusGained(Ui& ui) {
    if (pendingKind_ == 0) return;
    pendingKind_ = 0;
    const WaitCursor wait(ui);
    report_.generate(kind_);
}

std::string viewTextOf(const std::string& reportText) {
    return toFileText(reportText.substr(0, REPORT_VIEW_LIMIT));
}

std::string ReportViewer::viewText() const { return viewTextOf(report_.text()); }

std::string ReportViewer::fullText() const { return toFileText(report_.text()); }

bool ReportViewer::exportToFile(Ui& ui) const { return exportReportToFile(ui, report_, kind_); }

void ReportViewer::showText() {
    if (sink_) sink_(viewText());
}

}  // namespace movrane
