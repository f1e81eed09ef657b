#include "gui/app/DialogHost.h"

#include <QDialog>

#include "gui/app/ChooselapDialog.h"
#include "gui/app/MergeParametersDialog.h"
#include "gui/reports/LoadedFileChooserDialog.h"
#include "gui/track/GrooveExportDialog.h"

namespace movrane::gui {

DialogHost::DialogHost() : runner_([](QDialog& dialog) { return dialog.exec(); }) {}

std::optional<Chooselap::Selection> DialogHost::choose(Chooselap& chooser) {
    ChooselapDialog dialog(chooser, ui_, parent_);
    if (run(dialog) != QDialog::Accepted) return std::nullopt;
    return chooser.selectedLap();
}

std::optional<std::size_t> DialogHost::chooseFile(const std::string& title, const std::vector<std::string>& options) {
    LoadedFileChooserDialog dialog(title, options, parent_);
    if (run(dialog) != QDialog::Accepted) return std::nullopt;
    return dialog.chosen();
}

std::optional<int> DialogHost::pickLap(const std::string& title, const std::vector<int>& slotIndexes,
                                       const std::vector<std::string>& labels) {
    const auto chosen = chooseFile(title, labels);
    if (!chosen || *chosen >= slotIndexes.size()) return std::nullopt;
    return slotIndexes[*chosen];
}

bool DialogHost::edit(GrooveSettings& settings) {
    GrooveExportDialog dialog(settings, parent_);
    if (run(dialog) != QDialog::Accepted) return false;
    return dialog.read(settings);
}

bool DialogHost::edit(MergeParameters& parameters) {
    MergeParametersDialog dialog(parameters, ui_, parent_);
    return run(dialog) == QDialog::Accepted;
}

}  // namespace movrane::gui
