#include "gui/reports/LoadedFileChooserDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/platform/QtUi.h"

namespace movrane::gui {

LoadedFileChooserDialog::LoadedFileChooserDialog(const std::string& title, const std::vector<std::string>& options,
                                                 QWidget* parent)
    : QDialog(parent), group_(new QButtonGroup(this)) {
    setWindowTitle(fromCore(title));
    auto* layout = new QVBoxLayout(this);
    bool first = true;
    for (std::size_t i = 0; i < options.size(); ++i) {
        auto* button = new QRadioButton(pathFromCore(options[i]), this);
        group_->addButton(button, static_cast<int>(i));
        layout->addWidget(button);
        if (options[i].empty()) {
            button->setEnabled(false);
            button->hide();
        } else if (first) {
            button->setChecked(true);
            first = false;
        }
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    fitWidthToTitle(*this);
}

std::optional<std::size_t> LoadedFileChooserDialog::chosen() const {
    const int id = group_->checkedId();
    if (id < 0) return std::nullopt;
    return static_cast<std::size_t>(id);
}

void LoadedFileChooserDialog::choose(std::size_t option) {
    if (auto* button = group_->button(static_cast<int>(option)); button && button->isEnabled()) button->setChecked(true);
}

}  // namespace movrane::gui
