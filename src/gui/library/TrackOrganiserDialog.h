#pragma once

#include <QDialog>

#include "core/library/TrackOrganiser.h"

class QLabel;
class QLineEdit;
class QTreeWidget;

namespace movrane::gui {

class DialogHost;

// "Edit Track Properties".
class EditTrackPropDialog : public QDialog {
    Q_OBJECT
public:
    EditTrackPropDialog(const SeasonEvent& event, QWidget* parent);
    SeasonEvent event() const;

private:
    std::array<QLineEdit*, SeasonEvent::FIELD_COUNT> fields_{};
};

// "Track Organizer" over TrackOrganiser: rows are moved by dragging them.
class TrackOrganiserDialog : public QDialog, private EditTrackProp {
    Q_OBJECT
public:
    TrackOrganiserDialog(TrackOrganiser& organiser, DialogHost& host, QWidget* parent);
    void reject() override;
    QTreeWidget* list() const { return list_; }

private:
    std::optional<SeasonEvent> edit(const SeasonEvent& event) override;
    std::vector<int> selectedRows() const;
    void showRows();

    TrackOrganiser& organiser_;
    DialogHost& host_;
    QTreeWidget* list_;
    QLabel* count_;
};

}  // namespace movrane::gui
