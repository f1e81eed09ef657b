#pragma once

#include <QDialog>
#include <memory>

#include "core/reports/ReportViewer.h"

class QLabel;
class QPlainTextEdit;
class QPrinter;

namespace movrane {
class Ui;
}

namespace movrane::gui {

// The report window: title line, the read-only fixed-pitch text view, "Close",
// "Export to file" and "Print". Deferred kinds start when the view first gets the focus.
class ReportWindow : public QDialog {
    Q_OBJECT
public:
    ReportWindow(std::unique_ptr<ReportViewer> viewer, Ui& ui, QWidget* parent);

    QPlainTextEdit* textView() const { return view_; }
    QString titleText() const;
    ReportViewer& viewer() { return *viewer_; }

    void exportToFile();
    void print();
    // Prints the whole text word-wrapped to the printer's page width.
    void printTo(QPrinter& printer) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void showText(const std::string& viewText);

    std::unique_ptr<ReportViewer> viewer_;
    Ui& ui_;
    QLabel* title_;
    QPlainTextEdit* view_;
};

}  // namespace movrane::gui
