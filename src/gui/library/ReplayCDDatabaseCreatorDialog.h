#pragma once

#include <QDialog>

#include "core/library/ReplayCDDatabaseCreator.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace movrane::gui {

class DialogHost;

// "Enter database filename".
class RpyDBFilenameDialog : public QDialog {
    Q_OBJECT
public:
    RpyDBFilenameDialog(const std::string& proposed, QWidget* parent);
    std::string name() const;

private:
    QLineEdit* name_;
};

// "Replay CD Database Creator" over ReplayCDDatabaseCreator; the file name is asked
// through the host.
class ReplayCDDatabaseCreatorDialog : public QDialog, private RpyDBFilename {
    Q_OBJECT
public:
    ReplayCDDatabaseCreatorDialog(ReplayCDDatabaseCreator& creator, DialogHost& host, QWidget* parent);

private:
    std::optional<std::string> askName(const std::string& proposed) override;
    void showDrives();

    ReplayCDDatabaseCreator& creator_;
    DialogHost& host_;
    QComboBox* drives_;
    QPushButton* create_;
};

}  // namespace movrane::gui
