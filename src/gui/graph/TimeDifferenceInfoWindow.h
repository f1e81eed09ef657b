#pragma once

#include <QLabel>
#include <QWidget>
#include <array>

#include "core/analysis/TimeDifference.h"

namespace movrane::gui {

// "Time Difference Info": the header line and the five value fields of the time
// difference shown in the graph.
class TimeDifferenceInfoWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr char TITLE[] = "Time Difference Info";
    explicit TimeDifferenceInfoWindow(QWidget* parent = nullptr);
    void show(const TimeDifferenceInfo& info);
    using QWidget::show;

    QString header() const { return header_->text(); }
    // The value field of a label of TimeDifferenceInfo::LABELS.
    QString value(int field) const { return values_.at(static_cast<std::size_t>(field))->text(); }

private:
    QLabel* header_;
    std::array<QLabel*, 5> values_{};
};

}  // namespace movrane::gui
