#pragma once

#include <map>
#include <string>

#include "core/platform/Ui.h"

namespace movrane {

// File choosers start where each command asks the first time; after a file of a kind
// (the pattern of the chooser's first filter, "*.rpy", "*.bmp", ...) was chosen, later
// choosers for that kind start in its folder, for as long as the program runs.
class FileDialogFolders {
public:
    // The request with its starting point moved to the folder last used for its kind.
    // An open chooser starts in that folder; a save chooser keeps its suggested name there.
    Ui::FileRequest startingPoint(const Ui::FileRequest& request, bool saving) const;
    // A file was chosen with this request.
    void remember(const Ui::FileRequest& request, const std::string& chosenPath);

private:
    static std::string kindOf(const Ui::FileRequest& request);

    std::map<std::string, std::string> folders_;
};

}  // namespace movrane
