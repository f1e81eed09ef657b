#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/reports/Report.h"
#include "core/reports/ReportReplayChoice.h"

namespace movrane {

class Ui;

// The report window's behaviour. It owns the chosen replay and its report. Kinds that
// are generated when the window opens are complete before it is shown; deferred kinds
// start when the text view first gets the input focus and grow through the report's
// append. The view holds at most REPORT_VIEW_LIMIT characters; exports and printing
// take the whole text.
class ReportViewer {
public:
    // Called with the view's text whenever the report text changes.
    using ViewSink = std::function<void(const std::string& viewText)>;

    ReportViewer(std::unique_ptr<ReportReplay> replay, ReportKind kind, ReportPrefs prefs = {}, ReportLaps laps = {});

    void setViewSink(ViewSink sink) { sink_ = std::move(sink); }

    // The window opens: generates a kind that is not deferred.
    void open();
    // The text view got the input focus: starts a deferred kind the first time only, under
    // the wait cursor.
    void focusGained(Ui& ui);
    // The kind still waiting to be generated; 0 once it started or for immediate kinds.
    int pendingKind() const { return pendingKind_; }

    ReportKind kind() const { return kind_; }
    // The window's title line.
    std::string titleLine() const { return Report::title(kind_); }
    // The text as the view shows it: cut at the view's limit, with "\n" line ends.
    std::string viewText() const;
    // The whole text with "\n" line ends, for printing.
    std::string fullText() const;
    const Report& report() const { return report_; }

    // "Export to file": the whole text through the save chooser.
    bool exportToFile(Ui& ui) const;

private:
    void showText();

    std::unique_ptr<ReportReplay> replay_;
    Report report_;
    ReportKind kind_;
    int pendingKind_ = 0;
    ViewSink sink_;
};

// What the report window's text view holds of a report text: its first
// REPORT_VIEW_LIMIT characters, with "\n" line ends.
std::string viewTextOf(const std::string& reportText);

}  // namespace movrane
