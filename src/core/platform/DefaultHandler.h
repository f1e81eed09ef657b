#pragma once

#include <string>

namespace movrane {

class Ui;

// Opens a file or page with the desktop's default handler and tells the person, naming
// the file, when it is missing or nothing could open it. False in those cases.
bool openWithDefaultHandlerOrTell(Ui& ui, const std::string& pathOrUrl);

}  // namespace movrane
