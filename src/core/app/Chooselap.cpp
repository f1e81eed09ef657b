#include "core/app/Chooselap.h"

#include <cstdio>
#include <cstdlib>

#include "core/app/LapQuality.h"
#include "core/platform/Paths.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/Header.h"
#include "core/replay/LapTimeText.h"

namespace movrane {

namespace {

constexpr uint32_t FLAG_OFF_TRACK = 64;
constexpr uint32_t FLAG_INVALID = 16;
constexpr uint32_t FLAGS_UNKNOWN = 175;
constexpr char ALIEN_NAME[] = "Tavoniak";

std::string yesNo(bool value) { return value ? "Yes" : "No"; }

std::string recordedLengthText(uint32_t frames) {
    char text[32];
    std::snprintf(text, sizeof text, "%um %02us", frames / 2160, (frames / 36) % 60);
    return text;
}

}  // namespace

Chooselap::Chooselap(const Header& header, const Drivers& drivers) : drivers_(drivers) {
    information_.fileName = afterLastSeparator(drivers.fileName());
    information_.trackName = header.trackName();
    information_.carSetName = header.carSetName();
    information_.recordedLength = recordedLengthText(header.recordedFrames());
    information_.release = header.versionText();
    information_.practiceLaps = yesNo(drivers.practicePresent());
    information_.raceLaps = yesNo(drivers.racePresent());
    information_.difficulty = header.difficultyName();
    information_.sessionType = header.sessionTypeName();
    information_.drivers = std::to_string(drivers.count());
    information_.count156 = std::to_string(header.count156());
    information_.scheduledLaps = std::to_string(header.scheduledLaps());
    information_.sessionKind = std::to_string(header.sessionKind());

    for (uint32_t i = 0; i < drivers.count(); ++i) {
        const DriverRecord& record = drivers.driver(i);
        DriverNode node{i, record.name1 + " " + record.name2, {}};
        for (Session s : {PRACTICE, RACE}) {
            const bool tablePresent = s == PRACTICE ? drivers.practicePresent() : drivers.racePresent();
            const int laps = drivers.lapCount(i, s);
            if (!tablePresent || laps == 0) continue;
            SessionNode sessionNode{s, s == PRACTICE ? "Practice Laps" : "Race Laps", {}};
            for (int k = 0; k <= laps; ++k) {
                sessionNode.laps.push_back({k, lapNodeText(k, drivers.lapWord(i, s, k)), drivers.lapValid(i, s, k)});
            }
            node.sessions.push_back(std::move(sessionNode));
        }
        tree_.push_back(std::move(node));
    }
}

std::string Chooselap::lapNodeText(int lap, uint32_t word) {
    std::string text = lap == 0 ? "Time before start/finish" : "Lap " + std::to_string(lap);
    text += ": ";
    if (word == EMPTY_BASE_WORD) return text + "No time";
    text += lapTimeText(word & LAP_TIME_MASK);
    const uint32_t flags = word >> 24;
    if (flags != 0) text += " [" + std::to_string(flags) + "]";
    return text;
}

uint32_t Chooselap::flagByteOfNodeText(const std::string& text) {
    const auto open = text.rfind(" [");
    if (open == std::string::npos || text.back() != ']') return 0;
    return static_cast<uint32_t>(std::strtoul(text.c_str() + open + 2, nullptr, 10));
}

void Chooselap::selectDriver(uint32_t driver) {
    driver_ = driver < drivers_.count() ? std::optional<uint32_t>(driver) : std::nullopt;
    lap_.reset();
}

void Chooselap::selectLap(uint32_t driver, Session session, int lap) {
    selectDriver(driver);
    if (!driver_) return;
    lap_ = Selection{driver, session, lap};
    if (!selectedNode()) lap_.reset();
}

std::optional<std::string> Chooselap::qualityReport() const {
    if (!lap_) return std::nullopt;
    GetRpyInfo lap;
    if (lap.load(drivers_, lap_->driver, lap_->lap, lap_->session) != GetRpyInfo::OK) return GetRpyInfo::errorMessage();
    return qualityReportText(qualityCounts(lap));
}

void Chooselap::clearSelection() {
    driver_.reset();
    lap_.reset();
}

const Chooselap::LapNode* Chooselap::selectedNode() const {
    if (!lap_) return nullptr;
    for (const SessionNode& s : tree_[lap_->driver].sessions) {
        if (s.session != lap_->session) continue;
        for (const LapNode& l : s.laps)
            if (l.lap == lap_->lap) return &l;
    }
    return nullptr;
}

std::string Chooselap::driverKindLabel() const {
    if (!driver_) return {};
    return drivers_.driver(*driver_).ai ? "AI-car" : "Human";
}

bool Chooselap::alienSelected() const {
    if (!driver_) return false;
    const DriverRecord& d = drivers_.driver(*driver_);
    return d.name1 == ALIEN_NAME || d.name2 == ALIEN_NAME || d.name1 + " " + d.name2 == ALIEN_NAME;
}

std::string Chooselap::sessionLabel() const {
    if (!lap_) return {};
    return lap_->session == PRACTICE ? "Practice Laps" : "Race Laps";
}

std::vector<std::string> Chooselap::flagTexts() const {
    const LapNode* node = selectedNode();
    if (!node) return {"None selected"};
    const uint32_t flags = flagByteOfNodeText(node->text);
    std::vector<std::string> texts;
    if (flags & FLAG_OFF_TRACK) texts.push_back("Off track");
    if (flags & FLAG_INVALID) texts.push_back("Invalid");
    if (flags & FLAGS_UNKNOWN) texts.push_back("Unknown");
    if (texts.empty()) texts.push_back("None reported");
    return texts;
}

Chooselap::Verdict Chooselap::ok() const {
    const LapNode* node = selectedNode();
    if (!node) return {false, "Choose a lap to view!", "No lap choosen!"};
    if (!node->bold) {
        return {false, "Data for this lap is not stored in the replay file\nor lap isn't complete.", "Not a valid lap!"};
    }
    return {true, {}, {}};
}

}  // namespace movrane
