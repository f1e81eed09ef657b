#include "support/ScriptedUi.h"

#include <stdexcept>

namespace testsupport {

namespace {

template <class T>
T take(std::deque<T>& queue, const std::string& what) {
    if (queue.empty()) throw std::logic_error("ScriptedUi: no answer queued for " + what);
    T answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

}  // namespace

bool ScriptedUi::allAnswersUsed() const {
    return yesNo_.empty() && yesNoCancel_.empty() && files_.empty() && folders_.empty();
}

void ScriptedUi::message(const std::string& text, const std::string& caption, Icon icon, const std::string& detail) {
    messages.push_back({text, caption, icon, detail});
}

bool ScriptedUi::askYesNo(const std::string& text, const std::string& caption) {
    questions.push_back({text, caption});
    return take(yesNo_, "the yes/no question \"" + text + "\"");
}

movrane::Ui::Answer ScriptedUi::askYesNoCancel(const std::string& text, const std::string& caption) {
    questions.push_back({text, caption});
    return take(yesNoCancel_, "the yes/no/cancel question \"" + text + "\"");
}

std::optional<std::string> ScriptedUi::chooseFileToOpen(const FileRequest& request) {
    openRequests.push_back(request);
    return take(files_, "the file chooser \"" + request.title + "\"");
}

std::optional<std::string> ScriptedUi::chooseFileToSave(const FileRequest& request) {
    saveRequests.push_back(request);
    return take(files_, "the save chooser \"" + request.title + "\"");
}

std::optional<std::string> ScriptedUi::chooseFolder(const std::string& title, const std::string&) {
    folderTitles.push_back(title);
    return take(folders_, "the folder chooser \"" + title + "\"");
}

void ScriptedUi::beginWaitWindow(const std::string& text) {
    ++waitWindowDepth;
    waitWindows.push_back(text);
}

void ScriptedUi::beginProgress(int total) {
    ++progressDepth;
    progress.push_back(total);
}

bool ScriptedUi::openWithDefaultHandler(const std::string& pathOrUrl) {
    opened.push_back(pathOrUrl);
    return openSucceeds;
}

}  // namespace testsupport
