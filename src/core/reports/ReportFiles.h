#pragma once

#include <optional>
#include <string>

#include "core/platform/Ui.h"
#include "core/reports/Report.h"

namespace movrane {

// Base name of a replay: the path cut after its last "\" or "/"; then the four characters
// from the first "." are deleted ("race.v2.rpy" -> "racerpy"). A name without "." is kept whole.
std::string replayBaseName(const std::string& replayPath);

// "_Practice", "_Race", ... by kind.
const char* exportSuffix(ReportKind kind);

// The name "Export to file" offers: the replay path without its last four characters,
// the kind's suffix and ".txt"; for the lap-based kinds the suffix and ".txt" alone (the
// chooser puts it into its current folder).
std::string defaultExportName(ReportKind kind, const std::string& replayPath);

// A chosen name that does not end in ".txt" (compared exactly) gets ".txt" appended.
std::string withTxtExtension(const std::string& chosenName);

// Writes a report text with "\n" line ends; false when the file cannot be created or written.
bool writeReportFile(const std::string& path, const std::string& reportText);

// "Export to file" after the save chooser: writes the whole text to the chosen name (with
// the ".txt" rule). Gives the message to show, or nothing on success.
std::optional<std::string> exportToFile(const std::string& reportText, const std::string& chosenName);

// The report window's "Export to file": asks for the file with the kind's default name,
// writes the report's whole text and tells when the file cannot be created. False when
// nothing was written (cancelled or failed).
bool exportReportToFile(Ui& ui, const Report& report, ReportKind kind);

}  // namespace movrane
