#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "core/app/CZodEvadiDoc.h"
#include "core/app/DocumentExports.h"
#include "core/app/MergeParameters.h"
#include "core/reports/ReportReplayChoice.h"

class QDialog;

namespace movrane::gui {

// Runs the program's modal dialogs: the lap chooser, the choosers among the loaded files
// and laps, the groove settings, the merge parameters, and every other dialog the main window opens.
// Tests replace the runner to look at a dialog and answer it without a modal loop.
class DialogHost : public LapChooserDialog,
                   public LoadedFileChooser,
                   public LoadedLapPicker,
                   public GrooveSettingsDialog,
                   public MergeParametersEditor {
public:
    using Runner = std::function<int(QDialog&)>;

    DialogHost();

    void setParent(QWidget* parent) { parent_ = parent; }
    void setRunner(Runner runner) { runner_ = std::move(runner); }
    // Shows the dialog modally; QDialog::Accepted or QDialog::Rejected.
    int run(QDialog& dialog) { return runner_(dialog); }

    std::optional<Chooselap::Selection> choose(Chooselap& chooser) override;
    std::optional<std::size_t> chooseFile(const std::string& title, const std::vector<std::string>& options) override;
    std::optional<int> pickLap(const std::string& title, const std::vector<int>& slotIndexes,
                               const std::vector<std::string>& labels) override;
    bool edit(GrooveSettings& settings) override;
    bool edit(MergeParameters& parameters) override;

    // The Ui the lap chooser plays its sound and shows its quality report through.
    void setUi(Ui* ui) { ui_ = ui; }

private:
    QPointer<QWidget> parent_;
    Runner runner_;
    Ui* ui_ = nullptr;
};

}  // namespace movrane::gui
