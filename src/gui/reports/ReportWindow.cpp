#include "gui/reports/ReportWindow.h"

#include <QEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextOption>
#include <QVBoxLayout>

#include "core/app/Commands.h"
#include "gui/platform/QtUi.h"

namespace movrane::gui {

namespace {
constexpr char PRINT_FONT[] = "MS Sans Serif";
constexpr int PRINT_POINT_SIZE = 9;
}  // namespace

ReportWindow::ReportWindow(std::unique_ptr<ReportViewer> viewer, Ui& ui, QWidget* parent)
    : QDialog(parent), viewer_(std::move(viewer)), ui_(ui), title_(new QLabel(this)), view_(new QPlainTextEdit(this)) {
    setWindowTitle(MAIN_TITLE);
    resize(900, 640);
    QFont titleFont = title_->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    title_->setFont(titleFont);
    title_->setText(fromCore(viewer_->titleLine()));

    view_->setReadOnly(true);
    view_->setLineWrapMode(QPlainTextEdit::NoWrap);
    view_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    view_->setMaximumBlockCount(0);
    view_->installEventFilter(this);

    auto* close = new QPushButton(QStringLiteral("Close"), this);
    auto* exportButton = new QPushButton(QStringLiteral("Export to file"), this);
    auto* printButton = new QPushButton(QStringLiteral("Print"), this);
    for (QPushButton* b : {close, exportButton, printButton}) b->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(exportButton, &QPushButton::clicked, this, &ReportWindow::exportToFile);
    connect(printButton, &QPushButton::clicked, this, &ReportWindow::print);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(exportButton);
    buttons->addWidget(printButton);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addWidget(view_, 1);
    layout->addLayout(buttons);

    viewer_->setViewSink([this](const std::string& text) { showText(text); });
    viewer_->open();
    showText(viewer_->viewText());
}

QString ReportWindow::titleText() const { return title_->text(); }

void ReportWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    view_->setFocus(Qt::OtherFocusReason);
}

bool ReportWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::FocusIn && viewer_->pendingKind() != 0) {
        title_->setText(fromCore(viewer_->titleLine()));
        viewer_->focusGained();
    }
    return QDialog::eventFilter(watched, event);
}

// The whole view text anew, scrolled so that its end shows, painted at once.
void ReportWindow::showText(const std::string& viewText) {
    view_->setPlainText(fromCore(viewText));
    view_->verticalScrollBar()->setValue(view_->verticalScrollBar()->maximum());
    view_->repaint();
}

void ReportWindow::exportToFile() { viewer_->exportToFile(ui_); }

void ReportWindow::print() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    printTo(printer);
}

void ReportWindow::printTo(QPrinter& printer) const {
    QTextDocument document;
    QFont font(QString::fromLatin1(PRINT_FONT), PRINT_POINT_SIZE);
    document.setDefaultFont(font);
    QTextOption option = document.defaultTextOption();
    option.setWrapMode(QTextOption::WordWrap);
    document.setDefaultTextOption(option);
    document.setPlainText(fromCore(viewer_->fullText()));
    document.print(&printer);
}

}  // namespace movrane::gui
