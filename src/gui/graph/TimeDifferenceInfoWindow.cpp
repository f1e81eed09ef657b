#include "gui/graph/TimeDifferenceInfoWindow.h"

#include <QGridLayout>

namespace movrane::gui {

TimeDifferenceInfoWindow::TimeDifferenceInfoWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool), header_(new QLabel) {
    setWindowTitle(QString::fromLatin1(TITLE));
    auto* grid = new QGridLayout(this);
    grid->addWidget(header_, 0, 0, 1, 2);
    for (std::size_t i = 0; i < values_.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        grid->addWidget(new QLabel(QString::fromLatin1(TimeDifferenceInfo::LABELS[i])), row, 0);
        values_[i] = new QLabel;
        values_[i]->setMinimumWidth(110);
        values_[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(values_[i], row, 1);
    }
}

void TimeDifferenceInfoWindow::show(const TimeDifferenceInfo& info) {
    header_->setText(QString::fromLatin1(info.header.c_str()));
    const auto fields = info.fields();
    for (std::size_t i = 0; i < fields.size(); ++i) values_[i]->setText(QString::fromLatin1(fields[i].second.c_str()));
}

}  // namespace movrane::gui
