#pragma once

#include <string>

#include "core/reports/CarStates.h"
#include "core/reports/ReportData.h"

namespace movrane {

// The generators of the basic reports; each returns the whole text of its report.
std::string practiceReport(const ReportData& data);
// carStates: the retirement codes of a mechanical scan; used when the retirement
// preference is on.
std::string raceReport(const ReportData& data, const CarStateTable& carStates);
std::string lapChart(const ReportData& data);
std::string lapByLapReport(const ReportData& data);

}  // namespace movrane
