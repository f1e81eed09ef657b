#pragma once

#include <array>
#include <string>

namespace movrane {

class CZodEvadiDoc;
class GetRpyInfo;

// The four ratings of one lap, each a fraction (shown as a percentage).
struct LapRatings {
    double aggressiveness = 0;
    double smoothness = 0;
    double usage = 0;
    double overall = 0;
};

// Condenses a lap's acceleration samples into its ratings.
LapRatings rateLap(const GetRpyInfo& lap);

// "Ratings - Traction Circle Statistics": one row per lap slot, the clipboard table and
// the information text shown over it on request.
class Ratings {
public:
    static constexpr int SLOTS = 5;
    static constexpr int COLUMNS = 5;
    using Row = std::array<std::string, COLUMNS>;

    // Rates every loaded lap of the document.
    explicit Ratings(const CZodEvadiDoc& doc);

    static const Row& header();
    // The cells of a lap slot's row; all empty for an empty slot.
    const Row& row(int slot) const { return rows_.at(slot); }
    // The header and the five rows, cells separated by tabs, each line ended by "\r\n".
    std::string clipboardText() const;

    bool informationShown() const { return informationShown_; }
    // "Toggle Ratings/Information".
    void toggleInformation() { informationShown_ = !informationShown_; }
    static const char* informationText();

private:
    std::array<Row, SLOTS> rows_{};
    bool informationShown_ = false;
};

// "87.35": a rating as a percentage with two decimals.
std::string percentText(double fraction);

}  // namespace movrane
