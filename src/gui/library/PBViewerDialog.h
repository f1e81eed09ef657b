#pragma once

#include <QDialog>

#include "core/library/PBViewer.h"
#include "core/library/RecordsExport.h"

class QCheckBox;
class QComboBox;
class QTreeWidget;

namespace movrane::gui {

class DialogHost;

// "Personal Best Laps Viewer" over PBViewer; the upload and the rank calculator open
// through `host`.
class PBViewerDialog : public QDialog {
    Q_OBJECT
public:
    PBViewerDialog(PBViewer& viewer, Ui& ui, DialogHost& host, const std::vector<std::string>& players,
                   int defaultPlayer, std::string exportFolder, QWidget* parent);
    // The player chosen last, -1 for none.
    int chosenPlayer() const;

private:
    void showRows();

    PBViewer& viewer_;
    Ui& ui_;
    DialogHost& host_;
    std::string exportFolder_;
    QComboBox* players_;
    QTreeWidget* list_;
};

// "Record Export - Choose Driver": fills a RecordsExportChoice.
class RecordsExportDialog : public QDialog {
    Q_OBJECT
public:
    RecordsExportDialog(const std::vector<std::string>& players, int defaultPlayer, QWidget* parent);
    RecordsExportChoice choice() const;

private:
    QComboBox* players_;
    QCheckBox* launch_;
    QCheckBox* completeLaps_;
    QCheckBox* scanReplays_;
};

}  // namespace movrane::gui
