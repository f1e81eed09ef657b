#include "gui/analysis/PictureWidget.h"

#include <QPainter>

namespace movrane::gui {

PictureWidget::PictureWidget(Paint paint, QWidget* parent) : QWidget(parent), paint_(std::move(paint)) {}

void PictureWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    paint_(painter, width(), height());
}

}  // namespace movrane::gui
