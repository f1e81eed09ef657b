#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

class QButtonGroup;

namespace movrane::gui {

// "Feature only based on one file - choose which to use": one option per lap slot,
// named by its file; options without a file are disabled and hidden.
class LoadedFileChooserDialog : public QDialog {
    Q_OBJECT
public:
    LoadedFileChooserDialog(const std::string& title, const std::vector<std::string>& options, QWidget* parent);

    std::optional<std::size_t> chosen() const;
    void choose(std::size_t option);

private:
    QButtonGroup* group_;
};

}  // namespace movrane::gui
