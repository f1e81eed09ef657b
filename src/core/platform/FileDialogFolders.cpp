#include "core/platform/FileDialogFolders.h"

#include "core/platform/Paths.h"

namespace movrane {

std::string FileDialogFolders::kindOf(const Ui::FileRequest& request) {
    return request.filters.empty() ? std::string() : toLowerAscii(request.filters.front().pattern);
}

Ui::FileRequest FileDialogFolders::startingPoint(const Ui::FileRequest& request, bool saving) const {
    const auto last = folders_.find(kindOf(request));
    if (last == folders_.end()) return request;
    Ui::FileRequest moved = request;
    const std::string suggestedName = afterLastSeparator(request.initialPath);
    moved.initialPath = saving && !suggestedName.empty() ? joinPath(last->second, suggestedName) : last->second;
    return moved;
}

void FileDialogFolders::remember(const Ui::FileRequest& request, const std::string& chosenPath) {
    const std::string folder = cutAtLastSeparator(chosenPath);
    if (!folder.empty()) folders_[kindOf(request)] = folder;
}

}  // namespace movrane
