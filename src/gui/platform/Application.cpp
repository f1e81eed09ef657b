#include "gui/platform/Application.h"

#include <clocale>

namespace movrane::gui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) { std::setlocale(LC_NUMERIC, "C"); }

}  // namespace movrane::gui
