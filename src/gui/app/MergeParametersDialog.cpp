#include "gui/app/MergeParametersDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "gui/platform/QtUi.h"

namespace movrane::gui {

MergeParametersDialog::MergeParametersDialog(MergeParameters& parameters, Ui* ui, QWidget* parent)
    : QDialog(parent), parameters_(parameters), ui_(ui) {
    setWindowTitle(MergeParameters::TITLE);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Driver"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Lap time"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Time offset (ms)"), this), 0, 2);
    int line = 1;
    for (const MergeParameters::Row& row : parameters.rows()) {
        auto* field = new QLineEdit(fromCore(row.offset), this);
        field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.,]*")), field));
        grid->addWidget(new QLabel(fromCore(row.driver), this), line, 0);
        grid->addWidget(new QLabel(fromCore(row.lapTime), this), line, 1);
        grid->addWidget(field, line, 2);
        fields_.push_back(field);
        ++line;
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &MergeParametersDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Each lap starts this many milliseconds ahead of a lap with offset 0:"), this));
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

void MergeParametersDialog::accept() {
    for (std::size_t i = 0; i < fields_.size(); ++i) parameters_.setOffsetText(i, toCore(fields_[i]->text()));
    if (ui_ && !parameters_.offsets(*ui_)) return;
    QDialog::accept();
}

}  // namespace movrane::gui
