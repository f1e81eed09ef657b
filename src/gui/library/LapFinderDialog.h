#pragma once

#include <QDialog>
#include <optional>
#include <vector>

#include "core/library/LapFinder.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QMenu;
class QTreeWidget;

namespace movrane {
class DriveList;
}

namespace movrane::gui {

// The "Lap Finder" window over LapFinder: the track chooser, the filter and sort
// buttons, the list, and OK, which keeps the laps to load in accepted().
class LapFinderDialog : public QDialog {
    Q_OBJECT
public:
    // `initialTrack` (the first loaded lap's track) is chosen and scanned at once.
    LapFinderDialog(LapFinder& finder, const DriveList& drives, int loadedLaps, const std::string& initialTrack,
                    QWidget* parent);

    void accept() override;
    const std::vector<LapFinder::LapRequest>& accepted() const { return accepted_; }
    QTreeWidget* list() const { return list_; }
    // The list's right-button menu.
    QMenu* listMenu() const { return listMenu_; }

private:
    void chooseTrack(int index);
    void showRows();
    std::vector<int> selectedRows() const;

    LapFinder& finder_;
    const DriveList& drives_;
    int loadedLaps_;
    QComboBox* tracks_;
    QButtonGroup* filters_;
    QButtonGroup* sorts_;
    QTreeWidget* list_;
    QLabel* count_;
    QLabel* status_;
    QMenu* listMenu_;
    std::vector<LapFinder::LapRequest> accepted_;
};

}  // namespace movrane::gui
