#include "gui/library/OptionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "gui/platform/QtUi.h"

namespace movrane::gui {

namespace {
// The widgets of a layout and its nested layouts in layout order: row by row, each row
// from left to right.
void collectInLayoutOrder(QLayout* layout, QList<QWidget*>& widgets) {
    auto* grid = qobject_cast<QGridLayout*>(layout);
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = grid ? nullptr : layout->itemAt(i);
        if (grid) {
            const int row = i / grid->columnCount();
            const int column = i % grid->columnCount();
            item = grid->itemAtPosition(row, column);
            if (!item) continue;
        }
        if (QWidget* widget = item->widget()) {
            if (widget->layout()) collectInLayoutOrder(widget->layout(), widgets);
            else widgets << widget;
        } else if (item->layout()) {
            collectInLayoutOrder(item->layout(), widgets);
        }
    }
}

// Tab moves through the dialog from top to bottom as its layout shows it.
void setTabOrderFromLayout(QWidget& dialog) {
    QList<QWidget*> widgets;
    collectInLayoutOrder(dialog.layout(), widgets);
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (widget->focusPolicy() == Qt::NoFocus && !widget->focusProxy()) continue;
        if (previous) QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}
}  // namespace

OptionsDialog::OptionsDialog(Options& options, QWidget* parent)
    : QDialog(parent),
      options_(options),
      kph_(new QRadioButton(QStringLiteral("KPH"), this)),
      mph_(new QRadioButton(QStringLiteral("MPH"), this)),
      qualityReport_(new QCheckBox(QStringLiteral("Quality report when adding replay"), this)),
      retirement_(new QCheckBox(QStringLiteral("Include retirement reason in Race Report"), this)),
      offTrack_(new QCheckBox(QStringLiteral("Remove off the track info in LapByLap"), this)),
      bitmapSize_(new QLineEdit(this)),
      exclusion_(new QCheckBox(QStringLiteral("Display messages when excluding VizUziv generated replays"), this)),
      orvRankHost_(new QLineEdit(this)) {
    setWindowTitle(Options::TITLE);
    auto* layout = new QVBoxLayout(this);

    auto* units = new QHBoxLayout;
    units->addWidget(kph_);
    units->addWidget(mph_);
    units->addStretch();
    layout->addLayout(units);
    layout->addWidget(qualityReport_);

    auto* paths = new QGridLayout;
    orvPath_ = pathRow(paths, 0, "Orv Path", &OptionsDialog::browseOrv);
    altRpyPath_ = pathRow(paths, 1, Options::ALT_RPY_TITLE, &OptionsDialog::browseAlt);
    exportPath_ = pathRow(paths, 2, Options::EXPORT_TITLE, &OptionsDialog::browseExport);
    for (QLineEdit* field : {orvPath_, altRpyPath_, exportPath_})
        field->setMaxLength(static_cast<int>(Options::PATH_LIMIT));
    layout->addLayout(paths);

    layout->addWidget(retirement_);
    layout->addWidget(offTrack_);
    auto* size = new QHBoxLayout;
    size->addWidget(new QLabel(QStringLiteral("Size of exported BMP file (pixels):"), this));
    bitmapSize_->setMaxLength(static_cast<int>(Options::BITMAP_SIZE_LIMIT));
    bitmapSize_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), bitmapSize_));
    size->addWidget(bitmapSize_);
    size->addStretch();
    layout->addLayout(size);
    layout->addWidget(exclusion_);
    auto* server = new QHBoxLayout;
    server->addWidget(new QLabel(QString::fromLatin1(Options::ORVRANK_HOST_CAPTION), this));
    server->addWidget(orvRankHost_, 1);
    layout->addLayout(server);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &OptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setTabOrderFromLayout(*this);
    showFields(options_);
}

QLineEdit* OptionsDialog::pathRow(QGridLayout* grid, int row, const char* caption, void (OptionsDialog::*browse)()) {
    auto* field = new QLineEdit(this);
    field->setMinimumWidth(320);
    auto* button = new QPushButton(QStringLiteral("Browse"), this);
    connect(button, &QPushButton::clicked, this, browse);
    grid->addWidget(new QLabel(QString::fromLatin1(caption), this), row, 0);
    grid->addWidget(field, row, 1);
    grid->addWidget(button, row, 2);
    return field;
}

void OptionsDialog::showFields(const Options& o) {
    kph_->setChecked(!o.mph);
    mph_->setChecked(o.mph);
    qualityReport_->setChecked(o.qualityReport);
    orvPath_->setText(pathFromCore(o.orvPath));
    altRpyPath_->setText(pathFromCore(o.altRpyPath));
    exportPath_->setText(pathFromCore(o.exportPath));
    retirement_->setChecked(o.retirementReason);
    offTrack_->setChecked(o.offTrackLines);
    bitmapSize_->setText(fromCore(o.bitmapSize));
    exclusion_->setChecked(o.exclusionMessages);
    orvRankHost_->setText(fromCore(o.orvRankHost));
}

void OptionsDialog::take(Options& o) const {
    o.mph = mph_->isChecked();
    o.qualityReport = qualityReport_->isChecked();
    o.orvPath = pathToCore(orvPath_->text());
    o.altRpyPath = pathToCore(altRpyPath_->text());
    o.exportPath = pathToCore(exportPath_->text());
    o.retirementReason = retirement_->isChecked();
    o.offTrackLines = offTrack_->isChecked();
    o.bitmapSize = toCore(bitmapSize_->text());
    o.exclusionMessages = exclusion_->isChecked();
    o.orvRankHost = toCore(orvRankHost_->text());
}

void OptionsDialog::browseOrv() {
    take(options_);
    options_.browseOrvPath();
    showFields(options_);
}

void OptionsDialog::browseAlt() {
    take(options_);
    options_.browseAltRpyPath();
    showFields(options_);
}

void OptionsDialog::browseExport() {
    take(options_);
    options_.browseExportPath();
    showFields(options_);
}

void OptionsDialog::accept() {
    take(options_);
    const bool stored = options_.ok();
    showFields(options_);
    if (stored) QDialog::accept();
}

}  // namespace movrane::gui
