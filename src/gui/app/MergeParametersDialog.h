#pragma once

#include <QDialog>
#include <vector>

#include "core/app/MergeParameters.h"

class QLineEdit;

namespace movrane {
class Ui;
}

namespace movrane::gui {

// The merge parameters window: each loaded lap with its driver, lap time and an offset
// field that takes digits, '.' and ','. OK keeps the window open after "To large number!".
class MergeParametersDialog : public QDialog {
    Q_OBJECT
public:
    MergeParametersDialog(MergeParameters& parameters, Ui* ui, QWidget* parent);

    const std::vector<QLineEdit*>& offsetFields() const { return fields_; }
    void accept() override;

private:
    MergeParameters& parameters_;
    Ui* ui_;
    std::vector<QLineEdit*> fields_;
};

}  // namespace movrane::gui
