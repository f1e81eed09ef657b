#pragma once

#include <QDialog>
#include <map>

#include "core/analysis/GraphPrint.h"

class QCheckBox;

namespace movrane::gui {

// "Select graphs to print": the primary graph named, up to three secondary graphs ticked.
class SelectGraphsToPrintDialog : public QDialog {
    Q_OBJECT
public:
    SelectGraphsToPrintDialog(SelectGraphsToPrint& selection, QWidget* parent = nullptr);
    QCheckBox* box(int channel) const { return boxes_.at(channel); }

private:
    SelectGraphsToPrint& selection_;
    std::map<int, QCheckBox*> boxes_;
};

}  // namespace movrane::gui
