#pragma once

#include <QDialog>

#include "core/analysis/GearChanges.h"

class QComboBox;
class QLabel;
class QTableWidget;
class QTreeWidget;

namespace movrane::gui {

// "Gear Change Analyser": the lap choice, the list of gear changes and the statistics.
class GearChangeAnalyserWindow : public QDialog {
    Q_OBJECT
public:
    explicit GearChangeAnalyserWindow(const CZodEvadiDoc& doc, QWidget* parent = nullptr);

    QComboBox* lapChoice() const { return lapChoice_; }
    QTreeWidget* list() const { return list_; }
    QLabel* verdict() const { return verdict_; }

private:
    void chooseLap(int index);

    GearChangeAnalyser analyser_;
    QComboBox* lapChoice_;
    QTreeWidget* list_;
    QLabel* changes_;
    QLabel* upshiftTime_;
    QLabel* downshiftTime_;
    QTableWidget* statistics_;
    QLabel* verdict_;
};

}  // namespace movrane::gui
