#include <gtest/gtest.h>

#include <algorithm>

#include <QCheckBox>
#include <QLabel>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPdfWriter>
#include <QPushButton>
#include <QTest>
#include <qcustomplot.h>

#include "GuiFixture.h"
#include "core/track/Track.h"
#include "gui/app/CMainFrame.h"
#include "gui/graph/GraphView.h"
#include "gui/graph/SelectGraphsToPrintDialog.h"
#include "gui/graph/TelemetryGraphWindow.h"
#include "gui/graph/TimeDifferenceInfoWindow.h"
#include "gui/graph/TrackmapWindow.h"

using movrane::CommandId;
using movrane::gui::TelemetryGraphWindow;

namespace {

struct OpenGraph : guitest::TwoLaps {
    TelemetryGraphWindow* window = nullptr;
    OpenGraph() {
        app->frame().runCommand(CommandId::Graph);
        window = app->frame().graphWindow();
        guitest::settle();
    }
    QColor seriesColour(int index) const { return window->view()->plot()->graph(index)->pen().color(); }
};

TEST(GraphWindow, ChannelsShowOneSeriesPerLapInItsColour) {
    OpenGraph p;
    ASSERT_NE(p.window, nullptr);
    EXPECT_TRUE(p.window->isVisible());
    EXPECT_EQ(p.window->windowTitle(), QStringLiteral("Telemetry Graph"));
    const auto labels = p.window->findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](const QLabel* l) {
        return l->text() == QString::fromLatin1(movrane::TelemetryGraph::HINT);
    }));
    EXPECT_TRUE(p.window->lapBox(0)->text().startsWith(QStringLiteral("Ada Marsh - Practice lap 2 (")));
    EXPECT_FALSE(p.window->lapBox(2)->isEnabled());
    EXPECT_EQ(p.window->view()->seriesCount(), 2);
    EXPECT_EQ(p.seriesColour(0), QColor(255, 0, 0));
    EXPECT_EQ(p.seriesColour(1), QColor(0, 0, 255));
    EXPECT_EQ(p.window->view()->plot()->yAxis->label(), QStringLiteral("Speed (Kph)"));

    p.window->channelButton(12)->click();
    EXPECT_EQ(p.window->view()->seriesCount(), 0);
    p.window->wheelBox(1)->click();
    EXPECT_EQ(p.window->view()->seriesCount(), 2);
    p.window->lapBox(0)->click();
    EXPECT_EQ(p.window->view()->seriesCount(), 1);
    EXPECT_EQ(p.seriesColour(0), QColor(0, 0, 255));
}

TEST(GraphWindow, TimeDifferenceAddsTwoSeriesTheInfoAndFollowsTheMouse) {
    OpenGraph p;
    p.window->showMap();
    p.window->timeDifferenceBox()->click();
    EXPECT_EQ(p.window->view()->seriesCount(), 4);
    EXPECT_EQ(p.seriesColour(2), QColor(0, 0, 0));
    ASSERT_TRUE(p.window->infoWindow()->isVisible());
    EXPECT_TRUE(p.window->infoWindow()->header().endsWith(QStringLiteral(" is:")));

    QWidget* plot = p.window->view()->plot();
    const QPointF at = p.window->view()->toPixel({1500, 200});
    QMouseEvent move(QEvent::MouseMove, at, plot->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(plot, &move);
    guitest::settle();
    EXPECT_TRUE(p.window->view()->lastToolText().contains(QStringLiteral(", timediff=")));
    EXPECT_FALSE(p.window->infoWindow()->value(4).isEmpty());
    const movrane::Track& track = *p.app->document().track();
    EXPECT_GE(track.highlightLast(), track.highlightFirst());

    p.window->close();
    p.window->documentChanged();
    EXPECT_FALSE(p.window->infoWindow()->isVisible()) << "no info while its graph is closed";
    p.window->present();
    EXPECT_TRUE(p.window->infoWindow()->isVisible());

    p.window->timeDifferenceBox()->click();
    EXPECT_EQ(p.window->view()->seriesCount(), 2);
    EXPECT_FALSE(p.window->infoWindow()->isVisible());
}

TEST(GraphWindow, ZoomFitAndUndo) {
    OpenGraph p;
    auto* view = p.window->view();
    for (const char* text : {"Mouse coordinates", "Axis", "Zoom tool", "Apply zoom", "Fit width", "Fit height",
                             "Fit page", "Undo"})
        EXPECT_NE(view->menuAction(QString::fromLatin1(text)), nullptr) << text;
    const movrane::AxisRange whole = p.window->graph().visibleRange();
    view->setPendingZoom({1000, 500}, {50, 250});
    view->applyZoom();
    EXPECT_EQ(p.window->graph().visibleRange(), (movrane::AxisRange{500, 1000}));
    view->fitHeight();
    view->undo();
    view->undo();
    EXPECT_EQ(p.window->graph().visibleRange(), whole);
    view->panBy(100, 0);
    EXPECT_EQ(p.window->graph().visibleRange().low, whole.low + 100);
}

TEST(GraphWindow, PrintsThePrimaryAndThreeSecondaryGraphs) {
    OpenGraph p;
    p.dialogs.expect([](QDialog& dialog) {
        auto& select = dynamic_cast<movrane::gui::SelectGraphsToPrintDialog&>(dialog);
        for (int channel : {3, 5, 9, 12}) select.box(channel)->click();
        EXPECT_FALSE(select.box(12)->isChecked());  // a fourth is refused
        return QDialog::Rejected;
    });
    p.window->print();
    EXPECT_TRUE(p.dialogs.allUsed());

    testsupport::TempDir out;
    const QString path = QString::fromStdString(out.file("graph.pdf"));
    {
        QPdfWriter pdf(path);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setResolution(96);
        ASSERT_TRUE(p.window->printTo(pdf, {3, 5, 9}));
    }
    const std::string bytes = testsupport::readFileText(out.file("graph.pdf"));
    EXPECT_EQ(bytes.rfind("%PDF", 0), 0u);
    EXPECT_GT(bytes.size(), 20000u);
    if (const char* keep = std::getenv("MOVRANE_KEEP_GRAPH_PDF")) std::filesystem::copy_file(
        out.file("graph.pdf"), keep, std::filesystem::copy_options::overwrite_existing);
}

}  // namespace
