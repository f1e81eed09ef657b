#include "gui/graph/SelectGraphsToPrintDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "core/analysis/GraphChannels.h"

namespace movrane::gui {

namespace {
constexpr int COLUMNS = 2;
}

SelectGraphsToPrintDialog::SelectGraphsToPrintDialog(SelectGraphsToPrint& selection, QWidget* parent)
    : QDialog(parent), selection_(selection) {
    setWindowTitle(QString::fromLatin1(SelectGraphsToPrint::TITLE));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromLatin1(selection.primaryText().c_str())));
    auto* group = new QGroupBox(QString::fromLatin1(SelectGraphsToPrint::PROMPT));
    auto* grid = new QGridLayout(group);
    int index = 0;
    for (int channel : selection.choices()) {
        auto* box = new QCheckBox(QString::fromLatin1(graphChannel(channel).button));
        box->setChecked(selection.chosen(channel));
        connect(box, &QCheckBox::toggled, this, [this, box, channel](bool on) {
            if (!selection_.setChosen(channel, on)) {
                const QSignalBlocker block(box);
                box->setChecked(false);
            }
        });
        boxes_[channel] = box;
        grid->addWidget(box, index / COLUMNS, index % COLUMNS);
        ++index;
    }
    layout->addWidget(group);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

}  // namespace movrane::gui
