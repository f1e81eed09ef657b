#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace movrane {

class GetRpyInfo;

// The settings of the groove export window, with its defaults.
struct GrooveSettings {
    static constexpr int RESOLUTION_COUNT = 20;  // "0.1" .. "2.0"
    int resolutionIndex = 4;                     // "0.5"
    bool newWay = true;                          // total acceleration (new) or acceleration and roll (old)
    int accelerationFactor = 100;                // per cent, old way only
    int rollFactor = 100;                        // per cent, old way only
    std::string widthText = "3.0";               // written into the file as typed

    static std::vector<std::string> resolutionTexts();
    double resolution() const { return (resolutionIndex + 1) / 10.0; }
    // The text of a factor field as a number 0..999; false when it is none.
    static bool parseFactor(const std::string& text, int& factor);
    // A width the file's readers can read: digits with at most one decimal point and a
    // digit on each side of it ("3", "3.0", "0.75"), at most WIDTH_LENGTH characters.
    static constexpr std::size_t WIDTH_LENGTH = 8;
    static bool validWidth(const std::string& text);
};

// One darkness value per sample (index 0 .. n + 1) of a trimmed lap with derived quantities.
std::vector<double> grooveDarkness(const GetRpyInfo& lap, const GrooveSettings& settings);

// The whole groove file: "60sections,<lines>entries\n" and one line every resolution metres.
std::string grooveText(const GetRpyInfo& lap, double lapLength, const GrooveSettings& settings);

// A chosen file name with ".grv" appended when it does not end so.
std::string grooveFileName(const std::string& chosen);

// Writes the groove text; false when the file cannot be created.
bool writeGrooveFile(const std::string& path, const std::string& text);

}  // namespace movrane
