// movrane-cli rank, handicap and upload: the ranking calculators and the lap-time upload.
#include <cstdio>

#include "cli/ArgParsing.h"
#include "cli/Commands.h"
#include "cli/OrvOption.h"
#include "cli/Output.h"
#include "core/platform/SilentUi.h"
#include "core/ranking/OrvRankUpload.h"
#include "core/ranking/RankCalculator.h"

namespace cli {

namespace {

constexpr int EXIT_NOT_UPLOADED = 4;

// PLAYER_INDEX [--orv DIR] and the command's own options already taken out.
bool takePlayer(Args& args, std::string& orv, int& index) {
    return takeOrvOption(args, orv) && args.size() == 1 && parseIndex(args[0], index);
}

// Runs the exchange without a window and keeps what the window would show.
class TerminalUploadRunner : public movrane::UploadProgressRunner {
public:
    void run(movrane::OrvRankUploadProgress& progress) override {
        progress.run();
        transcript = progress.transcript();
        if (progress.replyAvailable()) reply = progress.reply();
    }
    std::string transcript;
    std::optional<std::string> reply;
};

}  // namespace

void printRankUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli rank PLAYER_INDEX [--orv DIR] [--with-replays]\n"
                 "  prints the OrvRank Calculator's fields for the player's collected personal bests:\n"
                 "  per group one line 'group<TAB>column<TAB>text' for Overall and each make, then\n"
                 "  'group<TAB>total<TAB>text'; --with-replays also looks for better times in replays\n"
                 "  PLAYER_INDEX counts from 0 in the list of 'movrane-cli players' (entry number - 1)\n"
                 "  exit status: 0 success, 1 usage error, 2 no usable installation or player\n");
}

int runRank(const Args& arguments) {
    Args args = arguments;
    std::string orv;
    int index = -1;
    movrane::CollectOptions options;
    options.scanReplays = takeFlag(args, "--with-replays");
    if (!takePlayer(args, orv, index)) {
        printRankUsage(stderr);
        return EXIT_USAGE;
    }
    movrane::SilentUi ui(stderr);
    const auto table = collectPlayerBests(orv, index, options, ui);
    if (!table) return EXIT_UNREADABLE;
    const movrane::NewOrvRankCalculator calculator(*table);
    for (const auto& group : calculator.groups()) {
        for (int column = 0; column < movrane::RANK_COLUMNS; ++column)
            std::printf("%s\t%s\t%s\n", group.title, movrane::RANK_COLUMN_NAMES[column], group.fields[column].c_str());
        std::printf("%s\ttotal\t%s\n", group.title, group.total.c_str());
    }
    return EXIT_OK;
}

void printHandicapUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli handicap PLAYER_INDEX [--orv DIR]\n"
                 "  prints the OrvRank Handicap calculator's values from the player's player.ini:\n"
                 "  'column<TAB>text' for Overall and each make, then 'Monsters of Orv:<TAB>text'\n"
                 "  exit status: 0 success, 1 usage error, 2 no usable installation or player\n");
}

int runHandicap(const Args& arguments) {
    Args args = arguments;
    std::string orv;
    int index = -1;
    if (!takePlayer(args, orv, index)) {
        printHandicapUsage(stderr);
        return EXIT_USAGE;
    }
    const auto installation = chooseInstallation(orv);
    if (!installation) return EXIT_UNREADABLE;
    movrane::SilentUi ui(stderr);
    movrane::OrvRank calculator(*installation, ui);
    if (!calculator.calculate(index)) return EXIT_UNREADABLE;
    for (int column = 0; column < movrane::RANK_COLUMNS; ++column)
        std::printf("%s\t%s\n", movrane::RANK_COLUMN_NAMES[column], calculator.fields()[column].c_str());
    std::printf("%s\t%s\n", movrane::OrvRank::TOTAL_LABEL, calculator.total().c_str());
    return EXIT_OK;
}

void printUploadUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli upload PLAYER_INDEX [--orv DIR] --host HOST[:PORT] --user NAME\n"
                 "                          --password PASSWORD [--timeout SECONDS] [--reply FILE]\n"
                 "  collects the player's personal bests as 'records' does and uploads them to\n"
                 "  http://HOST[:PORT]/php-reg/user.php?submitTimes; prints the transcript on\n"
                 "  standard output and the final message on standard error; --timeout (default 30)\n"
                 "  bounds connecting and each wait for the reply; --reply writes the reply's bytes\n"
                 "  (no file when none arrived; '-' is standard output)\n"
                 "  exit status: 0 uploaded, 1 usage error, 2 no usable installation or player,\n"
                 "  3 the upload file or the reply file was not written, 4 not uploaded\n");
}

int runUpload(const Args& arguments) {
    Args args = arguments;
    std::string orv;
    std::optional<std::string> host, user, password, timeout, replyFile;
    int index = -1;
    int seconds = 30;
    const bool parsed = takeValue(args, "--host", host) && takeValue(args, "--user", user) &&
                        takeValue(args, "--password", password) && takeValue(args, "--timeout", timeout) &&
                        takeValue(args, "--reply", replyFile) && host && !host->empty() && user && password &&
                        (!timeout || (parseIndex(*timeout, seconds) && seconds > 0)) &&
                        takePlayer(args, orv, index);
    if (!parsed) {
        printUploadUsage(stderr);
        return EXIT_USAGE;
    }
    movrane::SilentUi ui(stderr);
    const auto table = collectPlayerBests(orv, index, {}, ui);
    if (!table) return EXIT_UNREADABLE;
    TerminalUploadRunner runner;
    const auto judgement = movrane::uploadLapTimes(*table, *host, *user, *password, ui, runner, seconds);
    std::fwrite(runner.transcript.data(), 1, runner.transcript.size(), stdout);
    std::fflush(stdout);
    if (!judgement) return EXIT_WRITE_FAILED;
    if (replyFile && runner.reply && writeOutput(*replyFile, *runner.reply) != EXIT_OK) return EXIT_WRITE_FAILED;
    return *judgement == movrane::OrvRankUploadProgress::Judgement::Uploaded ? EXIT_OK : EXIT_NOT_UPLOADED;
}

}  // namespace cli
