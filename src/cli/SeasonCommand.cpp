// movrane-cli season list|move|remove|add|export: the Track Organizer on the command line.
#include <charconv>
#include <cstdio>

#include "cli/ArgParsing.h"
#include "cli/Commands.h"
#include "cli/OrvOption.h"
#include "core/library/TrackOrganiser.h"
#include "core/platform/SilentUi.h"

namespace cli {

void printSeasonUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli season list [--orv DIR]\n"
                 "       movrane-cli season move EVENT POSITION [--orv DIR]\n"
                 "       movrane-cli season remove EVENT [--orv DIR]\n"
                 "       movrane-cli season add --name LONG --short SHORT --dir TRACKDIR [--laps N]\n"
                 "                              [--month M] [--day D] [--grid GRID] [--orv DIR]\n"
                 "       movrane-cli season export [--orv DIR]\n"
                 "  list prints the events of seasons/67season.ini (number, then the Track Organizer's\n"
                 "  columns, tab-separated); move, remove and add change the event list and save it,\n"
                 "  export saves it unchanged; saving renumbers the events, removes the sections of\n"
                 "  events no longer listed and keeps the previous file as seasons/67season.old\n"
                 "  EVENT and POSITION count from 1\n"
                 "  exit status: 0 success, 1 usage error, 2 no usable installation, 3 not saved\n");
}

namespace {

// Answers the organiser's questions with Yes: the command line already said what to do.
class AgreeingUi : public movrane::SilentUi {
public:
    AgreeingUi() : SilentUi(stderr) {}
    bool askYesNo(const std::string&, const std::string&) override { return true; }
};

class GivenEvent : public movrane::EditTrackProp {
public:
    explicit GivenEvent(movrane::SeasonEvent event) : event_(std::move(event)) {}
    std::optional<movrane::SeasonEvent> edit(const movrane::SeasonEvent&) override { return event_; }

private:
    movrane::SeasonEvent event_;
};

bool eventNumber(const std::string& text, int count, int& index) {
    int n = 0;
    if (std::from_chars(text.data(), text.data() + text.size(), n).ptr != text.data() + text.size() || n < 1 ||
        n > count)
        return false;
    index = n - 1;
    return true;
}

void list(const movrane::TrackOrganiser& organiser) {
    std::printf("%s %d\n", movrane::TrackOrganiser::COUNTER_LABEL, organiser.count());
    std::printf("#");
    for (const char* header : movrane::TrackOrganiser::COLUMN_HEADERS) std::printf("\t%s", header);
    std::printf("\n");
    for (int i = 0; i < organiser.count(); ++i) {
        std::printf("%d", i + 1);
        for (const std::string& field : organiser.rows()[static_cast<std::size_t>(i)].fields)
            std::printf("\t%s", field.c_str());
        std::printf("\n");
    }
}

std::optional<movrane::SeasonEvent> eventFromOptions(Args& args) {
    using movrane::SeasonEvent;
    const std::pair<const char*, SeasonEvent::Field> options[] = {
        {"--name", SeasonEvent::LONG_NAME}, {"--short", SeasonEvent::SHORT_NAME}, {"--dir", SeasonEvent::TRACK_DIR},
        {"--laps", SeasonEvent::LAPS},      {"--month", SeasonEvent::MONTH},      {"--day", SeasonEvent::DAY},
        {"--grid", SeasonEvent::GRID}};
    SeasonEvent event;
    for (const auto& [option, field] : options) {
        std::optional<std::string> value;
        if (!takeValue(args, option, value)) return std::nullopt;
        if (value) event.fields[field] = *value;
    }
    if (event.fields[SeasonEvent::TRACK_DIR].empty()) return std::nullopt;
    return event;
}

}  // namespace

int runSeason(const Args& arguments) {
    Args args = arguments;
    std::string orv;
    if (!takeOrvOption(args, orv) || args.empty()) {
        printSeasonUsage(stderr);
        return EXIT_USAGE;
    }
    const std::string action = args[0];
    args.erase(args.begin());
    std::optional<movrane::SeasonEvent> added;
    if (action == "add") added = eventFromOptions(args);
    const std::size_t operands = action == "move" ? 2 : action == "remove" ? 1 : 0;
    const bool known = action == "list" || action == "move" || action == "remove" || action == "export" ||
                       (action == "add" && added);
    if (!known || args.size() != operands || hasOption(args)) {
        printSeasonUsage(stderr);
        return EXIT_USAGE;
    }
    const auto installation = chooseInstallation(orv);
    if (!installation) return EXIT_UNREADABLE;
    AgreeingUi ui;
    movrane::TrackOrganiser organiser(installation->directory(), ui);
    if (action == "list") {
        list(organiser);
        return EXIT_OK;
    }
    int event = 0;
    int position = 0;
    if (action == "move") {
        if (!eventNumber(args[0], organiser.count(), event) || !eventNumber(args[1], organiser.count(), position)) {
            printSeasonUsage(stderr);
            return EXIT_USAGE;
        }
        organiser.move({event}, position > event ? position + 1 : position);
    } else if (action == "remove") {
        if (!eventNumber(args[0], organiser.count(), event)) {
            printSeasonUsage(stderr);
            return EXIT_USAGE;
        }
        organiser.remove({event});
    } else if (action == "add") {
        GivenEvent given(*added);
        organiser.add(given);
    }
    return organiser.exportSeason() ? EXIT_OK : EXIT_WRITE_FAILED;
}

}  // namespace cli
