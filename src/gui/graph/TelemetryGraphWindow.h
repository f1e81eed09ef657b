#pragma once

#include <QWidget>
#include <array>
#include <vector>

#include "core/analysis/TelemetryGraph.h"

class QCheckBox;
class QLabel;
class QPagedPaintDevice;
class QPushButton;

namespace movrane::gui {

class DialogHost;
class GraphView;
class TimeDifferenceInfoWindow;
class TrackmapWindow;

// "Telemetry Graph": the channel buttons, the lap and wheel boxes, "Time difference",
// "Map", "Print", "Close" and the hint line around the graph. Closing hides it.
class TelemetryGraphWindow : public QWidget {
    Q_OBJECT
public:
    TelemetryGraphWindow(CZodEvadiDoc& doc, Ui& ui, DialogHost& dialogs, QWidget* parent = nullptr);
    ~TelemetryGraphWindow() override;

    TelemetryGraph& graph() { return graph_; }
    GraphView* view() const { return view_; }
    TimeDifferenceInfoWindow* infoWindow() const { return info_; }
    TrackmapWindow* trackmapWindow() const { return trackmap_; }
    QPushButton* channelButton(int number) const { return channels_.at(static_cast<std::size_t>(number - 1)); }
    QCheckBox* lapBox(int slot) const { return laps_.at(static_cast<std::size_t>(slot)); }
    QCheckBox* wheelBox(int wheel) const { return wheels_.at(static_cast<std::size_t>(wheel)); }
    QCheckBox* timeDifferenceBox() const { return timeDifference_; }
    QPushButton* printButton() const { return print_; }

    // Shows the window over the loaded laps; the first time it opens on "Speed".
    void present();
    // After laps were loaded or removed.
    void documentChanged();
    // After Settings OK (the speed unit).
    void settingsChanged();
    // "Print": the graph choice, the printer dialog, the page.
    void print();
    // Paints the page with the shown graph and the secondary graphs of these channels.
    bool printTo(QPagedPaintDevice& device, const std::vector<int>& secondaries);
    void showMap();
    // "Export visible range as CSV": the ticked laps' samples within the shown x range.
    void exportVisibleRange();
    // Puts cursor A (0) or B (1) at a lap distance and refreshes the read-out.
    void setCursor(int which, double x);
    QString cursorReadout() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildChannelButtons();
    QWidget* buildControls();
    void refreshBoxes();
    void refreshTimeDifference();
    void refreshTrackmapLine();
    void chooseChannel(int number);

    CZodEvadiDoc& doc_;
    Ui& ui_;
    DialogHost& dialogs_;
    GraphView* view_;
    TelemetryGraph graph_;
    TimeDifferenceInfoWindow* info_;
    TrackmapWindow* trackmap_;
    std::array<QPushButton*, CHANNEL_COUNT> channels_{};
    std::array<QCheckBox*, CZodEvadiDoc::MAX_LAPS> laps_{};
    std::array<QCheckBox*, WHEEL_COUNT> wheels_{};
    QCheckBox* timeDifference_ = nullptr;
    QPushButton* print_ = nullptr;
    QLabel* readout_ = nullptr;
    bool opened_ = false;
};

}  // namespace movrane::gui
