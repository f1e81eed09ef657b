#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace movrane {

class CZodEvadiDoc;
class Ui;

// "Move/Remove loaded replay laps": the loaded laps as a list that can be reordered
// and thinned; OK gives the document the list's order.
class LoadedLapsArranger {
public:
    static constexpr const char* TITLE = "Move/Remove loaded replay laps";
    static const std::array<const char*, 6> COLUMN_HEADERS;

    struct Row {
        std::array<std::string, 6> columns;  // lap time, driver, session, team, replay file, class
        int formerSlot = 0;
    };

    LoadedLapsArranger(const CZodEvadiDoc& doc, Ui& ui);

    const std::vector<Row>& rows() const { return rows_; }
    // Each returns the row selected afterwards.
    std::optional<int> moveUp(std::optional<int> selected);
    std::optional<int> moveDown(std::optional<int> selected);
    std::optional<int> remove(std::optional<int> selected);
    // OK: reorders the document's laps and releases the removed ones.
    void apply(CZodEvadiDoc& doc) const;

private:
    bool guard(std::optional<int> selected, const char* message);

    Ui& ui_;
    std::vector<Row> rows_;
};

}  // namespace movrane
