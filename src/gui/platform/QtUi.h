#pragma once

#include <QPointer>
#include <functional>
#include <memory>

#include "core/platform/FileDialogFolders.h"
#include "core/platform/Ui.h"

class QMessageBox;
class QProgressDialog;
class QWidget;

namespace movrane::gui {

// The Ui port on Qt's dialogs: message boxes, file and folder choosers, the wait cursor,
// wait and progress windows, the desktop's default handlers and the clipboard.
class QtUi : public Ui {
public:
    QtUi();
    ~QtUi() override;

    // The window the dialogs belong to.
    void setParent(QWidget* parent) { parent_ = parent; }
    // Shows each message box; tests and the screenshot tool look at a box instead of
    // waiting in its modal loop.
    using MessageBoxRunner = std::function<int(QMessageBox&)>;
    void setMessageBoxRunner(MessageBoxRunner runner) { messageBoxRunner_ = std::move(runner); }

    void message(const std::string& text, const std::string& caption, Icon icon, const std::string& detail) override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
    Answer askYesNoCancel(const std::string& text, const std::string& caption) override;
    std::optional<std::string> chooseFileToOpen(const FileRequest& request) override;
    std::optional<std::string> chooseFileToSave(const FileRequest& request) override;
    std::optional<std::string> chooseFolder(const std::string& title, const std::string& initialFolder) override;
    void beginWaitCursor() override;
    void endWaitCursor() override;
    void beginWaitWindow(const std::string& text) override;
    void endWaitWindow() override;
    void beginProgress(int total) override;
    void setProgress(int done) override;
    void endProgress() override;
    bool openWithDefaultHandler(const std::string& pathOrUrl) override;
    void setClipboardText(const std::string& text) override;
    void playSound(int resource) override;

private:
    int show(QMessageBox& box);

    QPointer<QWidget> parent_;
    MessageBoxRunner messageBoxRunner_;
    FileDialogFolders folders_;
    std::unique_ptr<QProgressDialog> waitWindow_;
    std::unique_ptr<QProgressDialog> progress_;
};

// Texts of the core are ISO-8859-1 bytes.
QString fromCore(const std::string& text);
std::string toCore(const QString& text);
// Paths go through the file system's own encoding.
QString pathFromCore(const std::string& path);
std::string pathToCore(const QString& path);

// Widens a window so that the window manager can show its whole title (some dialogs ask
// their only question there).
void fitWidthToTitle(QWidget& window);
void fitWidthToTitle(QMessageBox& box);

// "Replay files (*.rpy);;All Files(*.*)" of a request's filters.
QString filterText(const Ui::FileRequest& request);

}  // namespace movrane::gui
