#include "gui/library/LoadedLapsArrangerDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/platform/QtUi.h"

namespace movrane::gui {

LoadedLapsArrangerDialog::LoadedLapsArrangerDialog(LoadedLapsArranger& arranger, QWidget* parent)
    : QDialog(parent), arranger_(arranger), list_(new QTreeWidget(this)) {
    setWindowTitle(LoadedLapsArranger::TITLE);
    auto* layout = new QHBoxLayout(this);
    QStringList headers;
    for (const char* header : LoadedLapsArranger::COLUMN_HEADERS) headers << QString::fromLatin1(header);
    list_->setHeaderLabels(headers);
    list_->setRootIsDecorated(false);
    list_->setMinimumSize(620, 160);
    layout->addWidget(list_, 1);

    auto* side = new QVBoxLayout;
    auto* up = new QPushButton(QStringLiteral("Move up"), this);
    auto* down = new QPushButton(QStringLiteral("Move down"), this);
    auto* remove = new QPushButton(QStringLiteral("Remove"), this);
    for (QPushButton* b : {up, down, remove}) side->addWidget(b);
    side->addStretch();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
    side->addWidget(buttons);
    layout->addLayout(side);

    connect(up, &QPushButton::clicked, this, [this] { showRows(arranger_.moveUp(selected())); });
    connect(down, &QPushButton::clicked, this, [this] { showRows(arranger_.moveDown(selected())); });
    connect(remove, &QPushButton::clicked, this, [this] { showRows(arranger_.remove(selected())); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    showRows(std::nullopt);
}

std::optional<int> LoadedLapsArrangerDialog::selected() const {
    QTreeWidgetItem* item = list_->currentItem();
    if (!item || !item->isSelected()) return std::nullopt;
    return list_->indexOfTopLevelItem(item);
}

void LoadedLapsArrangerDialog::showRows(std::optional<int> selection) {
    list_->clear();
    for (const auto& row : arranger_.rows()) {
        QStringList cells;
        for (const std::string& cell : row.columns) cells << fromCore(cell);
        list_->addTopLevelItem(new QTreeWidgetItem(cells));
    }
    for (int c = 0; c < list_->columnCount(); ++c) list_->resizeColumnToContents(c);
    if (selection && *selection < list_->topLevelItemCount()) list_->setCurrentItem(list_->topLevelItem(*selection));
}

}  // namespace movrane::gui
