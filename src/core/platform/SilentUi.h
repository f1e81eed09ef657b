#pragma once

#include <cstdio>

#include "core/platform/Ui.h"

namespace movrane {

// The Ui of the command line: messages go to a stream (stderr unless told otherwise,
// or nowhere with nullptr), questions get their safe answer (No, Cancel), choosers
// are cancelled, and nothing is opened, copied or played.
class SilentUi : public Ui {
public:
    explicit SilentUi(std::FILE* messages = stderr) : out_(messages) {}

    void message(const std::string& text, const std::string& caption, Icon icon, const std::string& detail) override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
    Answer askYesNoCancel(const std::string& text, const std::string& caption) override;
    std::optional<std::string> chooseFileToOpen(const FileRequest&) override { return std::nullopt; }
    std::optional<std::string> chooseFileToSave(const FileRequest&) override { return std::nullopt; }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override { return std::nullopt; }
    void beginWaitCursor() override {}
    void endWaitCursor() override {}
    void beginWaitWindow(const std::string&) override {}
    void endWaitWindow() override {}
    void beginProgress(int) override {}
    void setProgress(int) override {}
    void endProgress() override {}
    bool openWithDefaultHandler(const std::string&) override { return false; }
    void setClipboardText(const std::string&) override {}
    void playSound(int) override {}

private:
    void print(const std::string& caption, const std::string& text);

    std::FILE* out_;
};

}  // namespace movrane
