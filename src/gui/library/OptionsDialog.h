#pragma once

#include <QDialog>

#include "core/library/Options.h"

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QRadioButton;

namespace movrane::gui {

// The "Settings" window over the Options behaviour: the controls show its fields, the
// Browse buttons and OK go through it. OK stays open when the person cancels the
// "Locate ORV.EXE" chooser.
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    OptionsDialog(Options& options, QWidget* parent);

    void accept() override;
    QLineEdit* orvPathField() const { return orvPath_; }
    QLineEdit* bitmapSizeField() const { return bitmapSize_; }

private:
    QLineEdit* pathRow(QGridLayout* grid, int row, const char* caption, void (OptionsDialog::*browse)());
    void browseOrv();
    void browseAlt();
    void browseExport();
    void showFields(const Options& options);
    void take(Options& options) const;

    Options& options_;
    QRadioButton* kph_;
    QRadioButton* mph_;
    QCheckBox* qualityReport_;
    QLineEdit* orvPath_;
    QLineEdit* altRpyPath_;
    QLineEdit* exportPath_;
    QCheckBox* retirement_;
    QCheckBox* offTrack_;
    QLineEdit* bitmapSize_;
    QCheckBox* exclusion_;
    QLineEdit* orvRankHost_;
};

}  // namespace movrane::gui
