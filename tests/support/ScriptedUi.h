#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/Ui.h"

namespace testsupport {

// A Ui for tests: answers come from queues filled beforehand, and every call is
// recorded so tests can assert exact texts and captions. A question or chooser
// without a queued answer throws, so a flow that asks more than the test expects
// fails at once instead of waiting.
class ScriptedUi : public movrane::Ui {
public:
    struct Message {
        std::string text;
        std::string caption;
        Icon icon;
        std::string detail;
    };
    struct Question {
        std::string text;
        std::string caption;
    };

    // Queued answers, consumed in order.
    void queueYesNo(bool answer) { yesNo_.push_back(answer); }
    void queueYesNoCancel(Answer answer) { yesNoCancel_.push_back(answer); }
    void queueFile(std::optional<std::string> path) { files_.push_back(std::move(path)); }
    void queueFolder(std::optional<std::string> path) { folders_.push_back(std::move(path)); }

    // What the code under test did.
    std::vector<Message> messages;
    std::vector<Question> questions;
    std::vector<FileRequest> openRequests;
    std::vector<FileRequest> saveRequests;
    std::vector<std::string> folderTitles;
    std::vector<std::string> opened;
    std::vector<std::string> clipboard;
    std::vector<int> sounds;
    std::vector<std::string> waitWindows;
    std::vector<int> progress;  // totals as begun, then each position set
    int waitCursorDepth = 0;
    int waitWindowDepth = 0;
    int progressDepth = 0;
    bool openSucceeds = true;

    // Every queue used up.
    bool allAnswersUsed() const;

    void message(const std::string& text, const std::string& caption, Icon icon, const std::string& detail) override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
    Answer askYesNoCancel(const std::string& text, const std::string& caption) override;
    std::optional<std::string> chooseFileToOpen(const FileRequest& request) override;
    std::optional<std::string> chooseFileToSave(const FileRequest& request) override;
    std::optional<std::string> chooseFolder(const std::string& title, const std::string& initialFolder) override;
    void beginWaitCursor() override { ++waitCursorDepth; }
    void endWaitCursor() override { --waitCursorDepth; }
    void beginWaitWindow(const std::string& text) override;
    void endWaitWindow() override { --waitWindowDepth; }
    void beginProgress(int total) override;
    void setProgress(int done) override { progress.push_back(done); }
    void endProgress() override { --progressDepth; }
    bool openWithDefaultHandler(const std::string& pathOrUrl) override;
    void setClipboardText(const std::string& text) override { clipboard.push_back(text); }
    void playSound(int resource) override { sounds.push_back(resource); }

private:
    std::deque<bool> yesNo_;
    std::deque<Answer> yesNoCancel_;
    std::deque<std::optional<std::string>> files_;
    std::deque<std::optional<std::string>> folders_;
};

}  // namespace testsupport
