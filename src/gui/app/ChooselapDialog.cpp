#include "gui/app/ChooselapDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/platform/Ui.h"
#include "gui/platform/QtUi.h"

namespace movrane::gui {

namespace {
constexpr int DRIVER_ROLE = Qt::UserRole;
constexpr int SESSION_ROLE = Qt::UserRole + 1;
constexpr int LAP_ROLE = Qt::UserRole + 2;

QLabel* valueLabel(const std::string& text, QWidget* parent) {
    auto* label = new QLabel(fromCore(text), parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}
}  // namespace

ChooselapDialog::ChooselapDialog(Chooselap& chooser, Ui* ui, QWidget* parent)
    : QDialog(parent),
      chooser_(chooser),
      ui_(ui),
      tree_(new QTreeWidget(this)),
      driverKind_(new QLabel(this)),
      alien_(new QLabel(this)),
      session_(new QLabel(this)),
      flags_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Choose lap - ") + pathFromCore(chooser_.information().fileName));
    resize(640, 560);
    auto* top = new QHBoxLayout;
    auto* infoBox = new QGroupBox(QStringLiteral("Replay information"), this);
    auto* form = new QFormLayout(infoBox);
    buildInformation(form);
    top->addWidget(infoBox);

    tree_->setHeaderHidden(true);
    tree_->setMinimumSize(320, 360);
    buildTree();
    top->addWidget(tree_, 1);

    auto* selectionBox = new QGroupBox(QStringLiteral("Selection"), this);
    auto* selection = new QFormLayout(selectionBox);
    auto* driverRow = new QHBoxLayout;
    driverRow->addWidget(driverKind_);
    driverRow->addWidget(alien_);
    driverRow->addStretch();
    QFont alienFont = alien_->font();
    alienFont.setBold(true);
    alien_->setFont(alienFont);
    selection->addRow(QStringLiteral("Driver:"), driverRow);
    selection->addRow(QStringLiteral("Session:"), session_);
    selection->addRow(QStringLiteral("Flags:"), flags_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* quality = buttons->addButton(QStringLiteral("Quality report"), QDialogButtonBox::ActionRole);
    connect(quality, &QPushButton::clicked, this, &ChooselapDialog::showQualityReport);
    connect(buttons, &QDialogButtonBox::accepted, this, &ChooselapDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(tree_, &QTreeWidget::itemSelectionChanged, this, &ChooselapDialog::selectionChanged);
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, &ChooselapDialog::lapDoubleClicked);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(selectionBox);
    layout->addWidget(buttons);
    showLabels();
}

void ChooselapDialog::buildInformation(QFormLayout* form) {
    const Chooselap::Information& info = chooser_.information();
    const std::pair<const char*, const std::string&> rows[] = {
        {"File:", info.fileName},         {"Track:", info.trackName},       {"Car set:", info.carSetName},      {"Length:", info.recordedLength},
        {"Version:", info.release},       {"Practice laps:", info.practiceLaps}, {"Race laps:", info.raceLaps},
        {"Difficulty:", info.difficulty}, {"Session type:", info.sessionType}, {"Drivers:", info.drivers},
        {"Count:", info.count156},        {"Laps:", info.scheduledLaps},      {"Session kind:", info.sessionKind},
    };
    for (const auto& [caption, value] : rows) form->addRow(QString::fromLatin1(caption), valueLabel(value, this));
}

void ChooselapDialog::buildTree() {
    for (const Chooselap::DriverNode& driver : chooser_.tree()) {
        auto* driverItem = new QTreeWidgetItem(tree_, {fromCore(driver.text)});
        driverItem->setData(0, DRIVER_ROLE, driver.driver);
        for (const Chooselap::SessionNode& session : driver.sessions) {
            auto* sessionItem = new QTreeWidgetItem(driverItem, {fromCore(session.text)});
            sessionItem->setData(0, DRIVER_ROLE, driver.driver);
            for (const Chooselap::LapNode& lap : session.laps) {
                auto* lapItem = new QTreeWidgetItem(sessionItem, {fromCore(lap.text)});
                lapItem->setData(0, DRIVER_ROLE, driver.driver);
                lapItem->setData(0, SESSION_ROLE, static_cast<int>(session.session));
                lapItem->setData(0, LAP_ROLE, lap.lap);
                QFont font = lapItem->font(0);
                font.setBold(lap.bold);
                lapItem->setFont(0, font);
            }
        }
    }
}

bool ChooselapDialog::selectLap(uint32_t driver, Session session, int lap) {
    for (QTreeWidgetItemIterator it(tree_); *it; ++it) {
        QTreeWidgetItem* item = *it;
        if (!item->data(0, LAP_ROLE).isValid()) continue;
        if (item->data(0, DRIVER_ROLE).toUInt() == driver && item->data(0, SESSION_ROLE).toInt() == session &&
            item->data(0, LAP_ROLE).toInt() == lap) {
            tree_->setCurrentItem(item);
            return true;
        }
    }
    return false;
}

void ChooselapDialog::selectionChanged() {
    const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
    if (selected.isEmpty()) {
        chooser_.clearSelection();
    } else {
        QTreeWidgetItem* item = selected.front();
        const uint32_t driver = item->data(0, DRIVER_ROLE).toUInt();
        if (item->data(0, LAP_ROLE).isValid())
            chooser_.selectLap(driver, static_cast<Session>(item->data(0, SESSION_ROLE).toInt()),
                               item->data(0, LAP_ROLE).toInt());
        else
            chooser_.selectDriver(driver);
    }
    showLabels();
    if (chooser_.alienSelected() && ui_) ui_->playSound(Chooselap::ALIEN_SOUND);
}

void ChooselapDialog::showLabels() {
    driverKind_->setText(driverKindText());
    alien_->setText(chooser_.alienSelected() ? QStringLiteral("Alien") : QString());
    session_->setText(sessionText());
    flags_->setText(flagsText());
}

QString ChooselapDialog::driverKindText() const { return fromCore(chooser_.driverKindLabel()); }

QString ChooselapDialog::sessionText() const { return fromCore(chooser_.sessionLabel()); }

QString ChooselapDialog::flagsText() const {
    QStringList texts;
    for (const std::string& flag : chooser_.flagTexts()) texts << fromCore(flag);
    return texts.join(QStringLiteral(", "));
}

void ChooselapDialog::showQualityReport() {
    const auto report = chooser_.qualityReport();
    if (report && ui_) ui_->message(*report, Chooselap::QUALITY_TITLE);
}

// A double-click on a lap accepts it as OK does; on a driver or session it only opens or
// closes the node.
void ChooselapDialog::lapDoubleClicked(QTreeWidgetItem* item) {
    if (item && item->data(0, LAP_ROLE).isValid()) accept();
}

void ChooselapDialog::accept() {
    const Chooselap::Verdict verdict = chooser_.ok();
    if (!verdict.accepted) {
        if (ui_) ui_->message(verdict.message, verdict.caption);
        return;
    }
    QDialog::accept();
}

}  // namespace movrane::gui
