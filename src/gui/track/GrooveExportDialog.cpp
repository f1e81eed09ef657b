#include "gui/track/GrooveExportDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "gui/platform/QtUi.h"

namespace movrane::gui {

GrooveExportDialog::GrooveExportDialog(const GrooveSettings& settings, QWidget* parent)
    : QDialog(parent),
      resolution_(new QComboBox(this)),
      newWay_(new QRadioButton(QStringLiteral("Use Total Acceleration to calculate darkness (new way)"), this)),
      oldWay_(new QRadioButton(QStringLiteral("Use combination of acceleration and roll (old way)"), this)),
      accelerationFactor_(new QLineEdit(QString::number(settings.accelerationFactor), this)),
      rollFactor_(new QLineEdit(QString::number(settings.rollFactor), this)),
      width_(new QLineEdit(fromCore(settings.widthText), this)) {
    setWindowTitle(TITLE);
    for (const std::string& text : GrooveSettings::resolutionTexts()) resolution_->addItem(fromCore(text));
    resolution_->setCurrentIndex(settings.resolutionIndex);
    newWay_->setChecked(settings.newWay);
    oldWay_->setChecked(!settings.newWay);
    for (QLineEdit* factor : {accelerationFactor_, rollFactor_}) {
        factor->setValidator(new QIntValidator(0, 999, factor));
        factor->setMaxLength(3);
    }
    width_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*\\.?[0-9]*")), width_));
    width_->setMaxLength(static_cast<int>(GrooveSettings::WIDTH_LENGTH));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Resolution (meters):"), resolution_);
    form->addRow(newWay_);
    form->addRow(oldWay_);
    form->addRow(QStringLiteral("Acceleration factor(%):"), accelerationFactor_);
    form->addRow(QStringLiteral("Roll factor(%):"), rollFactor_);
    form->addRow(QStringLiteral("Groove width(meters):"), width_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &GrooveExportDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(newWay_, &QRadioButton::toggled, this, &GrooveExportDialog::wayChanged);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    wayChanged();
}

void GrooveExportDialog::wayChanged() {
    const bool old = oldWay_->isChecked();
    accelerationFactor_->setEnabled(old);
    rollFactor_->setEnabled(old);
}

bool GrooveExportDialog::read(GrooveSettings& settings) const {
    GrooveSettings read = settings;
    read.resolutionIndex = resolution_->currentIndex();
    read.newWay = newWay_->isChecked();
    read.widthText = toCore(width_->text());
    if (!GrooveSettings::validWidth(read.widthText)) return false;
    if (!read.newWay) {
        if (!GrooveSettings::parseFactor(toCore(accelerationFactor_->text()), read.accelerationFactor)) return false;
        if (!GrooveSettings::parseFactor(toCore(rollFactor_->text()), read.rollFactor)) return false;
    }
    settings = read;
    return true;
}

// A width that is no number, or the old way with a factor field that holds no number
// 0 .. 999, keeps the window open with the field to mend in focus.
void GrooveExportDialog::accept() {
    GrooveSettings check;
    if (!read(check)) {
        const bool widthWrong = !GrooveSettings::validWidth(toCore(width_->text()));
        (widthWrong ? width_ : accelerationFactor_)->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace movrane::gui
