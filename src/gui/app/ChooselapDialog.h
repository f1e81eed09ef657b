#pragma once

#include <QDialog>

#include "core/app/Chooselap.h"

class QFormLayout;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace movrane {
class Ui;
}

namespace movrane::gui {

// The lap chooser's window: the replay's information, the tree of drivers and laps
// (valid laps in bold) and the labels of the selection. OK asks the chooser first.
class ChooselapDialog : public QDialog {
    Q_OBJECT
public:
    ChooselapDialog(Chooselap& chooser, Ui* ui, QWidget* parent);

    QTreeWidget* tree() const { return tree_; }
    // Selects a lap node as a click would.
    bool selectLap(uint32_t driver, Session session, int lap);
    QString driverKindText() const;
    QString sessionText() const;
    QString flagsText() const;

    void accept() override;

private:
    void buildInformation(QFormLayout* form);
    void buildTree();
    void selectionChanged();
    void lapDoubleClicked(QTreeWidgetItem* item);
    void showLabels();
    void showQualityReport();

    Chooselap& chooser_;
    Ui* ui_;
    QTreeWidget* tree_;
    QLabel* driverKind_;
    QLabel* alien_;
    QLabel* session_;
    QLabel* flags_;
};

}  // namespace movrane::gui
