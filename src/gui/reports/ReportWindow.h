#pragma once

#include <QDialog>
#include <QFont>
#include <memory>

#include "core/app/WindowState.h"
#include "core/reports/ReportViewer.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPrinter;

namespace movrane {
class Ui;
}

namespace movrane::gui {

// The report window: title line, the read-only fixed-pitch text view, a find box,
// "Close", "Export to file" and "Print". Deferred kinds start when the view first gets
// the focus. The window opens at the top of the text with the focus in the view; its
// size is kept between runs.
class ReportWindow : public QDialog {
    Q_OBJECT
public:
    ReportWindow(std::unique_ptr<ReportViewer> viewer, Ui& ui, QWidget* parent);

    QPlainTextEdit* textView() const { return view_; }
    QLineEdit* findBox() const { return findBox_; }
    QString titleText() const;
    ReportViewer& viewer() { return *viewer_; }

    void exportToFile();
    void print();
    // Prints the whole text in the view's fixed-pitch font at PRINT_POINT_SIZE, so that
    // the columns line up as on the screen; lines wider than the page wrap.
    void printTo(QPrinter& printer) const;
    QFont printFont() const;
    static constexpr int PRINT_POINT_SIZE = 9;

    // Ctrl+F: into the find box. F3 / Shift+F3: the next or previous place of its text,
    // going round the report's end; false when the text is nowhere.
    void startFind();
    bool findNext();
    bool findPrevious();

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void addShortcuts();
    void showText(const std::string& viewText);
    void showFromTop();
    bool find(bool backwards);

    std::unique_ptr<ReportViewer> viewer_;
    Ui& ui_;
    WindowState windowState_;
    QLabel* title_;
    QPlainTextEdit* view_;
    QLineEdit* findBox_;
    QLabel* findResult_;
};

}  // namespace movrane::gui
