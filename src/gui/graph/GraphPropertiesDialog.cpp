#include "gui/graph/GraphPropertiesDialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <qcustomplot.h>

#include "gui/graph/GraphView.h"

namespace movrane::gui {

namespace {

QCPAxis* axisOf(GraphView& graph, int axis) { return axis == 0 ? graph.plot()->xAxis : graph.plot()->yAxis; }

QDoubleSpinBox* rangeEditor(double value) {
    auto* box = new QDoubleSpinBox;
    box->setRange(-1e9, 1e9);
    box->setDecimals(3);
    box->setValue(value);
    return box;
}

void paintSwatch(QPushButton* button, const QColor& colour) {
    button->setStyleSheet(QStringLiteral("background-color: %1").arg(colour.name()));
    button->setProperty("colour", colour);
}

enum Column { NAME, COLOUR, WIDTH, VISIBLE };

}  // namespace

GraphPropertiesDialog::GraphPropertiesDialog(GraphView& graph, QWidget* parent)
    : QDialog(parent), graph_(graph) {
    setWindowTitle(QStringLiteral("Graph properties"));
    auto* tabs = new QTabWidget;
    tabs->addTab(axisPage(0), QStringLiteral("X axis"));
    tabs->addTab(axisPage(1), QStringLiteral("Y axis"));
    tabs->addTab(seriesPage(), QStringLiteral("Series"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
}

QWidget* GraphPropertiesDialog::axisPage(int axis) {
    QCPAxis* qcp = axisOf(graph_, axis);
    AxisEditors& e = axes_[axis];
    e.low = rangeEditor(qcp->range().lower);
    e.high = rangeEditor(qcp->range().upper);
    e.precision = new QSpinBox;
    e.precision->setRange(0, 6);
    e.precision->setValue(qcp->numberPrecision());
    e.caption = new QLineEdit(qcp->label());
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    form->addRow(QStringLiteral("Minimum:"), e.low);
    form->addRow(QStringLiteral("Maximum:"), e.high);
    form->addRow(QStringLiteral("Precision:"), e.precision);
    form->addRow(QStringLiteral("Caption:"), e.caption);
    return page;
}

QWidget* GraphPropertiesDialog::seriesPage() {
    QCustomPlot* plot = graph_.plot();
    table_ = new QTableWidget(plot->graphCount(), 4);
    table_->setHorizontalHeaderLabels({QStringLiteral("Series"), QStringLiteral("Colour"), QStringLiteral("Width"),
                                       QStringLiteral("Visible")});
    table_->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < plot->graphCount(); ++row) {
        QCPGraph* g = plot->graph(row);
        table_->setItem(row, NAME, new QTableWidgetItem(g->name()));
        auto* colour = new QPushButton;
        paintSwatch(colour, g->pen().color());
        connect(colour, &QPushButton::clicked, this, [this, colour] {
            const QColor chosen = QColorDialog::getColor(colour->property("colour").value<QColor>(), this);
            if (chosen.isValid()) paintSwatch(colour, chosen);
        });
        table_->setCellWidget(row, COLOUR, colour);
        auto* width = new QSpinBox;
        width->setRange(1, 10);
        width->setValue(std::max(1, static_cast<int>(g->pen().widthF())));
        table_->setCellWidget(row, WIDTH, width);
        auto* visible = new QCheckBox;
        visible->setChecked(g->visible());
        table_->setCellWidget(row, VISIBLE, visible);
    }
    return table_;
}

void GraphPropertiesDialog::apply() {
    for (int axis = 0; axis < 2; ++axis) {
        const AxisEditors& e = axes_[axis];
        QCPAxis* qcp = axisOf(graph_, axis);
        if (e.low->value() < e.high->value()) qcp->setRange(e.low->value(), e.high->value());
        qcp->setNumberFormat(QStringLiteral("f"));
        qcp->setNumberPrecision(e.precision->value());
        qcp->setLabel(e.caption->text());
    }
    QCustomPlot* plot = graph_.plot();
    for (int row = 0; row < table_->rowCount() && row < plot->graphCount(); ++row) {
        QCPGraph* g = plot->graph(row);
        QPen pen = g->pen();
        pen.setColor(table_->cellWidget(row, COLOUR)->property("colour").value<QColor>());
        pen.setWidthF(static_cast<QSpinBox*>(table_->cellWidget(row, WIDTH))->value());
        g->setPen(pen);
        g->setVisible(static_cast<QCheckBox*>(table_->cellWidget(row, VISIBLE))->isChecked());
    }
}

}  // namespace movrane::gui
