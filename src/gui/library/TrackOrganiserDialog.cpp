#include "gui/library/TrackOrganiserDialog.h"

#include <QDialogButtonBox>
#include <QDropEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/app/DialogHost.h"
#include "gui/platform/QtUi.h"

namespace movrane::gui {

namespace {

constexpr int EDIT_FIELD_CHARS = 40;

// A list whose rows are dragged to a new place; the move itself is the organiser's.
class EventList : public QTreeWidget {
public:
    EventList(std::function<void(std::vector<int>, int)> moved, QWidget* parent)
        : QTreeWidget(parent), moved_(std::move(moved)) {
        setDragDropMode(QAbstractItemView::InternalMove);
        setSelectionMode(QAbstractItemView::ExtendedSelection);
        setRootIsDecorated(false);
    }

protected:
    void dropEvent(QDropEvent* event) override {
        QTreeWidgetItem* target = itemAt(event->position().toPoint());
        int before = target ? indexOfTopLevelItem(target) : topLevelItemCount();
        if (target && dropIndicatorPosition() == QAbstractItemView::BelowItem) ++before;
        std::vector<int> rows;
        for (int i = 0; i < topLevelItemCount(); ++i)
            if (topLevelItem(i)->isSelected()) rows.push_back(i);
        event->setDropAction(Qt::IgnoreAction);
        event->accept();
        moved_(rows, before);
    }

private:
    std::function<void(std::vector<int>, int)> moved_;
};

}  // namespace

EditTrackPropDialog::EditTrackPropDialog(const SeasonEvent& event, QWidget* parent) : QDialog(parent) {
    setWindowTitle(EditTrackProp::TITLE);
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(QString::fromLatin1(EditTrackProp::GROUP), this);
    auto* form = new QFormLayout(group);
    for (const auto& [label, field] : EditTrackProp::FIELDS) {
        fields_[field] = new QLineEdit(fromCore(event.fields[field]), group);
        // Room for a whole event name such as "Harbour Park Circuit Grand Prix".
        fields_[field]->setMinimumWidth(fields_[field]->fontMetrics().averageCharWidth() * EDIT_FIELD_CHARS);
        form->addRow(QString::fromLatin1(label), fields_[field]);
    }
    layout->addWidget(group);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

SeasonEvent EditTrackPropDialog::event() const {
    SeasonEvent event;
    for (int f = 0; f < SeasonEvent::FIELD_COUNT; ++f) event.fields[f] = toCore(fields_[f]->text());
    return event;
}

TrackOrganiserDialog::TrackOrganiserDialog(TrackOrganiser& organiser, DialogHost& host, QWidget* parent)
    : QDialog(parent), organiser_(organiser), host_(host), count_(new QLabel(this)) {
    setWindowTitle(TrackOrganiser::TITLE);
    list_ = new EventList(
        [this](std::vector<int> rows, int before) {
            organiser_.move(std::move(rows), before);
            showRows();
        },
        this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromLatin1(TrackOrganiser::HINT), this));
    QStringList headers;
    for (const char* header : TrackOrganiser::COLUMN_HEADERS) headers << QString::fromLatin1(header);
    list_->setHeaderLabels(headers);
    list_->setMinimumSize(720, 320);
    layout->addWidget(list_, 1);

    auto* counter = new QHBoxLayout;
    counter->addWidget(new QLabel(QString::fromLatin1(TrackOrganiser::COUNTER_LABEL), this));
    counter->addWidget(count_);
    counter->addStretch();
    layout->addLayout(counter);

    auto* buttons = new QHBoxLayout;
    const std::pair<const char*, std::function<void()>> actions[] = {
        {"Import", [this] { organiser_.import(); }},
        {"Export", [this] { organiser_.exportSeason(); }},
        {"Edit", [this] { organiser_.edit(selectedRows(), *this); }},
        {"Add", [this] { organiser_.add(*this); }},
        {"Remove", [this] { organiser_.remove(selectedRows()); }},
    };
    for (const auto& [text, action] : actions) {
        auto* button = new QPushButton(QString::fromLatin1(text), this);
        connect(button, &QPushButton::clicked, this, [this, action] {
            action();
            showRows();
        });
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    connect(close, &QPushButton::clicked, this, &TrackOrganiserDialog::reject);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    showRows();
}

void TrackOrganiserDialog::reject() {
    if (organiser_.close()) QDialog::reject();
}

std::optional<SeasonEvent> TrackOrganiserDialog::edit(const SeasonEvent& event) {
    EditTrackPropDialog dialog(event, this);
    if (host_.run(dialog) != QDialog::Accepted) return std::nullopt;
    return dialog.event();
}

std::vector<int> TrackOrganiserDialog::selectedRows() const {
    std::vector<int> rows;
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        if (list_->topLevelItem(i)->isSelected()) rows.push_back(i);
    return rows;
}

void TrackOrganiserDialog::showRows() {
    list_->clear();
    for (const SeasonEvent& event : organiser_.rows()) {
        QStringList cells;
        for (const std::string& field : event.fields) cells << fromCore(field);
        auto* item = new QTreeWidgetItem(cells);
        item->setFlags(item->flags() & ~Qt::ItemIsDropEnabled);
        list_->addTopLevelItem(item);
    }
    for (int c = 0; c < SeasonEvent::FIELD_COUNT; ++c) list_->resizeColumnToContents(c);
    count_->setText(QString::number(organiser_.count()));
}

}  // namespace movrane::gui
