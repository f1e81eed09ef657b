#include "gui/analysis/RatingsWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/platform/Ui.h"
#include "gui/platform/QtUi.h"

namespace movrane::gui {

RatingsWindow::RatingsWindow(const CZodEvadiDoc& doc, Ui& ui, QWidget* parent)
    : QDialog(parent), ratings_(doc), ui_(ui), pages_(new QStackedWidget(this)),
      table_(new QTableWidget(Ratings::SLOTS, Ratings::COLUMNS, this)) {
    setWindowTitle(QStringLiteral("Ratings - Traction Circle Statistics"));
    resize(820, 300);
    QStringList header;
    for (const auto& cell : Ratings::header()) header << fromCore(cell);
    table_->setHorizontalHeaderLabels(header);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int slot = 0; slot < Ratings::SLOTS; ++slot) {
        const auto& row = ratings_.row(slot);
        for (int column = 0; column < Ratings::COLUMNS; ++column) {
            auto* item = new QTableWidgetItem(fromCore(row[column]));
            if (column > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(slot, column, item);
        }
    }
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    auto* information = new QPlainTextEdit(fromCore(Ratings::informationText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), this);
    information->setReadOnly(true);
    pages_->addWidget(table_);
    pages_->addWidget(information);

    auto* copy = new QPushButton(QStringLiteral("Copy Table To Clipboard"), this);
    auto* toggle = new QPushButton(QStringLiteral("Toggle Ratings/Information"), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    for (QPushButton* b : {copy, toggle, close}) b->setAutoDefault(false);
    connect(copy, &QPushButton::clicked, this, [this] { ui_.setClipboardText(ratings_.clipboardText()); });
    connect(toggle, &QPushButton::clicked, this, &RatingsWindow::toggleInformation);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copy);
    buttons->addWidget(toggle);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    layout->addLayout(buttons);
}

void RatingsWindow::toggleInformation() {
    ratings_.toggleInformation();
    pages_->setCurrentIndex(ratings_.informationShown() ? 1 : 0);
}

}  // namespace movrane::gui
