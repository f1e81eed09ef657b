#include "GuiFixture.h"

#include <gtest/gtest.h>

#include <QApplication>

#include "core/library/Prefs.h"
#include "gui/app/CMainFrame.h"
#include "gui/reports/LoadedFileChooserDialog.h"
#include "samplekit/SampleInstallation.h"

namespace guitest {

int DialogScript::run(QDialog& dialog) {
    titles.push_back(dialog.windowTitle());
    if (handlers_.empty()) {
        ADD_FAILURE() << "unexpected dialog: " << dialog.windowTitle().toStdString();
        return QDialog::Rejected;
    }
    Handler handler = std::move(handlers_.front());
    handlers_.erase(handlers_.begin());
    return handler(dialog);
}

Program::Program(Installation installation) {
    if (installation == Installation::Sample) {
        samplekit::writeSampleInstallation(dir.path());
    } else {
        testsupport::writeFileBytes(dir.path() / "orv.exe", {'M', 'Z'});
    }
    movrane::Prefs::get().setOrvDirectory(dir.path().string());
    movrane::Prefs::get().save();
    app = std::make_unique<movrane::gui::CZodEvadiApp>(ui);
    app->dialogs().setRunner([this](QDialog& dialog) { return dialogs.run(dialog); });
}

Program::~Program() { app.reset(); }

void Program::start(std::vector<std::string> args) {
    args.insert(args.begin(), "movrane");
    app->start(movrane::parseCommandLine(args));
    app->frame().resize(1000, 700);
    settle();
}

void Program::startWithTwoLaps() {
    start({"-loadrpy", "-c2", "-f" + replay("sample_hotlap.rpy"), "-s0", "-d0", "-l2", "-f" + replay("sample_race.rpy"),
           "-s1", "-d1", "-l4"});
}

int chooseRaceFile(QDialog& dialog) {
    auto* chooser = qobject_cast<movrane::gui::LoadedFileChooserDialog*>(&dialog);
    EXPECT_NE(chooser, nullptr) << dialog.windowTitle().toStdString();
    if (!chooser) return QDialog::Rejected;
    EXPECT_GE(chooser->minimumWidth(), chooser->fontMetrics().horizontalAdvance(chooser->windowTitle()))
        << "the title holds the dialog's question";
    chooser->choose(1);
    return QDialog::Accepted;
}

void settle() {
    for (int i = 0; i < 10; ++i) QApplication::processEvents();
}

int countPixels(const QImage& image, QRgb colour) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            if ((line[x] & 0xffffff) == (colour & 0xffffff)) ++count;
    }
    return count;
}

}  // namespace guitest
