#include "core/reports/ReportFiles.h"

#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/reports/ReportText.h"

namespace movrane {

std::string replayBaseName(const std::string& replayPath) {
    const auto separator = replayPath.find_last_of("\\/");
    std::string name = separator == std::string::npos ? replayPath : replayPath.substr(separator + 1);
    const auto dot = name.find('.');
    if (dot != std::string::npos) name.erase(dot, 4);
    return name;
}

const char* exportSuffix(ReportKind kind) {
    switch (kind) {
        case ReportKind::Practice: return "_Practice";
        case ReportKind::Race: return "_Race";
        case ReportKind::LapChart: return "_LapChart";
        case ReportKind::LapByLap: return "_LapByLap";
        case ReportKind::Complete: return "_Complete";
        case ReportKind::Mechanical: return "_Mechanical";
        case ReportKind::EngineDetection: return "_EngineDetection";
        case ReportKind::DetailedRace: return "_DetailedRace";
        case ReportKind::LaptimeVerifier: return "LaptimeVerify";
        case ReportKind::SectorTimes: return "SectorTimes";
        case ReportKind::Speed: return "Speed";
        case ReportKind::ModSet: return "";
    }
    return "";
}

std::string defaultExportName(ReportKind kind, const std::string& replayPath) {
    // The lap-based reports cover laps of several replays: their name stands alone.
    if (Report::isLapBased(kind)) return std::string(exportSuffix(kind)) + ".txt";
    const std::size_t keep = replayPath.size() >= 4 ? replayPath.size() - 4 : 0;
    return replayPath.substr(0, keep) + exportSuffix(kind) + ".txt";
}

std::string withTxtExtension(const std::string& chosenName) { return withExtension(chosenName, ".txt"); }

bool writeReportFile(const std::string& path, const std::string& reportText) {
    return writeFileAtomically(path, toFileText(reportText));
}

std::optional<std::string> exportToFile(const std::string& reportText, const std::string& chosenName) {
    if (writeReportFile(withTxtExtension(chosenName), reportText)) return std::nullopt;
    return std::string("Error creating file!");
}

bool exportReportToFile(Ui& ui, const Report& report, ReportKind kind) {
    Ui::FileRequest request;
    request.filters = {{"Text files (*.txt)", "*.txt"}};
    request.initialPath = defaultExportName(kind, report.data().replayPath());
    const std::optional<std::string> chosen = ui.chooseFileToSave(request);
    if (!chosen) return false;
    const std::optional<std::string> failure = exportToFile(report.text(), *chosen);
    if (failure) ui.message(*failure);
    return !failure;
}

FileBatch Report::exportBatch(const std::string& prefix, bool withMechanical) {
    const std::string stem = prefix + replayBaseName(data_.replayPath());
    FileBatch batch;
    for (ReportKind kind : {ReportKind::Practice, ReportKind::Race, ReportKind::LapChart, ReportKind::LapByLap,
                            ReportKind::Complete, ReportKind::Mechanical}) {
        if (kind == ReportKind::Mechanical && !withMechanical) break;
        // Each file gets the whole text of its report, however long.
        if (!batch.write(stem + exportSuffix(kind) + ".txt", toFileText(generate(kind)))) break;
    }
    return batch;
}

}  // namespace movrane
