#include "gui/ranking/RankingDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/library/Prefs.h"
#include "gui/app/DialogHost.h"
#include "gui/platform/QtUi.h"

namespace movrane::gui {

namespace {

QString latin1(const char* text) { return QString::fromLatin1(text); }

QLineEdit* readOnlyField(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    field->setMinimumWidth(150);
    return field;
}

// The transcript's lines end in "\r\n"; the text view wants "\n".
QString shownTranscript(const std::string& transcript) {
    QString text = fromCore(transcript);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

// Shows the progress window over the exchange.
class ProgressWindowRunner : public UploadProgressRunner {
public:
    ProgressWindowRunner(DialogHost& host, QWidget* parent) : host_(host), parent_(parent) {}
    void run(OrvRankUploadProgress& progress) override {
        OrvRankUploadProgressDialog dialog(progress, parent_);
        host_.run(dialog);
    }

private:
    DialogHost& host_;
    QWidget* parent_;
};

}  // namespace

orvrankloginDialog::orvrankloginDialog(orvranklogin& login, QWidget* parent)
    : QDialog(parent),
      login_(login),
      user_(new QLineEdit(fromCore(login.user), this)),
      password_(new QLineEdit(fromCore(login.password), this)),
      save_(new QCheckBox(latin1(orvranklogin::SAVE_LABEL), this)) {
    setWindowTitle(latin1(orvranklogin::TITLE));
    password_->setEchoMode(QLineEdit::Password);
    save_->setChecked(login.save);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow(latin1(orvranklogin::USER_LABEL), user_);
    form->addRow(latin1(orvranklogin::PASSWORD_LABEL), password_);
    layout->addLayout(form);
    layout->addWidget(save_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void orvrankloginDialog::accept() {
    login_.user = toCore(user_->text());
    login_.password = toCore(password_->text());
    login_.save = save_->isChecked();
    login_.accept();
    QDialog::accept();
}

OrvRankUploadProgressDialog::OrvRankUploadProgressDialog(OrvRankUploadProgress& progress, QWidget* parent)
    : QDialog(parent),
      progress_(progress),
      transcript_(new QPlainTextEdit(this)),
      abort_(new QPushButton(QStringLiteral("Abort"), this)),
      view_(new QPushButton(QStringLiteral("View OrvRanks reply"), this)),
      close_(new QPushButton(QStringLiteral("Close"), this)) {
    setWindowTitle(latin1(OrvRankUploadProgress::TITLE));
    transcript_->setReadOnly(true);
    transcript_->setMinimumSize(520, 300);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(latin1(OrvRankUploadProgress::TRANSCRIPT_LABEL), this));
    layout->addWidget(transcript_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(abort_);
    buttons->addWidget(view_);
    buttons->addStretch();
    buttons->addWidget(close_);
    layout->addLayout(buttons);

    progress_.setLineHook([this](const std::string&) {
        transcript_->setPlainText(shownTranscript(progress_.transcript()));
        transcript_->moveCursor(QTextCursor::End);
    });
    progress_.setWaitHook([] { QApplication::processEvents(); });
    connect(abort_, &QPushButton::clicked, this, [this] {
        progress_.abort();
        updateButtons();
    });
    connect(view_, &QPushButton::clicked, this, [this] { progress_.viewReply(); });
    connect(close_, &QPushButton::clicked, this, [this] {
        progress_.close();
        QDialog::accept();
    });
    updateButtons();
}

void OrvRankUploadProgressDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    QTimer::singleShot(0, this, &OrvRankUploadProgressDialog::start);
}

void OrvRankUploadProgressDialog::start() {
    progress_.run();
    transcript_->setPlainText(shownTranscript(progress_.transcript()));
    updateButtons();
}

void OrvRankUploadProgressDialog::reject() {
    if (progress_.started() && !progress_.finished()) return;
    progress_.close();
    QDialog::reject();
}

void OrvRankUploadProgressDialog::updateButtons() {
    abort_->setEnabled(progress_.mayAbort());
    view_->setEnabled(progress_.mayViewReply());
    close_->setEnabled(progress_.mayClose());
}

NewOrvRankCalculatorDialog::NewOrvRankCalculatorDialog(const NewOrvRankCalculator& calculator, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(latin1(NewOrvRankCalculator::TITLE));
    auto* layout = new QHBoxLayout(this);
    for (const NewOrvRankCalculator::Group& group : calculator.groups()) {
        auto* box = new QGroupBox(latin1(group.title), this);
        auto* grid = new QGridLayout(box);
        int row = 0;
        if (*group.note) grid->addWidget(new QLabel(latin1(group.note), box), row++, 0, 1, 2);
        for (int column = 0; column < RANK_COLUMNS; ++column, ++row) {
            grid->addWidget(new QLabel(latin1(RANK_COLUMN_NAMES[column]) + ':', box), row, 0);
            QLineEdit* field = readOnlyField(box);
            field->setText(fromCore(group.fields[column]));
            grid->addWidget(field, row, 1);
        }
        grid->addWidget(new QLabel(latin1(group.totalLabel), box), row, 0);
        QLineEdit* total = readOnlyField(box);
        total->setText(fromCore(group.total));
        grid->addWidget(total, row, 1);
        grid->setRowStretch(row + 1, 1);
        layout->addWidget(box);
    }
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignBottom);
}

OrvRankDialog::OrvRankDialog(OrvRank& calculator, const std::vector<std::string>& players, int defaultPlayer,
                             QWidget* parent)
    : QDialog(parent), calculator_(calculator), players_(new QComboBox(this)), total_(readOnlyField(this)) {
    setWindowTitle(latin1(OrvRank::TITLE));
    for (const std::string& player : players) players_->addItem(fromCore(player));
    players_->setCurrentIndex(defaultPlayer < static_cast<int>(players.size()) ? defaultPlayer : -1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(latin1(OrvRank::PLAYER_CHOOSER), this));
    auto* chooser = new QHBoxLayout;
    chooser->addWidget(players_, 1);
    auto* calculate = new QPushButton(QStringLiteral("Calculate"), this);
    chooser->addWidget(calculate);
    layout->addLayout(chooser);
    auto* form = new QFormLayout;
    for (const char* name : RANK_COLUMN_NAMES) {
        fields_.push_back(readOnlyField(this));
        form->addRow(latin1(name) + ':', fields_.back());
    }
    form->addRow(latin1(OrvRank::TOTAL_LABEL), total_);
    layout->addLayout(form);
    layout->addWidget(new QLabel(latin1(OrvRank::NOTE), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(calculate, &QPushButton::clicked, this, &OrvRankDialog::calculate);
}

void OrvRankDialog::calculate() {
    if (!calculator_.calculate(players_->currentIndex())) return;
    for (int column = 0; column < RANK_COLUMNS; ++column) fields_[column]->setText(fromCore(calculator_.fields()[column]));
    total_->setText(fromCore(calculator_.total()));
}

void runOrvRankUpload(const RecordsTable& table, Ui& ui, DialogHost& host, QWidget* parent) {
    orvranklogin login;
    orvrankloginDialog dialog(login, parent);
    if (host.run(dialog) != QDialog::Accepted) return;
    ProgressWindowRunner runner(host, parent);
    uploadLapTimes(table, Prefs::get().orvRankHost(), login.user, login.password, ui, runner);
}

void runOrvRankCalculator(const RecordsTable& table, DialogHost& host, QWidget* parent) {
    const NewOrvRankCalculator calculator(table);
    NewOrvRankCalculatorDialog dialog(calculator, parent);
    host.run(dialog);
}

}  // namespace movrane::gui
