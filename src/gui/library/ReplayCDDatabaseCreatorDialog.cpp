#include "gui/library/ReplayCDDatabaseCreatorDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/app/DialogHost.h"
#include "gui/platform/QtUi.h"

namespace movrane::gui {

RpyDBFilenameDialog::RpyDBFilenameDialog(const std::string& proposed, QWidget* parent)
    : QDialog(parent), name_(new QLineEdit(fromCore(proposed), this)) {
    setWindowTitle(RpyDBFilename::TITLE);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromLatin1(RpyDBFilename::TITLE), this));
    layout->addWidget(name_);
    layout->addWidget(new QLabel(QString::fromLatin1(RpyDBFilename::HINT), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

std::string RpyDBFilenameDialog::name() const { return toCore(name_->text()); }

ReplayCDDatabaseCreatorDialog::ReplayCDDatabaseCreatorDialog(ReplayCDDatabaseCreator& creator, DialogHost& host,
                                                             QWidget* parent)
    : QDialog(parent),
      creator_(creator),
      host_(host),
      drives_(new QComboBox(this)),
      create_(new QPushButton(QStringLiteral("Create Database!"), this)) {
    setWindowTitle(ReplayCDDatabaseCreator::TITLE);
    auto* layout = new QVBoxLayout(this);
    auto* information = new QLabel(fromCore(ReplayCDDatabaseCreator::INFORMATION), this);
    information->setWordWrap(true);
    layout->addWidget(information);
    layout->addWidget(new QLabel(QStringLiteral("Choose CD Drive"), this));
    auto* row = new QHBoxLayout;
    row->addWidget(drives_, 1);
    auto* rescan = new QPushButton(QStringLiteral("Rescan Drives"), this);
    row->addWidget(rescan);
    layout->addLayout(row);
    layout->addWidget(create_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    layout->addWidget(buttons);
    setMinimumWidth(480);

    connect(rescan, &QPushButton::clicked, this, [this] {
        creator_.rescan();
        showDrives();
    });
    connect(create_, &QPushButton::clicked, this, [this] {
        creator_.create(static_cast<std::size_t>(std::max(0, drives_->currentIndex())), *this);
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    showDrives();
}

void ReplayCDDatabaseCreatorDialog::showDrives() {
    drives_->clear();
    for (const std::string& entry : creator_.entries()) drives_->addItem(fromCore(entry));
    create_->setEnabled(creator_.canCreate());
}

std::optional<std::string> ReplayCDDatabaseCreatorDialog::askName(const std::string& proposed) {
    RpyDBFilenameDialog dialog(proposed, this);
    if (host_.run(dialog) != QDialog::Accepted) return std::nullopt;
    return dialog.name();
}

}  // namespace movrane::gui
