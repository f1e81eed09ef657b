#include <gtest/gtest.h>

#include "core/app/Playback.h"
#include "core/replay/GetRpyInfo.h"
#include "core/reports/ReportReplayChoice.h"
#include "support/SampleLaps.h"

using namespace movrane;

namespace {

class RecordingDisplay : public PlaybackDisplay {
public:
    bool clock = false;
    int redraws = 0;
    int centred = 0;
    int followed = 0;
    std::optional<bool> raceBar;
    void startClock() override { clock = true; }
    void stopClock() override { clock = false; }
    void centreOn(double, double) override { ++centred; }
    void keepInView(double, double) override { ++followed; }
    void redraw() override { ++redraws; }
    void showRaceBar(bool shown) override { raceBar = shown; }
};

// A lap of n samples whose sample i stands i metres along the lap at 100 km/h.
std::unique_ptr<GetRpyInfo> straightLap(int n) {
    std::vector<LapSample> samples(static_cast<std::size_t>(n) + 1);
    for (int i = 1; i <= n; ++i) {
        LapSample& s = samples[static_cast<std::size_t>(i)];
        s.distance = i;
        s.speed = 100.4;
        s.engineSpeed = 7449.9;
        s.gear = static_cast<int16_t>(i % 3 - 1);
    }
    auto lap = std::make_unique<GetRpyInfo>(GetRpyInfo::fromSamples(std::move(samples)));
    lap->splitTimes = {100, 0, 400};
    return lap;
}

class PlaybackTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { laps_ = new testsupport::SampleLaps; }
    static void TearDownTestSuite() { delete laps_; }
    void SetUp() override {
        laps_->ui.messages.clear();
        for (int slot = 0; slot < 2; ++slot) laps_->doc.slot(slot).shown = true;
    }

    static testsupport::SampleLaps* laps_;
    CZodEvadiDoc& doc = laps_->doc;
    LapBar lapBar{laps_->doc};
    RaceReplay race;
    testsupport::ScriptedFileChooser chooser;
    RecordingDisplay display;
    Playback playback{laps_->doc, lapBar, race, laps_->ui, chooser, display};

    std::vector<std::string> messages() const { return laps_->ui.messageTexts(); }
};

testsupport::SampleLaps* PlaybackTest::laps_ = nullptr;

}  // namespace

TEST(PlaybackReadouts, HeadingIconsGearsSpeedAndRevs) {
    const std::pair<int, int> icons[] = {{2048, 12}, {-2048, 12}, {1024, 0}, {0, 4}, {-128, 4}, {1280, 15},
                                         {129, 3}, {2176, 12}, {2177, -1}, {-2200, -1}};
    for (const auto& [heading, icon] : icons) EXPECT_EQ(headingIcon(heading), icon) << heading;
    EXPECT_EQ(gearText(-1), "R");
    EXPECT_EQ(gearText(0), "N");
    EXPECT_EQ(gearText(6), "6");
    EXPECT_EQ(speedReadout(100.9, true), 62);
    EXPECT_EQ(speedReadout(100.9, false), 100);
    EXPECT_EQ(rpmReadout(7449.9), 74);
    EXPECT_EQ(rpmReadout(7450.0), 75);
    EXPECT_EQ(samplesElapsedText(36 * 65 + 35), "1:05");
    // Without laps or a track nothing plays.
    testsupport::ScriptedUi ui;
    testsupport::NoLapChooser lapChooser;
    CZodEvadiDoc doc(ui, lapChooser);
    LapBar lapBar(doc);
    RaceReplay race;
    testsupport::ScriptedFileChooser chooser;
    RecordingDisplay display;
    Playback playback(doc, lapBar, race, ui, chooser, display);
    playback.startContinue();
    playback.toggleRaceMode();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "Realtime plotting of driving lines not available without trackmap!");
    EXPECT_EQ(ui.messages[1].text, "No replay lap loaded!");
    EXPECT_FALSE(display.clock);
}

TEST_F(PlaybackTest, GuardsOfStartAndRaceMode) {
    doc.slot(0).shown = doc.slot(1).shown = false;
    playback.startContinue();
    EXPECT_FALSE(playback.running());
    EXPECT_EQ(messages(), std::vector<std::string>{"Choose lap(s) to play!"});

    // Two replays: the person picks one; the hot lap's replay holds no race.
    chooser.answer = 0;
    playback.toggleRaceMode();
    EXPECT_EQ(chooser.titles, std::vector<std::string>{"Feature only based on one file - choose which to use"});
    EXPECT_EQ(messages().back(), "This replay file does not contain race info!");
    EXPECT_FALSE(playback.raceMode());
    chooser.answer.reset();
    playback.toggleRaceMode();
    EXPECT_FALSE(playback.raceMode());
    EXPECT_EQ(messages().size(), 2u);
    // A race that cannot be read leaves the race bar empty.
    const LapSlot& hotLap = doc.slot(0);
    EXPECT_FALSE(race.load(hotLap.replayPath, *hotLap.header, *hotLap.drivers, laps_->ui));
    EXPECT_TRUE(race.driverList().empty());
    EXPECT_FALSE(race.failureText().empty());
}

