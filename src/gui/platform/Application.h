#pragma once

#include <QApplication>

namespace movrane::gui {

// The toolkit's application object for every Movrane process that shows or paints widgets.
// Starting the toolkit adopts the user's locale for the C library as well; numbers the core
// writes (lap times, telemetry and groove files, CSV, reports) must keep their decimal point
// whatever the locale, so the numeric category goes back to "C" at once. Qt's own widgets
// format numbers through QLocale and are not affected.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
};

}  // namespace movrane::gui
