#pragma once

#include <QDialog>

#include "core/track/GrooveExport.h"

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace movrane::gui {

// "Export Lap To Groove (GRV) File": resolution, the way darkness is computed, the two
// factors of the old way (disabled for the new one) and the groove width.
class GrooveExportDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* TITLE = "Export Lap To Groove (GRV) File";

    GrooveExportDialog(const GrooveSettings& settings, QWidget* parent);

    // The settings as the controls hold them; false when the old way is chosen and a factor
    // field is not a number 0 .. 999.
    bool read(GrooveSettings& settings) const;
    void accept() override;

    QComboBox* resolution() const { return resolution_; }
    QRadioButton* oldWay() const { return oldWay_; }
    QLineEdit* accelerationFactor() const { return accelerationFactor_; }
    QLineEdit* rollFactor() const { return rollFactor_; }
    QLineEdit* width() const { return width_; }

private:
    void wayChanged();

    QComboBox* resolution_;
    QRadioButton* newWay_;
    QRadioButton* oldWay_;
    QLineEdit* accelerationFactor_;
    QLineEdit* rollFactor_;
    QLineEdit* width_;
};

}  // namespace movrane::gui
