#pragma once

#include <QIcon>

namespace movrane::gui {

// The program's icon: a piece of track with a red and a blue driven line.
QIcon programIcon();

}  // namespace movrane::gui
