#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/replay/ReplayLayout.h"

namespace movrane {

class Drivers;
class Header;

// The lap chooser's behaviour: the replay's information, the tree of drivers and laps,
// the labels of the selection and what OK does. The dialog only shows it.
class Chooselap {
public:
    struct Information {
        std::string fileName;  // of the replay, so that replays with the same laps can be told apart
        std::string trackName;
        std::string carSetName;
        std::string recordedLength;  // "16m 10s"
        std::string release;         // "<1.2" or ">=1.2"
        std::string practiceLaps;    // "Yes" / "No"
        std::string raceLaps;
        std::string difficulty;
        std::string sessionType;
        std::string drivers;
        std::string count156;
        std::string scheduledLaps;
        std::string sessionKind;
    };
    struct LapNode {
        int lap = 0;
        std::string text;
        bool bold = false;  // the lap's data is in the file
    };
    struct SessionNode {
        Session session = PRACTICE;
        std::string text;  // "Practice Laps" / "Race Laps"
        std::vector<LapNode> laps;
    };
    struct DriverNode {
        uint32_t driver = 0;
        std::string text;
        std::vector<SessionNode> sessions;
    };
    struct Selection {
        uint32_t driver = 0;
        Session session = PRACTICE;
        int lap = 0;
    };
    // What pressing OK does: close with the selection, or show a message and stay open.
    struct Verdict {
        bool accepted = false;
        std::string message;
        std::string caption;
    };

    static constexpr int ALIEN_SOUND = 236;

    Chooselap(const Header& header, const Drivers& drivers);

    const Information& information() const { return information_; }
    const std::vector<DriverNode>& tree() const { return tree_; }

    void selectDriver(uint32_t driver);
    void selectLap(uint32_t driver, Session session, int lap);
    void clearSelection();
    const std::optional<Selection>& selectedLap() const { return lap_; }

    // "AI-car" or "Human" for the selected driver (empty when none is selected).
    std::string driverKindLabel() const;
    // The selected driver is the alien: the dialog shows "Alien" and plays ALIEN_SOUND.
    bool alienSelected() const;
    // "Practice Laps" / "Race Laps" for the selected lap, empty when none is selected.
    std::string sessionLabel() const;
    // The flags of the selected lap: "Off track", "Invalid", "Unknown", or "None reported";
    // "None selected" when no lap is selected.
    std::vector<std::string> flagTexts() const;

    Verdict ok() const;

    static constexpr const char* QUALITY_TITLE = "Quality report";
    // The quality report of the selected lap, read from the replay; the reader's message
    // when the lap cannot be read; nothing when no lap is selected.
    std::optional<std::string> qualityReport() const;

    // The text of a lap node: "Lap 3: 1m 23.456s [64]".
    static std::string lapNodeText(int lap, uint32_t word);
    // The flag byte written in a lap node's text, 0 when it has no brackets.
    static uint32_t flagByteOfNodeText(const std::string& text);

private:
    const LapNode* selectedNode() const;

    const Drivers& drivers_;
    Information information_;
    std::vector<DriverNode> tree_;
    std::optional<uint32_t> driver_;
    std::optional<Selection> lap_;
};

}  // namespace movrane
