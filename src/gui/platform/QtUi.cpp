#include "gui/platform/QtUi.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QProgressDialog>
#include <QUrl>

#include "core/app/Commands.h"

namespace movrane::gui {

QString fromCore(const std::string& text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

std::string toCore(const QString& text) { return text.toLatin1().toStdString(); }

QString pathFromCore(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

std::string pathToCore(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString filterText(const Ui::FileRequest& request) {
    QStringList filters;
    for (const Ui::Filter& f : request.filters) filters << fromCore(f.description);
    return filters.join(QStringLiteral(";;"));
}

namespace {
// Room the title bar takes besides the title: the window's icon and its buttons.
constexpr int TITLE_BAR_ROOM = 160;

int titleWidth(const QWidget& window) {
    return window.fontMetrics().horizontalAdvance(window.windowTitle()) + TITLE_BAR_ROOM;
}
}  // namespace

void fitWidthToTitle(QWidget& window) { window.setMinimumWidth(std::max(window.minimumWidth(), titleWidth(window))); }

// A message box sizes itself from its contents; a spacer across its grid holds it open.
void fitWidthToTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    grid->addItem(new QSpacerItem(titleWidth(box), 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

namespace {
QString captionOf(const std::string& caption) { return caption.empty() ? QString(MAIN_TITLE) : fromCore(caption); }

// A modeless window with a text and a busy or counting bar.
std::unique_ptr<QProgressDialog> makeProgressWindow(QWidget* parent, const QString& text, int total) {
    auto window = std::make_unique<QProgressDialog>(text, QString(), 0, total, parent);
    window->setWindowTitle(MAIN_TITLE);
    window->setCancelButton(nullptr);
    window->setMinimumDuration(0);
    window->setAutoClose(false);
    window->setAutoReset(false);
    window->setValue(0);
    window->show();
    QCoreApplication::processEvents();
    return window;
}
}  // namespace

QtUi::QtUi() = default;
QtUi::~QtUi() = default;

int QtUi::show(QMessageBox& box) {
    fitWidthToTitle(box);
    if (messageBoxRunner_) return messageBoxRunner_(box);
    return box.exec();
}

void QtUi::message(const std::string& text, const std::string& caption, Icon icon, const std::string& detail) {
    const QMessageBox::Icon shown = icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::Information;
    QMessageBox box(shown, captionOf(caption), fromCore(text), QMessageBox::Ok, parent_);
    if (!detail.empty()) box.setDetailedText(pathFromCore(detail));
    show(box);
}

bool QtUi::askYesNo(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Question, captionOf(caption), fromCore(text), QMessageBox::Yes | QMessageBox::No,
                    parent_);
    return show(box) == QMessageBox::Yes;
}

Ui::Answer QtUi::askYesNoCancel(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Question, captionOf(caption), fromCore(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent_);
    switch (show(box)) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        default: return Answer::Cancel;
    }
}

std::optional<std::string> QtUi::chooseFileToOpen(const FileRequest& request) {
    const FileRequest start = folders_.startingPoint(request, false);
    const QString chosen = QFileDialog::getOpenFileName(parent_, fromCore(start.title), pathFromCore(start.initialPath),
                                                        filterText(start));
    if (chosen.isEmpty()) return std::nullopt;
    folders_.remember(request, pathToCore(chosen));
    return pathToCore(chosen);
}

std::optional<std::string> QtUi::chooseFileToSave(const FileRequest& request) {
    const FileRequest start = folders_.startingPoint(request, true);
    const QString chosen = QFileDialog::getSaveFileName(parent_, fromCore(start.title), pathFromCore(start.initialPath),
                                                        filterText(start));
    if (chosen.isEmpty()) return std::nullopt;
    folders_.remember(request, pathToCore(chosen));
    return pathToCore(chosen);
}

std::optional<std::string> QtUi::chooseFolder(const std::string& title, const std::string& initialFolder) {
    const QString chosen = QFileDialog::getExistingDirectory(parent_, fromCore(title), pathFromCore(initialFolder));
    if (chosen.isEmpty()) return std::nullopt;
    return pathToCore(chosen);
}

void QtUi::beginWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void QtUi::endWaitCursor() { QApplication::restoreOverrideCursor(); }

void QtUi::beginWaitWindow(const std::string& text) { waitWindow_ = makeProgressWindow(parent_, fromCore(text), 0); }

void QtUi::endWaitWindow() { waitWindow_.reset(); }

void QtUi::beginProgress(int total) { progress_ = makeProgressWindow(parent_, QString(), total); }

void QtUi::setProgress(int done) {
    if (!progress_) return;
    progress_->setValue(done);
    QCoreApplication::processEvents();
}

void QtUi::endProgress() { progress_.reset(); }

bool QtUi::openWithDefaultHandler(const std::string& pathOrUrl) {
    const QString target = pathFromCore(pathOrUrl);
    const QUrl url = target.contains(QStringLiteral("://")) ? QUrl(target) : QUrl::fromLocalFile(target);
    return QDesktopServices::openUrl(url);
}

void QtUi::setClipboardText(const std::string& text) { QApplication::clipboard()->setText(fromCore(text)); }

// Sounds need Qt Multimedia, which this build does without: they are skipped.
void QtUi::playSound(int) {}

}  // namespace movrane::gui
