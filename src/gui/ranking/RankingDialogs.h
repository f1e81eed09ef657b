#pragma once

#include <QDialog>
#include <vector>

#include "core/ranking/OrvRankUpload.h"
#include "core/ranking/RankCalculator.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace movrane::gui {

class DialogHost;

// "OrvRank Login" over orvranklogin; OK stores or forgets the login.
class orvrankloginDialog : public QDialog {
    Q_OBJECT
public:
    orvrankloginDialog(orvranklogin& login, QWidget* parent);
    void accept() override;

private:
    orvranklogin& login_;
    QLineEdit* user_;
    QLineEdit* password_;
    QCheckBox* save_;
};

// "OrvRank Upload Progress": runs the exchange once it is first shown, with the
// transcript growing line by line; Abort while it runs, then Close and the reply.
class OrvRankUploadProgressDialog : public QDialog {
    Q_OBJECT
public:
    OrvRankUploadProgressDialog(OrvRankUploadProgress& progress, QWidget* parent);
    // Starts the exchange (once); the first showing of the window calls it.
    void start();
    QPlainTextEdit* transcript() const { return transcript_; }
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void updateButtons();

    OrvRankUploadProgress& progress_;
    QPlainTextEdit* transcript_;
    QPushButton* abort_;
    QPushButton* view_;
    QPushButton* close_;
};

// "OrvRank Calculator": the three groups of handicaps.
class NewOrvRankCalculatorDialog : public QDialog {
    Q_OBJECT
public:
    NewOrvRankCalculatorDialog(const NewOrvRankCalculator& calculator, QWidget* parent);
};

// "OrvRank Handicap calculator": a chosen player's handicaps from player.ini.
class OrvRankDialog : public QDialog {
    Q_OBJECT
public:
    OrvRankDialog(OrvRank& calculator, const std::vector<std::string>& players, int defaultPlayer, QWidget* parent);
    void calculate();
    QComboBox* players() const { return players_; }

private:
    OrvRank& calculator_;
    QComboBox* players_;
    std::vector<QLineEdit*> fields_;
    QLineEdit* total_;
};

// "Upload laptimes to OrvRank" after the guard: login, then the upload through the
// progress window, to the host of the preferences.
void runOrvRankUpload(const RecordsTable& table, Ui& ui, DialogHost& host, QWidget* parent);
// "OrvRank calculator" over the viewer's table.
void runOrvRankCalculator(const RecordsTable& table, DialogHost& host, QWidget* parent);

}  // namespace movrane::gui
