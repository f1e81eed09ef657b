#pragma once

#include <QDialog>

#include "core/app/LoadedLapsArranger.h"

class QTreeWidget;

namespace movrane::gui {

// "Move/Remove loaded replay laps" over LoadedLapsArranger; the caller applies the
// arranger to the document when the dialog is accepted.
class LoadedLapsArrangerDialog : public QDialog {
    Q_OBJECT
public:
    LoadedLapsArrangerDialog(LoadedLapsArranger& arranger, QWidget* parent);

private:
    std::optional<int> selected() const;
    void showRows(std::optional<int> selection);

    LoadedLapsArranger& arranger_;
    QTreeWidget* list_;
};

}  // namespace movrane::gui
