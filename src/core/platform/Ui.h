#pragma once

#include <optional>
#include <string>
#include <vector>

namespace movrane {

// Everything the core asks or tells a person goes through this port. The desktop
// program shows real dialogs, the command line answers without asking, tests script
// the answers and record every message so the exact texts can be checked.
class Ui {
public:
    enum class Icon { Information, Warning };
    enum class Answer { Yes, No, Cancel };

    // One entry of a file chooser's filter list: "ORV.exe File (orv.exe)" / "orv.exe".
    struct Filter {
        std::string description;
        std::string pattern;  // ';'-separated glob patterns
    };
    struct FileRequest {
        std::string title;
        std::vector<Filter> filters;
        std::string initialPath;  // folder or file to start in; may be empty
        std::string defaultExtension;  // save choosers: appended when the name has none
    };

    virtual ~Ui() = default;

    // A modal message box. An empty caption means the program's own title. A detail, when
    // given, is what a person can act on beyond the fixed text (a path, a reason); the box
    // offers it as its detailed text.
    virtual void message(const std::string& text, const std::string& caption = {}, Icon icon = Icon::Information,
                         const std::string& detail = {}) = 0;
    virtual bool askYesNo(const std::string& text, const std::string& caption = {}) = 0;
    virtual Answer askYesNoCancel(const std::string& text, const std::string& caption = {}) = 0;

    // The chosen path, or nothing when the person cancelled.
    virtual std::optional<std::string> chooseFileToOpen(const FileRequest& request) = 0;
    virtual std::optional<std::string> chooseFileToSave(const FileRequest& request) = 0;
    virtual std::optional<std::string> chooseFolder(const std::string& title, const std::string& initialFolder) = 0;

    // Long work: an hourglass, a small window with a text, or a progress bar. Use the
    // guards below so every begin meets its end, also when the work throws.
    virtual void beginWaitCursor() = 0;
    virtual void endWaitCursor() = 0;
    virtual void beginWaitWindow(const std::string& text) = 0;
    virtual void endWaitWindow() = 0;
    virtual void beginProgress(int total) = 0;
    virtual void setProgress(int done) = 0;
    virtual void endProgress() = 0;

    // Opens a file or URL with the desktop's default handler; false when that failed.
    virtual bool openWithDefaultHandler(const std::string& pathOrUrl) = 0;
    virtual void setClipboardText(const std::string& text) = 0;
    // Plays one of the program's sound resources by its number.
    virtual void playSound(int resource) = 0;
};

class WaitCursor {
public:
    explicit WaitCursor(Ui& ui) : ui_(ui) { ui_.beginWaitCursor(); }
    ~WaitCursor() { ui_.endWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    Ui& ui_;
};

class WaitWindow {
public:
    WaitWindow(Ui& ui, const std::string& text) : ui_(ui) { ui_.beginWaitWindow(text); }
    ~WaitWindow() { ui_.endWaitWindow(); }
    WaitWindow(const WaitWindow&) = delete;
    WaitWindow& operator=(const WaitWindow&) = delete;

private:
    Ui& ui_;
};

class Progress {
public:
    Progress(Ui& ui, int total) : ui_(ui) { ui_.beginProgress(total); }
    ~Progress() { ui_.endProgress(); }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;
    void set(int done) { ui_.setProgress(done); }

private:
    Ui& ui_;
};

}  // namespace movrane
