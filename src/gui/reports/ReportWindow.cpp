#include "gui/reports/ReportWindow.h"

#include <QEvent>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextDocument>
#include <QTextOption>
#include <QVBoxLayout>

#include "core/app/Commands.h"
#include "gui/platform/QtUi.h"

namespace movrane::gui {

namespace {
constexpr int DEFAULT_WIDTH = 900;
constexpr int DEFAULT_HEIGHT = 640;

// Every character a report can hold (ISO-8859-1) advances by the same width.
bool columnsLineUp(const QFont& font) {
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(QLatin1Char('M'));
    for (int c = 32; c < 256; ++c) {
        if (c >= 127 && c < 160) continue;
        if (metrics.horizontalAdvance(QChar(c)) != width) return false;
    }
    return true;
}

// The system's fixed-pitch font ("monospace"); when its characters do not all advance
// alike, the first installed family that is fixed-pitch.
QFont fixedPitchFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (columnsLineUp(font)) return font;
    for (const QString& family : QFontDatabase::families()) {
        if (!QFontDatabase::isFixedPitch(family)) continue;
        QFont candidate = font;
        candidate.setFamily(family);
        if (columnsLineUp(candidate)) return candidate;
    }
    return font;
}

const QKeySequence CLOSE_KEY(Qt::CTRL | Qt::Key_W);

QPushButton* button(const QString& text, const QKeySequence& key, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setAutoDefault(false);
    if (!key.isEmpty()) b->setToolTip(QStringLiteral("%1 (%2)").arg(text, key.toString(QKeySequence::NativeText)));
    return b;
}
}  // namespace

ReportWindow::ReportWindow(std::unique_ptr<ReportViewer> viewer, Ui& ui, QWidget* parent)
    : QDialog(parent),
      viewer_(std::move(viewer)),
      ui_(ui),
      title_(new QLabel(this)),
      view_(new QPlainTextEdit(this)),
      findBox_(new QLineEdit(this)),
      findResult_(new QLabel(this)) {
    setWindowTitle(MAIN_TITLE);
    const auto size = windowState_.reportWindowSize();
    resize(size ? size->width : DEFAULT_WIDTH, size ? size->height : DEFAULT_HEIGHT);
    QFont titleFont = title_->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    title_->setFont(titleFont);
    title_->setText(fromCore(viewer_->titleLine()));

    view_->setReadOnly(true);
    view_->setLineWrapMode(QPlainTextEdit::NoWrap);
    view_->setFont(fixedPitchFont());
    view_->setMaximumBlockCount(0);
    view_->installEventFilter(this);

    findBox_->setPlaceholderText(QStringLiteral("Find (Ctrl+F, next F3)"));
    findBox_->setClearButtonEnabled(true);
    findBox_->setMinimumWidth(220);
    connect(findBox_, &QLineEdit::returnPressed, this, &ReportWindow::findNext);

    auto* exportButton = button(QStringLiteral("Export to file"), QKeySequence(), this);
    auto* printButton = button(QStringLiteral("Print"), QKeySequence::Print, this);
    auto* close = button(QStringLiteral("Close"), CLOSE_KEY, this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(exportButton, &QPushButton::clicked, this, &ReportWindow::exportToFile);
    connect(printButton, &QPushButton::clicked, this, &ReportWindow::print);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(findBox_);
    buttons->addWidget(findResult_);
    buttons->addStretch();
    buttons->addWidget(exportButton);
    buttons->addWidget(printButton);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addWidget(view_, 1);
    layout->addLayout(buttons);
    setTabOrder(view_, findBox_);
    setTabOrder(findBox_, exportButton);
    setTabOrder(exportButton, printButton);
    setTabOrder(printButton, close);
    addShortcuts();

    viewer_->setViewSink([this](const std::string& text) { showText(text); });
    viewer_->open();
    showText(viewer_->viewText());
    showFromTop();
    view_->setFocus(Qt::OtherFocusReason);
}

void ReportWindow::addShortcuts() {
    const auto add = [this](const QKeySequence& key, auto slot) {
        connect(new QShortcut(key, this), &QShortcut::activated, this, slot);
    };
    add(QKeySequence::Find, &ReportWindow::startFind);
    add(QKeySequence::FindNext, &ReportWindow::findNext);
    add(QKeySequence::FindPrevious, &ReportWindow::findPrevious);
    add(QKeySequence::Print, &ReportWindow::print);
    add(CLOSE_KEY, &QDialog::reject);
}

QString ReportWindow::titleText() const { return title_->text(); }

void ReportWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    view_->setFocus(Qt::OtherFocusReason);
}

// A deferred kind grows while it scans; once it is complete the view shows its top.
bool ReportWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::FocusIn && viewer_->pendingKind() != 0) {
        title_->setText(fromCore(viewer_->titleLine()));
        viewer_->focusGained(ui_);
        showFromTop();
    }
    return QDialog::eventFilter(watched, event);
}

// The whole view text anew, scrolled so that its end shows, painted at once: a report
// that grows shows its newest lines.
void ReportWindow::showText(const std::string& viewText) {
    view_->setPlainText(fromCore(viewText));
    view_->verticalScrollBar()->setValue(view_->verticalScrollBar()->maximum());
    view_->repaint();
}

void ReportWindow::showFromTop() {
    view_->moveCursor(QTextCursor::Start);
    view_->verticalScrollBar()->setValue(0);
    view_->horizontalScrollBar()->setValue(0);
}

void ReportWindow::startFind() {
    findBox_->setFocus(Qt::ShortcutFocusReason);
    findBox_->selectAll();
}

bool ReportWindow::findNext() { return find(false); }

bool ReportWindow::findPrevious() { return find(true); }

bool ReportWindow::find(bool backwards) {
    const QString wanted = findBox_->text();
    if (wanted.isEmpty()) {
        startFind();
        return false;
    }
    const QTextDocument::FindFlags flags = backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool found = view_->find(wanted, flags);
    if (!found) {
        const QTextCursor keep = view_->textCursor();
        view_->moveCursor(backwards ? QTextCursor::End : QTextCursor::Start);
        found = view_->find(wanted, flags);
        if (!found) view_->setTextCursor(keep);
    }
    findResult_->setText(found ? QString() : QStringLiteral("Not found"));
    return found;
}

void ReportWindow::done(int result) {
    windowState_.saveReportWindowSize({width(), height()});
    QDialog::done(result);
}

void ReportWindow::exportToFile() { viewer_->exportToFile(ui_); }

void ReportWindow::print() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    printTo(printer);
}

QFont ReportWindow::printFont() const {
    QFont font = view_->font();
    font.setPointSize(PRINT_POINT_SIZE);
    return font;
}

void ReportWindow::printTo(QPrinter& printer) const {
    QTextDocument document;
    document.setDefaultFont(printFont());
    QTextOption option = document.defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document.setDefaultTextOption(option);
    document.setPlainText(fromCore(viewer_->fullText()));
    document.print(&printer);
}

}  // namespace movrane::gui
