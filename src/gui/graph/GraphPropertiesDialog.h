#pragma once

#include <QDialog>

class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;
class QSpinBox;
class QTableWidget;

namespace movrane::gui {

class GraphView;

// The graph's properties: each axis's range, number precision and caption, and each
// series' colour, line width and visibility.
class GraphPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    explicit GraphPropertiesDialog(GraphView& graph, QWidget* parent = nullptr);
    // Writes the edited values into the graph.
    void apply();

    QDoubleSpinBox* xLow() const { return axes_[0].low; }
    QDoubleSpinBox* xHigh() const { return axes_[0].high; }
    QDoubleSpinBox* yLow() const { return axes_[1].low; }
    QDoubleSpinBox* yHigh() const { return axes_[1].high; }
    QTableWidget* seriesTable() const { return table_; }

private:
    struct AxisEditors {
        QDoubleSpinBox* low;
        QDoubleSpinBox* high;
        QSpinBox* precision;
        QLineEdit* caption;
    };
    QWidget* axisPage(int axis);
    QWidget* seriesPage();

    GraphView& graph_;
    AxisEditors axes_[2]{};
    QTableWidget* table_ = nullptr;
};

}  // namespace movrane::gui
