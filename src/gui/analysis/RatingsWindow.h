#pragma once

#include <QDialog>

#include "core/analysis/Ratings.h"

class QStackedWidget;
class QTableWidget;

namespace movrane {
class CZodEvadiDoc;
class Ui;
}  // namespace movrane

namespace movrane::gui {

// "Ratings - Traction Circle Statistics": the ratings table of the loaded laps, the
// information text shown over it on request, and the copy to the clipboard.
class RatingsWindow : public QDialog {
    Q_OBJECT
public:
    RatingsWindow(const CZodEvadiDoc& doc, Ui& ui, QWidget* parent = nullptr);

    const Ratings& ratings() const { return ratings_; }
    QTableWidget* table() const { return table_; }
    void toggleInformation();

private:
    Ratings ratings_;
    Ui& ui_;
    QStackedWidget* pages_;
    QTableWidget* table_;
};

}  // namespace movrane::gui
