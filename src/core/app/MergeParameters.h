#pragma once

#include <optional>
#include <string>
#include <vector>

namespace movrane {

class CZodEvadiDoc;
class Ui;

// The merge parameters dialog: one row per loaded lap with its driver, its lap time and its
// time offset in milliseconds, proposed as the lap's time less the fastest loaded lap's.
class MergeParameters {
public:
    // The largest offset: one hour, which keeps a merged replay's clock and size sound.
    static constexpr double MAX_OFFSET_MS = 3600000;
    static constexpr const char* TITLE = "Merge parameters";
    static constexpr const char* TOO_LARGE_MESSAGE = "To large number!";

    struct Row {
        int slot = 0;
        std::string driver;   // the driver's two name fields
        std::string lapTime;  // lap time text
        std::string offset;   // as typed: digits, '.' and ','
    };

    explicit MergeParameters(const CZodEvadiDoc& doc);

    const std::vector<Row>& rows() const { return rows_; }
    // True when the text is one an offset field takes (digits, '.' and ',' only).
    static bool acceptableText(const std::string& text);
    // Sets a row's offset text; false, leaving it unchanged, when the field does not take it.
    bool setOffsetText(std::size_t row, const std::string& text);
    // The offsets in milliseconds, row by row ("," counts as a decimal point, an empty field
    // as 0); nothing after "To large number!" when one exceeds MAX_OFFSET_MS.
    std::optional<std::vector<double>> offsets(Ui& ui) const;

private:
    std::vector<Row> rows_;
};

// Shows the merge parameters dialog; false when the person cancelled it.
class MergeParametersEditor {
public:
    virtual ~MergeParametersEditor() = default;
    virtual bool edit(MergeParameters& parameters) = 0;
};

}  // namespace movrane