TEST_F(PlaybackTest, DrivingLinesTicksUntilTheLongestLapEnds) {
    auto keep0 = std::move(doc.slot(0).lap);
    auto keep1 = std::move(doc.slot(1).lap);
    doc.slot(0).lap = straightLap(10);
    doc.slot(1).lap = straightLap(20);

    playback.startContinue();
    EXPECT_TRUE(display.clock);
    EXPECT_EQ(display.centred, 1);
    EXPECT_TRUE(lapBar.playing());
    EXPECT_FALSE(playback.toggleLapEnabled(0));
    playback.tick();
    EXPECT_EQ(playback.position(), 2);
    EXPECT_EQ(lapBar.readout(0).speed, "100");
    EXPECT_EQ(lapBar.readout(0).rpm, "74");
    EXPECT_EQ(lapBar.readout(0).gear, "1");
    EXPECT_FALSE(lapBar.splitMarkerShown(0, 0));
    playback.fastForward();
    for (int i = 0; i < 2; ++i) playback.tick();
    EXPECT_EQ(playback.position(), 10);
    // The 10-sample lap stopped at sample 6 (its last below n - 1); its split at 100 ms is
    // passed, the one of 0 never is.
    EXPECT_EQ(lapBar.readout(0).gear, "R");
    EXPECT_TRUE(lapBar.splitMarkerShown(0, 0));
    EXPECT_FALSE(lapBar.splitMarkerShown(0, 1));
    EXPECT_EQ(lapBar.readout(1).gear, "N");
    playback.startContinue();  // running: clears fast forward
    EXPECT_FALSE(playback.fastForwarding());
    for (int i = 0; i < 4; ++i) playback.tick();
    EXPECT_EQ(playback.position(), 18);
    EXPECT_TRUE(display.clock);
    playback.tick();  // position 20: no lap has a sample left
    EXPECT_FALSE(display.clock);
    EXPECT_EQ(playback.position(), 0);
    EXPECT_FALSE(lapBar.playing());
    EXPECT_TRUE(lapBar.splitMarkerShown(0, 1));

    doc.slot(0).lap = std::move(keep0);
    doc.slot(1).lap = std::move(keep1);
}

TEST_F(PlaybackTest, PauseStopAndBeginningInDrivingLines) {
    playback.startContinue();
    for (int i = 0; i < 3; ++i) playback.tick();
    playback.pause();
    EXPECT_TRUE(playback.paused());
    EXPECT_FALSE(display.clock);
    EXPECT_EQ(playback.position(), 6);
    EXPECT_FALSE(playback.toggleLapEnabled(1));
    playback.fastReverse();  // ignored in driving-lines mode
    EXPECT_FALSE(display.clock);
    playback.startContinue();
    EXPECT_EQ(display.centred, 1);  // continuing from a pause keeps the map where it is
    playback.beginningOfLap();
    EXPECT_EQ(playback.position(), 0);
    playback.moveToEndOfLap();
    EXPECT_FALSE(display.clock);
    // Stopped at the place, not paused: the lap bar keeps playing, the menu toggles laps.
    EXPECT_TRUE(lapBar.playing());
    EXPECT_FALSE(lapBar.box(1).enabled);
    EXPECT_TRUE(playback.toggleLap(1));
    EXPECT_FALSE(doc.slot(1).shown);
    EXPECT_TRUE(playback.toggleLap(1));
    playback.stop();
    EXPECT_FALSE(lapBar.playing());
    EXPECT_TRUE(playback.toggleLapEnabled(1));
}

TEST_F(PlaybackTest, RaceModeTicksAndClamps) {
    chooser.answer = 1;
    playback.toggleRaceMode();
    ASSERT_TRUE(playback.raceMode()) << (messages().empty() ? "" : messages().back());
    ASSERT_TRUE(race.loaded()) << race.failureText();
    EXPECT_EQ(display.raceBar, true);
    EXPECT_FALSE(playback.toggleLapEnabled(0));
    playback.startContinue();
    playback.tick();
    EXPECT_EQ(playback.position(), 2);
    playback.fastForward();
    playback.tick();
    EXPECT_EQ(playback.position(), 6);
    playback.fastReverse();
    EXPECT_FALSE(playback.fastForwarding());
    for (int i = 0; i < 3; ++i) playback.tick();
    EXPECT_EQ(playback.position(), 0);
    playback.pause();
    EXPECT_FALSE(playback.fastReversing());
    const int last = static_cast<int>(race.frameCount()) - 1;
    playback.moveToFrame(last - 1);
    playback.fastForward();
    playback.tick();
    EXPECT_EQ(playback.position(), last);
    playback.stop();
    EXPECT_EQ(playback.position(), last);  // the race keeps its frame
    playback.toggleRaceMode();
    EXPECT_FALSE(playback.raceMode());
    EXPECT_EQ(display.raceBar, false);
}

TEST(PlaybackRace, EndsWhenTheTrackGoesWithTheLaps) {
    testsupport::SampleLaps laps;
    LapBar lapBar(laps.doc);
    RaceReplay race;
    testsupport::ScriptedFileChooser chooser;
    chooser.answer = 1;
    RecordingDisplay display;
    Playback playback(laps.doc, lapBar, race, laps.ui, chooser, display);
    playback.toggleRaceMode();
    playback.startContinue();
    ASSERT_TRUE(playback.raceMode());
    laps.doc.removeLap(0);
    EXPECT_FALSE(playback.documentChanged()) << "the other lap keeps the track";
    EXPECT_TRUE(playback.raceMode());
    laps.doc.clear();
    EXPECT_TRUE(playback.documentChanged());
    EXPECT_FALSE(playback.raceMode());
    EXPECT_FALSE(display.clock);
    EXPECT_EQ(display.raceBar, false);
    EXPECT_FALSE(race.loaded());
}
