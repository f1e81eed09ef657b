#pragma once

#include <QWidget>
#include <functional>

class QPainter;

namespace movrane::gui {

// A widget whose whole content is painted by one function over its current size.
class PictureWidget : public QWidget {
public:
    using Paint = std::function<void(QPainter&, int width, int height)>;

    PictureWidget(Paint paint, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Paint paint_;
};

}  // namespace movrane::gui
